// MFSK through the channel: text, tuning, clock and the receiver's estimates.
#include "MfskModulator.h"
#include "Reception.h"

#include <QTest>

using digimode::Sideband;

namespace {

const std::string kText = "cq test de UA1XYZ ua1xyz k 599 017, rr tu 5nn 73. The quick brown fox?\r";

struct Run {
    std::string text;
    double snrEstimate;
    double clockPpm;
    double carrier;
};

Run run(const std::string &text, double baud, Sideband sideband, double offsetHz, const fsktest::Channel &channel,
        int filter = 0)
{
    testsignal::MfskSettings tx;
    tx.baud = baud;
    tx.sideband = sideband;
    tx.carrier = 1500.0 + offsetHz;
    const auto samples = fsktest::through(testsignal::mfskSignal(text, tx), channel);
    auto rx = digimode::makeMfskDemodulator(sideband);
    rx->setSpeed(baud);
    rx->setCarrier(1500.0);
    rx->setAfc(true);
    rx->setFilter(filter);
    Run r;
    r.text = fsktest::receive(*rx, samples);
    r.snrEstimate = rx->signalToNoiseDb();
    r.clockPpm = rx->clockErrorPpm();
    r.carrier = rx->carrier();
    return r;
}

} // namespace

class MfskReceiveTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void afcPullsIn_data();
    void afcPullsIn();
    void measuresTheClock_data();
    void measuresTheClock();
    void estimatesSignalToNoise_data();
    void estimatesSignalToNoise();
    void noiseAlonePrintsNothing();
};

void MfskReceiveTest::roundTrip_data()
{
    QTest::addColumn<double>("baud");
    QTest::addColumn<Sideband>("sideband");
    QTest::addColumn<double>("snr");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("ppm");
    QTest::addColumn<int>("filter");
    QTest::addColumn<double>("maxCer");
    QTest::newRow("MFSK16 upper") << 15.625 << Sideband::Upper << 10.0 << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("MFSK16 lower") << 15.625 << Sideband::Lower << 10.0 << 0.0 << 0.0 << 0 << 0.0;
    QTest::newRow("MFSK8") << 7.8125 << Sideband::Upper << 0.0 << 3.0 << 0.0 << 0 << 0.0;
    QTest::newRow("MFSK32") << 31.25 << Sideband::Lower << 0.0 << -6.0 << 0.0 << 0 << 0.0;
    QTest::newRow("sender fast") << 15.625 << Sideband::Upper << 0.0 << 5.0 << -200.0 << 0 << 0.0;
    QTest::newRow("sender slow") << 15.625 << Sideband::Lower << 0.0 << -5.0 << 200.0 << 0 << 0.0;
    QTest::newRow("narrowest filter") << 15.625 << Sideband::Upper << 0.0 << 3.0 << 0.0 << 3 << 0.0;
    QTest::newRow("filter 1") << 15.625 << Sideband::Lower << 0.0 << 0.0 << 0.0 << 1 << 0.0;
    // Weak: S/N in 2500 Hz, a few errors allowed.
    QTest::newRow("MFSK16 at -12 dB") << 15.625 << Sideband::Upper << -12.0 << 5.0 << 150.0 << 0 << 0.05;
    QTest::newRow("MFSK8 at -13 dB") << 7.8125 << Sideband::Lower << -13.0 << -2.0 << -150.0 << 0 << 0.05;
}

void MfskReceiveTest::roundTrip()
{
    QFETCH(double, baud);
    QFETCH(Sideband, sideband);
    QFETCH(double, snr);
    QFETCH(double, offset);
    QFETCH(double, ppm);
    QFETCH(int, filter);
    QFETCH(double, maxCer);
    fsktest::Channel channel;
    channel.snrDb = snr;
    channel.clockPpm = ppm;
    channel.leadInSeconds = 2.0; // noise first: the receiver prints nothing of it
    const Run r = run(kText, baud, sideband, offset, channel, filter);
    const double cer = testsignal::characterErrorRate(kText, r.text);
    if (maxCer == 0.0)
        QCOMPARE(QString::fromStdString(r.text), QString::fromStdString(kText));
    else
        QVERIFY2(cer <= maxCer, qPrintable(QStringLiteral("CER %1: %2").arg(cer).arg(QString::fromStdString(r.text))));
    QVERIFY2(std::abs(r.carrier - (1500.0 + offset)) < 2.0, qPrintable(QString::number(r.carrier)));
}

