// The engine component TMMVARI: its interface as the decoder window uses it, fed with
// test signals directly and through recordings.
#include "Channel.h"
#include "Engine.h"
#include "PskModulator.h"

#include <sndfile.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>
#include <random>

namespace {

const QString kMessage = QStringLiteral("\rCQ TEST UA1ABC UA1ABC 599 001 k\r");

std::vector<float> pskSignal(double carrierHz, double baud = 31.25, double sampleRate = 11025.0)
{
    testsignal::PskSignal s;
    s.carrierHz = carrierHz;
    s.baud = baud;
    s.sampleRate = sampleRate;
    s.idleSeconds = 2.0;
    return testsignal::modulatePsk(kMessage.toStdString(), s);
}

void feedAll(TMMVARI &engine, const std::vector<float> &audio)
{
    for (std::size_t i = 0; i < audio.size(); i += 1024)
        engine.feed(audio.data() + i, std::min<std::size_t>(1024, audio.size() - i));
}

// Collects OnRxChar text and notes whether every call came on the GUI thread.
struct RxText {
    QString text;
    bool onGuiThread = true;
    explicit RxText(TMMVARI &engine)
    {
        QObject::connect(&engine, &TMMVARI::OnRxChar, [this](int channel, const QString &s, int code) {
            QCOMPARE(channel, 0);
            QCOMPARE(s, QString(QChar(char16_t(code))));
            onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
            text += s;
        });
    }
};

bool writeWave(const QString &path, const std::vector<float> &audio, int rate, int channels)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    std::vector<float> frames;
    for (float s : audio)
        for (int c = 0; c < channels; ++c)
            frames.push_back(s);
    sf_writef_float(file, frames.data(), sf_count_t(audio.size()));
    sf_close(file);
    return true;
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT
private slots:
    void modeList();
    void modeAndSpeed();
    void channelsOtherThanZero();
    void decodesAndReports();
    void afcPullsTheCarrier();
    void signalToNoiseIsHonest_data();
    void signalToNoiseIsHonest();
    void clockErrorIsMeasured_data();
    void clockErrorIsMeasured();
    void recordings_data();
    void recordings();
    void badRecording_data();
    void badRecording();
    void badInputStaysFinite_data();
    void badInputStaysFinite();
    void unknownSoundCardIsReportedOnce();
    void sampleRateIsFixed();
    void handles();
};

void EngineTest::modeList()
{
    TMMVARI engine;
    QStringList names;
    for (int i = 0; i < engine.wModeMax(); ++i)
        names << engine.ModeNameAt(i);
    for (const char *name : {"bpsk", "qpsk", "rtty-L", "rtty-U", "mfsk-L", "mfsk-U"})
        QVERIFY2(names.contains(QLatin1String(name)), name);
    QCOMPARE(engine.ModeNameAt(engine.wModeMax()), QString());
    QCOMPARE(engine.ModeNameAt(-1), QString());
}

void EngineTest::modeAndSpeed()
{
    TMMVARI engine;
    QSignalSpy speeds(&engine, &TMMVARI::OnSpeed);
    QCOMPARE(engine.ChannelMode(0), QStringLiteral("bpsk"));
    engine.setChannelSpeed(0, 62.5);
    QCOMPARE(engine.ChannelSpeed(0), 62.5);
    QCOMPARE(speeds.count(), 1);
    QCOMPARE(speeds.last().at(1).toDouble(), 62.5);
    engine.setChannelSpeed(0, 62.5);   // no change, no report
    QCOMPARE(speeds.count(), 1);
    engine.setChannelMode(0, QStringLiteral("qpsk"));   // same family: same speed, no report
    QCOMPARE(engine.ChannelSpeed(0), 62.5);
    QCOMPARE(speeds.count(), 1);

    engine.setChannelCarrier(0, 1234);
    engine.setChannelMode(0, QStringLiteral("rtty-U"));
    QCOMPARE(engine.ChannelMode(0), QStringLiteral("rtty-U"));
    QCOMPARE(engine.ChannelSpeed(0), 45.45);
    QCOMPARE(speeds.count(), 2);
    QCOMPARE(engine.ChannelCarrier(0), 1234);   // a new mode keeps the carrier

    engine.setChannelSpeed(0, 75.0);
    engine.setChannelMode(0, QStringLiteral("rtty-L"));   // the other sideband keeps the speed
    QCOMPARE(engine.ChannelSpeed(0), 75.0);
    engine.setChannelMode(0, QStringLiteral("no such mode"));
    QCOMPARE(engine.ChannelMode(0), QStringLiteral("rtty-L"));
    engine.setChannelMode(0, QStringLiteral("rtty-U"));
    engine.setNBPF(2);
    QCOMPARE(engine.nBPF(), 2);
    engine.setChannelMode(0, QStringLiteral("mfsk-L"));
    QCOMPARE(engine.nBPF(), 2);
    QCOMPARE(engine.ChannelSpeed(0), 15.625);
    engine.setNBPF(9);
    QCOMPARE(engine.nBPF(), 3);
}

