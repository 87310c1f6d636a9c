// Round trips through the PSK modems: test transmitter, channel, demodulator.
#include "Channel.h"
#include "Demodulator.h"
#include "PskModulator.h"

#include <QTest>

#include <cmath>
#include <random>

namespace {

std::string receive(digimode::Demodulator &demodulator, const std::vector<float> &audio)
{
    std::string text;
    demodulator.setCharSink([&](unsigned char c) { text.push_back(char(c)); });
    for (std::size_t i = 0; i < audio.size(); i += 512)
        demodulator.process(audio.data() + i, std::min<std::size_t>(512, audio.size() - i));
    // Silence after the signal lets the decoders' delay run out.
    const auto quiet = testsignal::silence(4.0);
    demodulator.process(quiet.data(), quiet.size());
    return text;
}

const std::string kMessage = "\rCQ TEST UA1ABC UA1ABC 599 001 de RN3XYZ k\r";

} // namespace

class PskModemTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void afcPullsCarrier_data();
    void afcPullsCarrier();
};

void PskModemTest::roundTrip_data()
{
    QTest::addColumn<bool>("quadrature");
    QTest::addColumn<double>("baud");
    QTest::addColumn<double>("snrDb");
    QTest::addColumn<double>("offsetHz");
    QTest::addColumn<double>("ppm");
    QTest::addColumn<double>("maxCer");
    QTest::addColumn<bool>("quarterTurnsReversed");
    // Comfortable signals must come out exact.
    QTest::newRow("bpsk31 clean") << false << 31.25 << 20.0 << 0.0 << 0.0 << 0.0 << false;
    QTest::newRow("bpsk63 +10dB, 4 Hz off, +200ppm") << false << 62.5 << 10.0 << 4.0 << 200.0 << 0.0 << false;
    QTest::newRow("bpsk125 +5dB, -3 Hz off, -200ppm") << false << 125.0 << 5.0 << -3.0 << -200.0 << 0.0 << false;
    QTest::newRow("bpsk250 +10dB") << false << 250.0 << 10.0 << 0.0 << 100.0 << 0.0 << false;
    QTest::newRow("qpsk31 +10dB, 2 Hz off") << true << 31.25 << 10.0 << 2.0 << 150.0 << 0.0 << false;
    QTest::newRow("qpsk63 +10dB") << true << 62.5 << 10.0 << 0.0 << -150.0 << 0.0 << false;
    QTest::newRow("qpsk125 +10dB") << true << 125.0 << 10.0 << -2.0 << 0.0 << 0.0 << false;
    QTest::newRow("qpsk250 +10dB") << true << 250.0 << 10.0 << 0.0 << 0.0 << 0.0 << false;
    // QPSK from a sender whose quarter turns go the other way (the other sideband).
    QTest::newRow("qpsk31 +10dB, turns reversed") << true << 31.25 << 10.0 << 1.0 << 100.0 << 0.0 << true;
    QTest::newRow("qpsk125 +10dB, turns reversed") << true << 125.0 << 10.0 << 0.0 << -100.0 << 0.0 << true;
    // Hard signals: a few errors allowed.
    QTest::newRow("bpsk31 -10dB") << false << 31.25 << -10.0 << 1.0 << 200.0 << 0.05 << false;
    QTest::newRow("qpsk31 -10dB") << true << 31.25 << -10.0 << -1.0 << -200.0 << 0.05 << false;
    QTest::newRow("qpsk31 -10dB, turns reversed") << true << 31.25 << -10.0 << 1.0 << 200.0 << 0.05 << true;
}

void PskModemTest::roundTrip()
{
    QFETCH(bool, quadrature);
    QFETCH(double, baud);
    QFETCH(double, snrDb);
    QFETCH(double, offsetHz);
    QFETCH(double, ppm);
    QFETCH(double, maxCer);
    QFETCH(bool, quarterTurnsReversed);

    testsignal::PskSignal signal;
    signal.carrierHz = 1500.0 + offsetHz;
    signal.baud = baud;
    signal.quadrature = quadrature;
    signal.quarterTurnsReversed = quarterTurnsReversed;
    signal.idleSeconds = 2.0;
    auto audio = testsignal::modulatePsk(kMessage, signal);
    testsignal::addNoise(audio, snrDb, 7);
    audio = testsignal::withClockError(audio, ppm);

    auto demodulator = digimode::makePskDemodulator(quadrature);
    demodulator->setSpeed(baud);
    demodulator->setCarrier(1500.0);
    demodulator->setAfc(true);
    const std::string received = receive(*demodulator, audio);
    const double cer = testsignal::characterErrorRate(kMessage, received);
    if (maxCer == 0.0)
        QCOMPARE(QString::fromStdString(received), QString::fromStdString(kMessage));
    else
        QVERIFY2(cer <= maxCer, qPrintable(QStringLiteral("CER %1, got \"%2\"").arg(cer).arg(QString::fromStdString(received))));
}

void PskModemTest::afcPullsCarrier_data()
{
    QTest::addColumn<bool>("quadrature");
    QTest::addColumn<double>("offsetHz");
    QTest::newRow("bpsk +45 Hz") << false << 45.0;
    QTest::newRow("bpsk -37 Hz") << false << -37.0;
    QTest::newRow("qpsk +30 Hz") << true << 30.0;
}

void PskModemTest::afcPullsCarrier()
{
    QFETCH(bool, quadrature);
    QFETCH(double, offsetHz);
    testsignal::PskSignal signal;
    signal.carrierHz = 1200.0 + offsetHz;
    signal.quadrature = quadrature;
    signal.idleSeconds = 3.0;
    auto audio = testsignal::modulatePsk(kMessage, signal);
    testsignal::addNoise(audio, 0.0, 3);

    auto demodulator = digimode::makePskDemodulator(quadrature);
    demodulator->setCarrier(1200.0);
    demodulator->setAfc(true);
    const std::string received = receive(*demodulator, audio);
    QVERIFY2(std::abs(demodulator->carrier() - signal.carrierHz) < 1.0,
             qPrintable(QString::number(demodulator->carrier())));
    QCOMPARE(QString::fromStdString(received), QString::fromStdString(kMessage));
}

QTEST_GUILESS_MAIN(PskModemTest)
#include "tst_pskmodem.moc"