void MfskReceiveTest::afcPullsIn_data()
{
    QTest::addColumn<double>("baud");
    QTest::addColumn<Sideband>("sideband");
    QTest::addColumn<double>("offset");
    QTest::newRow("MFSK16 40 Hz high") << 15.625 << Sideband::Upper << 40.0;
    QTest::newRow("MFSK16 40 Hz low") << 15.625 << Sideband::Lower << -40.0;
    QTest::newRow("MFSK32 40 Hz high") << 31.25 << Sideband::Lower << 40.0;
    QTest::newRow("MFSK8 40 Hz low") << 7.8125 << Sideband::Upper << -40.0;
}

void MfskReceiveTest::afcPullsIn()
{
    // Far off, the AFC needs a few seconds of varied tones to place the tone set: what
    // follows comes out exact.
    QFETCH(double, baud);
    QFETCH(Sideband, sideband);
    QFETCH(double, offset);
    fsktest::Channel channel;
    channel.snrDb = 0.0;
    const Run r = run(kText + kText, baud, sideband, offset, channel);
    QVERIFY2(r.text.size() >= kText.size() && r.text.substr(r.text.size() - kText.size()) == kText, r.text.c_str());
    QVERIFY2(std::abs(r.carrier - (1500.0 + offset)) < 2.0, qPrintable(QString::number(r.carrier)));
}

void MfskReceiveTest::measuresTheClock_data()
{
    QTest::addColumn<double>("ppm");
    QTest::newRow("stretched 200 ppm") << 200.0;
    QTest::newRow("squeezed 200 ppm") << -200.0;
}

void MfskReceiveTest::measuresTheClock()
{
    QFETCH(double, ppm);
    fsktest::Channel channel;
    channel.snrDb = 10.0;
    channel.clockPpm = ppm;
    const Run r = run(kText, 15.625, Sideband::Upper, 0.0, channel);
    // The channel's clock error comes back with its sign: positive, stretched.
    QVERIFY2(std::abs(r.clockPpm - ppm) < 60.0, qPrintable(QString::number(r.clockPpm)));
}

void MfskReceiveTest::estimatesSignalToNoise_data()
{
    QTest::addColumn<double>("baud");
    QTest::addColumn<double>("snr");
    QTest::newRow("MFSK16 -12 dB") << 15.625 << -12.0;
    QTest::newRow("MFSK16 0 dB") << 15.625 << 0.0;
    QTest::newRow("MFSK16 15 dB") << 15.625 << 15.0;
    QTest::newRow("MFSK8 -5 dB") << 7.8125 << -5.0;
    QTest::newRow("MFSK32 5 dB") << 31.25 << 5.0;
}

void MfskReceiveTest::estimatesSignalToNoise()
{
    QFETCH(double, baud);
    QFETCH(double, snr);
    fsktest::Channel channel;
    channel.snrDb = snr;
    const Run r = run(kText, baud, Sideband::Lower, 0.0, channel);
    QVERIFY2(std::abs(r.snrEstimate - snr) < 1.5, qPrintable(QString::number(r.snrEstimate)));
}

void MfskReceiveTest::noiseAlonePrintsNothing()
{
    // Noise decodes to random characters; the squelch keeps them off the screen.
    std::vector<float> noise = testsignal::silence(30.0);
    std::fill(noise.begin(), noise.end(), 0.0f);
    noise[0] = 1.0f; // addNoise scales to the signal's power
    testsignal::addNoise(noise, 0.0, 5);
    auto rx = digimode::makeMfskDemodulator(Sideband::Upper);
    const std::string text = fsktest::receive(*rx, noise);
    QVERIFY2(text.size() <= 2, text.c_str());
    QVERIFY(rx->signalToNoiseDb() < -15.0);
}

QTEST_APPLESS_MAIN(MfskReceiveTest)
#include "MfskReceiveTest.moc"
