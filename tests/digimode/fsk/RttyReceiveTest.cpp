// RTTY through the channel: text, tuning, clock and the receiver's estimates.
#include "Reception.h"
#include "RttyModulator.h"

#include <QTest>

using digimode::Sideband;

namespace {

const std::string kText = "CQ TEST DE UA1XYZ UA1XYZ K 599 017 RR TU 5NN 73 -?/ THE QUICK BROWN FOX JUMPS ";

struct Run {
    std::string text;
    double snrEstimate;
    double clockPpm;
    double carrier;
};

Run receive(const std::vector<float> &keyed, double baud, Sideband sideband, const fsktest::Channel &channel,
            int filter = 0, bool afc = true)
{
    const auto samples = fsktest::through(keyed, channel);
    auto rx = digimode::makeRttyDemodulator(sideband);
    rx->setSpeed(baud);
    rx->setCarrier(1500.0);
    rx->setAfc(afc);
    rx->setFilter(filter);
    Run r;
    r.text = fsktest::receive(*rx, samples);
    r.snrEstimate = rx->signalToNoiseDb();
    r.clockPpm = rx->clockErrorPpm();
    r.carrier = rx->carrier();
    return r;
}

Run run(const std::string &text, double baud, Sideband sideband, double offsetHz, const fsktest::Channel &channel,
        int filter = 0, bool afc = true, double stopBits = 1.5)
{
    testsignal::RttySettings tx;
    tx.baud = baud;
    tx.sideband = sideband;
    tx.carrier = 1500.0 + offsetHz;
    tx.stopBits = stopBits;
    return receive(testsignal::rttySignal(text, tx), baud, sideband, channel, filter, afc);
}

} // namespace

class RttyReceiveTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void resumesAfterAPause();
    void lineEndsAndFigures();
    void measuresTheClock_data();
    void measuresTheClock();
    void estimatesSignalToNoise_data();
    void estimatesSignalToNoise();
    void afcOffHoldsTheCarrier();
};

void RttyReceiveTest::roundTrip_data()
{
    QTest::addColumn<double>("baud");
    QTest::addColumn<Sideband>("sideband");
    QTest::addColumn<double>("snr");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("ppm");
    QTest::addColumn<int>("filter");
    QTest::addColumn<double>("maxCer");
    QTest::addColumn<double>("stopBits");
    QTest::newRow("45.45 upper") << 45.45 << Sideband::Upper << 15.0 << 0.0 << 0.0 << 0 << 0.0 << 1.5;
    QTest::newRow("45.45 lower") << 45.45 << Sideband::Lower << 15.0 << 0.0 << 0.0 << 0 << 0.0 << 1.5;
    QTest::newRow("50 upper") << 50.0 << Sideband::Upper << 15.0 << 0.0 << 0.0 << 0 << 0.0 << 1.5;
    QTest::newRow("75 lower") << 75.0 << Sideband::Lower << 15.0 << 0.0 << 0.0 << 0 << 0.0 << 1.5;
    QTest::newRow("40 Hz high, AFC") << 45.45 << Sideband::Upper << 10.0 << 40.0 << 0.0 << 0 << 0.0 << 1.5;
    QTest::newRow("40 Hz low, AFC") << 45.45 << Sideband::Lower << 10.0 << -40.0 << 0.0 << 0 << 0.0 << 1.5;
    QTest::newRow("75 baud 40 Hz off") << 75.0 << Sideband::Upper << 10.0 << -40.0 << 0.0 << 0 << 0.0 << 1.5;
    QTest::newRow("sender fast") << 45.45 << Sideband::Upper << 10.0 << 0.0 << -200.0 << 0 << 0.0 << 1.5;
    QTest::newRow("sender slow") << 50.0 << Sideband::Lower << 10.0 << 0.0 << 200.0 << 0 << 0.0 << 1.5;
    QTest::newRow("narrow filter 1") << 45.45 << Sideband::Upper << 10.0 << 10.0 << 0.0 << 1 << 0.0 << 1.5;
    QTest::newRow("narrow filter 2") << 75.0 << Sideband::Upper << 10.0 << 0.0 << 0.0 << 2 << 0.0 << 1.5;
    QTest::newRow("narrowest filter") << 45.45 << Sideband::Lower << 10.0 << -10.0 << 0.0 << 3 << 0.0 << 1.5;
    // Weak: S/N in 2500 Hz, a few errors allowed.
    QTest::newRow("45.45 at -5 dB") << 45.45 << Sideband::Upper << -5.0 << 15.0 << 100.0 << 0 << 0.05 << 1.5;
    QTest::newRow("75 at -3 dB") << 75.0 << Sideband::Lower << -3.0 << -15.0 << -100.0 << 0 << 0.06 << 1.5;
    // Senders with other stop lengths: the rhythm is learnt.
    QTest::newRow("one stop bit") << 45.45 << Sideband::Upper << 10.0 << 0.0 << 0.0 << 0 << 0.0 << 1.0;
    QTest::newRow("two stop bits") << 50.0 << Sideband::Lower << 10.0 << 0.0 << 0.0 << 0 << 0.0 << 2.0;
    QTest::newRow("one stop bit at -5 dB") << 45.45 << Sideband::Upper << -5.0 << 0.0 << 0.0 << 0 << 0.05 << 1.0;
}