void EngineTest::channelsOtherThanZero()
{
    TMMVARI engine;
    engine.setChannelCarrier(1, 2000);
    engine.setChannelMode(1, QStringLiteral("qpsk"));
    QCOMPARE(engine.ChannelCarrier(0), 1000);
    QCOMPARE(engine.ChannelMode(0), QStringLiteral("bpsk"));
    QCOMPARE(engine.ChannelMode(1), QString());
    QCOMPARE(engine.ChannelCarrier(1), 0);
}

void EngineTest::decodesAndReports()
{
    TMMVARI engine;
    engine.setChannelCarrier(0, 1500);
    RxText rx(engine);
    QSignalSpy frames(&engine, &TMMVARI::OnDrawFFT);
    QSignalSpy timings(&engine, &TMMVARI::OnTiming);
    const auto audio = pskSignal(1500.0);
    feedAll(engine, audio);
    feedAll(engine, testsignal::silence(4.0));
    QCOMPARE(rx.text, kMessage);
    QVERIFY(rx.onGuiThread);

    // A steady stream of frames (about 16 a second), each a full spectrum.
    const double seconds = double(audio.size()) / 11025.0 + 4.0;
    QVERIFY2(frames.count() >= int(seconds * 14) && frames.count() <= int(seconds * 18),
             qPrintable(QString::number(frames.count())));
    QCOMPARE(frames.last().at(0).toInt(), int(engine.spectrumDb().size()));
    QVERIFY(!timings.isEmpty());
    QCOMPARE(timings.last().at(2).toInt(), 0);   // ppm

    // The frame shows the carrier: the strongest bin is near 1500 Hz (the idle tones at +-15 Hz).
    feedAll(engine, pskSignal(1500.0));
    const auto &db = engine.spectrumDb();
    const auto peak = std::max_element(db.begin(), db.end()) - db.begin();
    QVERIFY2(std::abs(double(peak) * engine.spectrumBinHz() - 1500.0) < 25.0, qPrintable(QString::number(peak)));
}

void EngineTest::afcPullsTheCarrier()
{
    TMMVARI engine;
    engine.setChannelAfc(0, 1);
    engine.setChannelCarrier(0, 1460);
    RxText rx(engine);
    feedAll(engine, pskSignal(1500.0));
    QCOMPARE(engine.ChannelCarrier(0), 1500);
    QCOMPARE(rx.text, kMessage.left(rx.text.size()));

    // With AFC off the carrier stays where it is set.
    engine.setChannelAfc(0, 0);
    QCOMPARE(engine.ChannelAfc(0), 0);
    engine.setChannelCarrier(0, 1480);
    feedAll(engine, pskSignal(1500.0));
    QCOMPARE(engine.ChannelCarrier(0), 1480);
}

void EngineTest::signalToNoiseIsHonest_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<double>("baud");
    QTest::addColumn<double>("snrDb");
    QTest::newRow("bpsk31 -12 dB") << "bpsk" << 31.25 << -12.0;
    QTest::newRow("bpsk31 0 dB") << "bpsk" << 31.25 << 0.0;
    QTest::newRow("bpsk31 15 dB") << "bpsk" << 31.25 << 15.0;
    QTest::newRow("bpsk125 -4 dB") << "bpsk" << 125.0 << -4.0;
    QTest::newRow("qpsk63 -6 dB") << "qpsk" << 62.5 << -6.0;
    QTest::newRow("qpsk31 15 dB") << "qpsk" << 31.25 << 15.0;
}

