// The engine's spectrum: frame rate, level scale, and finding the strongest signal.
#include "PskModulator.h"
#include "Spectrum.h"

#include <QTest>

#include <cmath>
#include <numbers>

using digimode::Spectrum;

class SpectrumTest : public QObject {
    Q_OBJECT
private slots:
    void sineReadsItsLevel_data();
    void sineReadsItsLevel();
    void framesComeSixteenTimesASecond();
    void silenceReadsTheFloor();
    void strongestSignal_data();
    void strongestSignal();
};

void SpectrumTest::sineReadsItsLevel_data()
{
    QTest::addColumn<double>("hz");
    QTest::addColumn<double>("amplitude");
    QTest::newRow("full scale 1000 Hz") << 1000.0 << 1.0;
    QTest::newRow("-40 dB 2345 Hz") << 2345.0 << 0.01;
}

void SpectrumTest::sineReadsItsLevel()
{
    QFETCH(double, hz);
    QFETCH(double, amplitude);
    std::vector<float> sine(11025);
    for (std::size_t n = 0; n < sine.size(); ++n)
        sine[n] = float(amplitude * std::sin(2.0 * std::numbers::pi * hz * double(n) / 11025.0));
    Spectrum spectrum;
    spectrum.push(sine.data(), sine.size(), [] {});
    const auto &db = spectrum.frameDb();
    const auto peak = std::size_t(std::max_element(db.begin(), db.end()) - db.begin());
    QVERIFY(std::abs(double(peak) * Spectrum::binHz() - hz) <= Spectrum::binHz());
    // The Hann window loses up to 1.4 dB between bins.
    QVERIFY2(std::abs(db[peak] - 20.0 * std::log10(amplitude)) < 1.6, qPrintable(QString::number(db[peak])));
    // Far from the tone the window's sidelobes are deep.
    const auto far = std::size_t((hz + 500.0) / Spectrum::binHz());
    QVERIFY(db[far] < db[peak] - 80.0);
}

void SpectrumTest::framesComeSixteenTimesASecond()
{
    Spectrum spectrum;
    int frames = 0;
    const std::vector<float> audio(11025 * 3, 0.1f);
    for (std::size_t i = 0; i < audio.size(); i += 100)
        spectrum.push(audio.data() + i, std::min<std::size_t>(100, audio.size() - i), [&] { ++frames; });
    QCOMPARE(frames, int(audio.size()) / Spectrum::kHop);
    QVERIFY(frames >= 3 * 15 && frames <= 3 * 17);
}

void SpectrumTest::silenceReadsTheFloor()
{
    Spectrum spectrum;
    const std::vector<float> silence(4096, 0.0f);
    spectrum.push(silence.data(), silence.size(), [] {});
    for (float v : spectrum.frameDb())
        QCOMPARE(v, Spectrum::kFloorDb);
}

void SpectrumTest::strongestSignal_data()
{
    QTest::addColumn<double>("carrier");
    QTest::addColumn<double>("baud");
    QTest::newRow("BPSK31 at 733 Hz") << 733.0 << 31.25;
    QTest::newRow("BPSK125 at 2450 Hz") << 2450.0 << 125.0;
}

void SpectrumTest::strongestSignal()
{
    QFETCH(double, carrier);
    QFETCH(double, baud);
    testsignal::PskSignal s;
    s.carrierHz = carrier;
    s.baud = baud;
    auto audio = testsignal::modulatePsk("CQ CQ CQ de UA1ABC UA1ABC UA1ABC pse k", s);
    // A weaker signal elsewhere must not win.
    testsignal::PskSignal other = s;
    other.carrierHz = 1500.0;
    other.amplitude = 0.1;
    const auto second = testsignal::modulatePsk("CQ CQ CQ de UA1ABC UA1ABC UA1ABC pse k", other);
    for (std::size_t i = 0; i < audio.size() && i < second.size(); ++i)
        audio[i] += second[i];
    Spectrum spectrum;
    spectrum.push(audio.data(), audio.size(), [] {});
    const double found = digimode::strongestSignalHz(spectrum.averagePower(), Spectrum::binHz(), 200.0, 3000.0, 2.0 * baud);
    QVERIFY2(std::abs(found - carrier) < 3.0, qPrintable(QString::number(found)));
}

QTEST_GUILESS_MAIN(SpectrumTest)
#include "tst_spectrum.moc"
