// orvo-decode as a person runs it: a recording in, the text out, bad arguments refused.
#include "PskModulator.h"

#include <sndfile.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTool = QStringLiteral(ORVO_DIST_DIR "/orvo-decode");

struct Run {
    int exitCode;
    QString out;
    QString err;
};

Run run(const QStringList &arguments)
{
    QProcess p;
    p.start(kTool, arguments);
    if (!p.waitForFinished(30000))
        return {-1, {}, QStringLiteral("timed out")};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void writeWave(const QString &path, const std::vector<float> &audio, int rate)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    QVERIFY(file);
    sf_write_float(file, audio.data(), sf_count_t(audio.size()));
    sf_close(file);
}

} // namespace

class DecodeToolTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void decodes_data();
    void decodes();
    void readouts();
    void help();
    void badArguments_data();
    void badArguments();
    void unreadableRecording();

private:
    QTemporaryDir dir_;
    QString bpsk_;   // BPSK63 at 1733 Hz, 44100 Hz file
    QString qpsk_;   // QPSK31 at 870 Hz, 8000 Hz file
};

void DecodeToolTest::initTestCase()
{
    QVERIFY(QFile::exists(kTool));
    testsignal::PskSignal s;
    s.carrierHz = 1733.0;
    s.baud = 62.5;
    s.sampleRate = 44100.0;
    bpsk_ = dir_.filePath(QStringLiteral("bpsk63.wav"));
    writeWave(bpsk_, testsignal::modulatePsk("\rCQ CQ de DL2XYZ DL2XYZ k\r", s), 44100);
    s.carrierHz = 870.0;
    s.baud = 31.25;
    s.quadrature = true;
    s.sampleRate = 8000.0;
    qpsk_ = dir_.filePath(QStringLiteral("qpsk31.wav"));
    writeWave(qpsk_, testsignal::modulatePsk("\rUA1ABC 599 014\r", s), 8000);
}

void DecodeToolTest::decodes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("text");
    const QString bpskText = QStringLiteral("\nCQ CQ de DL2XYZ DL2XYZ k\n\n");
    QTest::newRow("strongest signal found") << "bpsk" << QStringList{"--mode", "bpsk", "--speed", "62.5"} << bpskText;
    QTest::newRow("carrier given, AFC off")
        << "bpsk" << QStringList{"--mode", "bpsk", "--speed", "62.5", "--carrier", "1733", "--afc", "off"} << bpskText;
    QTest::newRow("carrier 20 Hz off, AFC on")
        << "bpsk" << QStringList{"--mode", "bpsk", "--speed", "62.5", "--carrier", "1713"} << bpskText;
    QTest::newRow("qpsk, narrowest filter")
        << "qpsk" << QStringList{"--mode", "qpsk", "--speed", "31.25", "--filter", "3"} << QStringLiteral("\nUA1ABC 599 014\n\n");
}

void DecodeToolTest::decodes()
{
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(QString, text);
    const Run r = run(QStringList{file == QLatin1String("bpsk") ? bpsk_ : qpsk_} + options);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, text);
}

void DecodeToolTest::readouts()
{
    const Run r = run({bpsk_, QStringLiteral("--mode"), QStringLiteral("bpsk"), QStringLiteral("--speed"),
                       QStringLiteral("62.5"), QStringLiteral("--readouts")});
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(lines.last().startsWith(QStringLiteral("carrier 1733 Hz, S/N ")), qPrintable(lines.last()));
    QVERIFY(lines.last().contains(QStringLiteral(" dB, clock ")));
    QVERIFY(lines.last().endsWith(QStringLiteral(" ppm")));
}

void DecodeToolTest::help()
{
    const Run r = run({QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains(QStringLiteral("--carrier")));
    QVERIFY(r.out.contains(QStringLiteral("rtty-U")));
}

void DecodeToolTest::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("no file") << QStringList{"--mode", "bpsk"} << "name one recording";
    QTest::newRow("two files") << QStringList{"a.wav", "b.wav"} << "only one";
    QTest::newRow("unknown mode") << QStringList{"x.wav", "--mode", "olivia"} << "unknown mode 'olivia'";
    QTest::newRow("speed not a number") << QStringList{"x.wav", "--speed", "fast"} << "'fast' is no speed";
    QTest::newRow("negative speed") << QStringList{"x.wav", "--speed", "-5"} << "'-5' is no speed";
    QTest::newRow("carrier out of range") << QStringList{"x.wav", "--carrier", "9000"} << "'9000' is no carrier";
    QTest::newRow("afc maybe") << QStringList{"x.wav", "--afc", "maybe"} << "on or off";
    QTest::newRow("filter 4") << QStringList{"x.wav", "--filter", "4"} << "0, 1, 2 or 3";
    QTest::newRow("unknown option") << QStringList{"x.wav", "--volume", "3"} << "volume";
}

void DecodeToolTest::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, complaint);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(complaint), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
}

void DecodeToolTest::unreadableRecording()
{
    const QString notes = dir_.filePath(QStringLiteral("notes.wav"));
    QFile f(notes);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not audio at all");
    f.close();
    for (const QStringList &extra : {QStringList{}, QStringList{"--carrier", "1500"}}) {
        const Run r = run(QStringList{notes} + extra);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Cannot read the recording")) && r.err.contains(QStringLiteral("notes.wav")),
                 qPrintable(r.err));
    }
}

QTEST_GUILESS_MAIN(DecodeToolTest)
#include "tst_decodetool.moc"