void EngineTest::signalToNoiseIsHonest()
{
    QFETCH(QString, mode);
    QFETCH(double, baud);
    QFETCH(double, snrDb);
    testsignal::PskSignal s;
    s.carrierHz = 1300.0;
    s.baud = baud;
    s.quadrature = mode == QLatin1String("qpsk");
    s.idleSeconds = 2.0;
    auto audio = testsignal::modulatePsk("the quick brown fox jumps over the lazy dog 0123456789 THE QUICK BROWN FOX", s);
    testsignal::addNoise(audio, snrDb, 17);
    TMMVARI engine;
    engine.setChannelMode(0, mode);
    engine.setChannelSpeed(0, baud);
    engine.setChannelCarrier(0, 1300);
    // Read in the middle of the transmission, as the window does at each frame.
    feedAll(engine, std::vector<float>(audio.begin(), audio.begin() + std::ptrdiff_t(audio.size() * 3 / 4)));
    const int reading = engine.ChannelSignalToNoise(0);
    QVERIFY2(std::abs(reading - snrDb) <= 2.0, qPrintable(QString::number(reading)));
}

void EngineTest::clockErrorIsMeasured_data()
{
    QTest::addColumn<double>("ppm");
    QTest::newRow("+200 ppm") << 200.0;
    QTest::newRow("-150 ppm") << -150.0;
    QTest::newRow("none") << 0.0;
}

void EngineTest::clockErrorIsMeasured()
{
    QFETCH(double, ppm);
    testsignal::PskSignal s;
    s.carrierHz = 1000.0;
    s.baud = 125.0;
    s.idleSeconds = 1.0;
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "CQ CQ de UA1ABC UA1ABC pse k ";
    auto audio = testsignal::modulatePsk(text, s);
    testsignal::addNoise(audio, 0.0, 5);
    audio = testsignal::withClockError(audio, ppm);
    TMMVARI engine;
    engine.setChannelSpeed(0, 125.0);
    QSignalSpy timings(&engine, &TMMVARI::OnTiming);
    feedAll(engine, audio);
    QVERIFY(timings.count() >= 5);
    const int reported = timings.last().at(1).toInt();
    QVERIFY2(std::abs(reported - ppm) <= 40.0, qPrintable(QString::number(reported)));
}

void EngineTest::recordings_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::newRow("8000 Hz mono") << 8000 << 1;
    QTest::newRow("48000 Hz stereo") << 48000 << 2;
    QTest::newRow("11025 Hz mono") << 11025 << 1;
}

void EngineTest::recordings()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("signal.wav"));
    QVERIFY(writeWave(path, pskSignal(1100.0, 62.5, rate), rate, channels));

    TMMVARI engine;
    engine.setChannelSpeed(0, 62.5);
    engine.setChannelCarrier(0, 1100);
    RxText rx(engine);
    QSignalSpy end(&engine, &TMMVARI::OnWaveFileEnd);
    QVERIFY(engine.openWaveFile(path, false));
    QVERIFY(end.wait(10000));
    QCOMPARE(rx.text, kMessage);
    QVERIFY(rx.onGuiThread);
}

void EngineTest::badRecording_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::newRow("text named .wav") << QByteArray("this is not a recording\n") << "notes.wav";
    QTest::newRow("empty file") << QByteArray() << "empty.wav";
    QTest::newRow("missing file") << QByteArray("-") << "missing.wav";
}

void EngineTest::badRecording()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (content != "-") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    TMMVARI engine;
    QSignalSpy errors(&engine, &TMMVARI::OnDeviceError);
    QVERIFY(!engine.openWaveFile(path));
    QCOMPARE(errors.count(), 1);
    QVERIFY2(errors.first().at(0).toString().contains(name), qPrintable(errors.first().at(0).toString()));
    // Still usable afterwards.
    RxText rx(engine);
    engine.setChannelCarrier(0, 1500);
    feedAll(engine, pskSignal(1500.0));
    QVERIFY(rx.text.contains(QStringLiteral("UA1ABC")));
}