void RttyReceiveTest::roundTrip()
{
    QFETCH(double, baud);
    QFETCH(Sideband, sideband);
    QFETCH(double, snr);
    QFETCH(double, offset);
    QFETCH(double, ppm);
    QFETCH(int, filter);
    QFETCH(double, maxCer);
    QFETCH(double, stopBits);
    fsktest::Channel channel;
    channel.snrDb = snr;
    channel.clockPpm = ppm;
    const std::string text = kText + kText;
    const Run r = run(text, baud, sideband, offset, channel, filter, true, stopBits);
    const double cer = testsignal::characterErrorRate(text, r.text);
    if (maxCer == 0.0)
        QCOMPARE(QString::fromStdString(r.text), QString::fromStdString(text));
    else
        QVERIFY2(cer <= maxCer, qPrintable(QStringLiteral("CER %1: %2").arg(cer).arg(QString::fromStdString(r.text))));
    QVERIFY2(std::abs(r.carrier - (1500.0 + offset)) < 3.0, qPrintable(QString::number(r.carrier)));
}

void RttyReceiveTest::resumesAfterAPause()
{
    // A sender pauses on mark, then goes on at its own time: the receiver's rhythm must
    // not carry over the pause.
    testsignal::RttySettings tx;
    tx.idleAfter = 0;
    std::vector<float> keyed = testsignal::rttySignal("CQ CQ DE UA1XYZ ", tx);
    const double seconds = 1.3 + 0.37 / tx.baud; // not a whole number of bits
    double phase = 0.0;
    for (int n = 0; n < int(seconds * testsignal::kSampleRate); ++n) {
        keyed.push_back(tx.amplitude * float(std::sin(phase)));
        phase += 2.0 * M_PI * (tx.carrier + 85.0) / testsignal::kSampleRate;
    }
    tx.idleBefore = 0;
    tx.idleAfter = 3;
    const auto rest = testsignal::rttySignal("UA1XYZ K", tx);
    keyed.insert(keyed.end(), rest.begin(), rest.end());
    fsktest::Channel channel;
    channel.snrDb = 10.0;
    const Run r = receive(keyed, tx.baud, Sideband::Upper, channel);
    QCOMPARE(QString::fromStdString(r.text), QStringLiteral("CQ CQ DE UA1XYZ UA1XYZ K"));
}

void RttyReceiveTest::lineEndsAndFigures()
{
    // CR and LF come through as themselves; figures survive a line end, not a space.
    const std::string text = "RST 599\r\nNR 001\r\n";
    const Run r = run(text, 45.45, Sideband::Upper, 0.0, fsktest::Channel{});
    QCOMPARE(QString::fromStdString(r.text), QString::fromStdString(text));
}

void RttyReceiveTest::measuresTheClock_data()
{
    QTest::addColumn<double>("ppm");
    QTest::newRow("stretched 200 ppm") << 200.0;
    QTest::newRow("squeezed 200 ppm") << -200.0;
    QTest::newRow("exact") << 0.0;
}

void RttyReceiveTest::measuresTheClock()
{
    QFETCH(double, ppm);
    fsktest::Channel channel;
    channel.snrDb = 20.0;
    channel.clockPpm = ppm;
    const Run r = run(kText + kText + kText, 45.45, Sideband::Upper, 0.0, channel);
    // The channel's clock error comes back with its sign: positive, stretched.
    QVERIFY2(std::abs(r.clockPpm - ppm) < 60.0, qPrintable(QString::number(r.clockPpm)));
}

void RttyReceiveTest::estimatesSignalToNoise_data()
{
    QTest::addColumn<double>("snr");
    QTest::newRow("-6 dB") << -6.0;
    QTest::newRow("0 dB") << 0.0;
    QTest::newRow("10 dB") << 10.0;
}

void RttyReceiveTest::estimatesSignalToNoise()
{
    QFETCH(double, snr);
    fsktest::Channel channel;
    channel.snrDb = snr;
    const Run r = run(kText, 45.45, Sideband::Lower, 0.0, channel);
    QVERIFY2(std::abs(r.snrEstimate - snr) < 1.5, qPrintable(QString::number(r.snrEstimate)));
}

void RttyReceiveTest::afcOffHoldsTheCarrier()
{
    fsktest::Channel channel;
    channel.snrDb = 10.0;
    const Run r = run(kText, 45.45, Sideband::Upper, 30.0, channel, 0, false);
    QCOMPARE(r.carrier, 1500.0);
}

QTEST_APPLESS_MAIN(RttyReceiveTest)
#include "RttyReceiveTest.moc"
