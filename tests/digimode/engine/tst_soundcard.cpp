// The sound card path end to end: a private PulseAudio server whose pipe source plays a
// generated signal is the system's default input; the engine receives and decodes it,
// and reports once, without crashing, when the server goes away.
#include "Engine.h"
#include "PskModulator.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

const std::string kMessage = "\rCQ TEST UA1ABC UA1ABC 599 k\r";

} // namespace

class SoundCardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void receivesFromTheDefaultInput();
    void serverGoingAwayIsReported();

private:
    void writeToPipe(const std::vector<float> &audio);

    QTemporaryDir dir_;
    QProcess server_;
    QString pipe_;
    std::thread writer_;
    std::atomic<bool> stop_{false};
};

void SoundCardTest::initTestCase()
{
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (pulseaudio.isEmpty())
        QSKIP("pulseaudio is not installed");
    QVERIFY(dir_.isValid());
    const QString socket = dir_.filePath(QStringLiteral("native"));
    pipe_ = dir_.filePath(QStringLiteral("pipe"));
    QDir(dir_.path()).mkpath(QStringLiteral("runtime"));
    // The server and this process (Qt's PulseAudio client) share only the private socket.
    qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
    qputenv("PULSE_RUNTIME_PATH", dir_.filePath(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("PULSE_STATE_PATH", dir_.filePath(QStringLiteral("state")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", dir_.filePath(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("HOME", dir_.path().toLocal8Bit());

    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.start(pulseaudio, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                               QStringLiteral("--disallow-exit"), QStringLiteral("--system=false"),
                               QStringLiteral("--use-pid-file=false"), QStringLiteral("--disable-shm=true"),
                               QStringLiteral("--log-target=stderr"), QStringLiteral("-L"),
                               QStringLiteral("module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket),
                               QStringLiteral("-L"),
                               QStringLiteral("module-pipe-source file=%1 format=s16le rate=11025 channels=1 "
                                              "source_name=orvo_test_pipe")
                                   .arg(pipe_)});
    QVERIFY2(server_.waitForStarted(5000), qPrintable(server_.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket) && QFile::exists(pipe_), 10000);
}

void SoundCardTest::cleanupTestCase()
{
    stop_ = true;
    if (writer_.joinable())
        writer_.join();
    if (server_.state() != QProcess::NotRunning) {
        server_.kill();
        server_.waitForFinished(5000);
    }
}

void SoundCardTest::writeToPipe(const std::vector<float> &audio)
{
    const std::string path = pipe_.toStdString();
    writer_ = std::thread([this, path, audio] {
        const int fd = ::open(path.c_str(), O_WRONLY);
        if (fd < 0)
            return;
        std::vector<std::int16_t> pcm(audio.size());
        for (std::size_t i = 0; i < audio.size(); ++i)
            pcm[i] = std::int16_t(std::clamp(audio[i], -1.0f, 1.0f) * 32000.0f);
        // The pipe holds little; writing blocks until the server has read, which paces it.
        std::size_t done = 0;
        while (done < pcm.size() && !stop_) {
            const std::size_t n = std::min<std::size_t>(1024, pcm.size() - done);
            const ssize_t written = ::write(fd, pcm.data() + done, n * sizeof(std::int16_t));
            if (written <= 0)
                break;
            done += std::size_t(written) / sizeof(std::int16_t);
        }
        ::close(fd);
    });
}

void SoundCardTest::receivesFromTheDefaultInput()
{
    testsignal::PskSignal s;
    s.carrierHz = 1200.0;
    s.baud = 125.0;
    s.idleSeconds = 1.0;
    auto audio = testsignal::modulatePsk(kMessage, s);
    audio.resize(audio.size() + 11025 * 3, 0.0f);   // silence after, for the decoder's delay

    TMMVARI engine;
    QSignalSpy errors(&engine, &TMMVARI::OnDeviceError);
    QString text;
    connect(&engine, &TMMVARI::OnRxChar, this, [&](int, const QString &c) { text += c; });
    engine.setChannelSpeed(0, 125.0);
    engine.setChannelCarrier(0, 1200);
    engine.setStrSoundID(QStringLiteral("-1"));
    engine.setBActive(true);
    writeToPipe(audio);
    QTRY_VERIFY_WITH_TIMEOUT(text.contains(QStringLiteral("599 k")), 20000);
    QVERIFY2(text.contains(QString::fromStdString(kMessage)), qPrintable(text));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.isEmpty() ? QString() : errors.first().at(0).toString()));
    engine.setBActive(false);
    stop_ = true;
    writer_.join();
    stop_ = false;
}

void SoundCardTest::serverGoingAwayIsReported()
{
    TMMVARI engine;
    QSignalSpy errors(&engine, &TMMVARI::OnDeviceError);
    engine.setStrSoundID(QStringLiteral("0"));   // the first input: the pipe
    engine.setBActive(true);
    QTest::qWait(500);
    QVERIFY(errors.isEmpty());

    server_.kill();
    server_.waitForFinished(5000);
    QTRY_VERIFY_WITH_TIMEOUT(!errors.isEmpty(), 10000);
    QTest::qWait(1000);
    QCOMPARE(errors.count(), 1);
    // Still a working engine.
    engine.setChannelCarrier(0, 1500);
    QCOMPARE(engine.ChannelCarrier(0), 1500);
}

QTEST_GUILESS_MAIN(SoundCardTest)
#include "tst_soundcard.moc"