void EngineTest::badInputStaysFinite_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("silence") << "silence";
    QTest::newRow("DC") << "dc";
    QTest::newRow("clipped signal") << "clipped";
    QTest::newRow("full-scale noise") << "noise";
    QTest::newRow("not a number") << "nan";
}

void EngineTest::badInputStaysFinite()
{
    QFETCH(QString, kind);
    std::vector<float> audio(std::size_t(11025 * 6));
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    const auto psk = pskSignal(1500.0);
    for (std::size_t i = 0; i < audio.size(); ++i) {
        if (kind == QLatin1String("dc"))
            audio[i] = 0.8f;
        else if (kind == QLatin1String("clipped"))
            audio[i] = std::clamp(50.0f * psk[i % psk.size()], -1.0f, 1.0f);
        else if (kind == QLatin1String("noise"))
            audio[i] = uniform(rng);
        else if (kind == QLatin1String("nan"))
            audio[i] = i % 3 == 0 ? NAN : (i % 3 == 1 ? INFINITY : -INFINITY);
    }
    for (const char *mode : {"bpsk", "qpsk"}) {
        TMMVARI engine;
        engine.setChannelMode(0, QLatin1String(mode));
        engine.setChannelCarrier(0, 1500);
        bool framesFinite = true;
        QObject::connect(&engine, &TMMVARI::OnDrawFFT, [&](int count, const QVector<float> &frame) {
            QCOMPARE(count, int(frame.size()));
            for (float v : frame)
                framesFinite = framesFinite && std::isfinite(v);
        });
        feedAll(engine, audio);
        QVERIFY(framesFinite);
        QVERIFY(std::isfinite(engine.inputLevel()));
        QVERIFY(std::abs(engine.ChannelSignalToNoise(0)) <= 60);
        QVERIFY(engine.ChannelCarrier(0) >= 1400 && engine.ChannelCarrier(0) <= 1600);
        QVERIFY(std::isfinite(engine.ChannelSpeed(0)));
    }
}

void EngineTest::unknownSoundCardIsReportedOnce()
{
    TMMVARI engine;
    QSignalSpy errors(&engine, &TMMVARI::OnDeviceError);
    engine.setStrSoundID(QStringLiteral("57"));
    QCOMPARE(engine.strSoundID(), QStringLiteral("57"));
    engine.setBActive(true);
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.first().at(0).toString().contains(QStringLiteral("57")));
    // Switching off and on again is the same trouble: not reported again.
    engine.setBActive(false);
    engine.setBActive(true);
    QCOMPARE(errors.count(), 1);
    engine.setStrSoundID(QStringLiteral("abc"));
    QCOMPARE(errors.count(), 2);
    // The engine goes on decoding whatever reaches it.
    RxText rx(engine);
    engine.setChannelCarrier(0, 1500);
    feedAll(engine, pskSignal(1500.0));
    QVERIFY(rx.text.contains(QStringLiteral("UA1ABC")));
}

void EngineTest::sampleRateIsFixed()
{
    TMMVARI engine;
    QSignalSpy errors(&engine, &TMMVARI::OnDeviceError);
    engine.setSampleRate(11025);
    QCOMPARE(errors.count(), 0);
    engine.setSampleRate(48000);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(engine.sampleRate(), 11025.0);
}

void EngineTest::handles()
{
    auto *first = new TMMVARI;
    TMMVARI second;
    QVERIFY(first->dwHandle() != second.dwHandle());
    QCOMPARE(TMMVARI::fromHandle(first->dwHandle()), first);
    QCOMPARE(TMMVARI::fromHandle(second.dwHandle()), &second);
    const int handle = first->dwHandle();
    delete first;
    QCOMPARE(TMMVARI::fromHandle(handle), nullptr);
    QCOMPARE(TMMVARI::fromHandle(0), nullptr);
}

QTEST_GUILESS_MAIN(EngineTest)
#include "tst_engine.moc"
