// What a sound card can deliver besides signals: nothing breaks, every estimate stays a
// number.
#include "Demodulator.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using digimode::Sideband;

namespace {

std::vector<float> input(const QString &kind)
{
    std::vector<float> s(std::size_t(8 * digimode::kSampleRate), 0.0f);
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> full(-1.0f, 1.0f);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / digimode::kSampleRate;
        if (kind == QLatin1String("dc"))
            s[i] = 0.9f;
        else if (kind == QLatin1String("clipped"))
            s[i] = std::sin(2.0 * M_PI * 1585.0 * t) >= 0.0 ? 1.0f : -1.0f;
        else if (kind == QLatin1String("full-scale noise"))
            s[i] = full(rng);
        else if (kind == QLatin1String("not numbers"))
            s[i] = i % 3 == 0 ? std::numeric_limits<float>::quiet_NaN()
                 : i % 3 == 1 ? std::numeric_limits<float>::infinity() : 0.5f;
    }
    return s;
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT
private slots:
    void staysFinite_data();
    void staysFinite();
};

void BadInputTest::staysFinite_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<double>("speed");
    QTest::addColumn<QString>("kind");
    for (const auto &[mode, speed] : {std::pair{"rtty", 45.45}, std::pair{"rtty", 75.0}, std::pair{"mfsk", 15.625},
                                      std::pair{"mfsk", 7.8125}, std::pair{"mfsk", 31.25}}) {
        for (const char *kind : {"silence", "dc", "clipped", "full-scale noise", "not numbers"}) {
            QTest::addRow("%s %g %s", mode, speed, kind) << QString::fromLatin1(mode) << speed << QString::fromLatin1(kind);
        }
    }
}

void BadInputTest::staysFinite()
{
    QFETCH(QString, mode);
    QFETCH(double, speed);
    QFETCH(QString, kind);
    auto rx = mode == QLatin1String("rtty") ? digimode::makeRttyDemodulator(Sideband::Upper)
                                            : digimode::makeMfskDemodulator(Sideband::Lower);
    rx->setSpeed(speed);
    rx->setCarrier(1500.0);
    rx->setAfc(true);
    int characters = 0;
    rx->setCharSink([&characters](unsigned char) { ++characters; });
    const auto samples = input(kind);
    for (std::size_t i = 0; i < samples.size(); i += 777)
        rx->process(samples.data() + i, std::min<std::size_t>(777, samples.size() - i));
    QVERIFY(std::isfinite(rx->signalToNoiseDb()));
    QVERIFY(std::isfinite(rx->clockErrorPpm()));
    QVERIFY(std::isfinite(rx->carrier()));
    QVERIFY(std::abs(rx->carrier() - 1500.0) <= 60.0);
    // Nothing there: no signal-to-noise worth a signal.
    if (kind == QLatin1String("silence"))
        QVERIFY(rx->signalToNoiseDb() <= -20.0);
    rx->reset();
    rx->process(samples.data(), 1000);
    QVERIFY(std::isfinite(rx->signalToNoiseDb()));
}

QTEST_APPLESS_MAIN(BadInputTest)
#include "BadInputTest.moc"
