// orvo-export on a small log: the files it writes, its header values and its exit statuses.
#include "LogExport.h"
#include "QsoStore.h"
#include "SmallLog.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status;
    QByteArray err;
    QByteArray out;
};

Run run(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral(ORVO_DIST_DIR "/orvo-export"), arguments);
    if (!p.waitForFinished(30000))
        return {-1, "did not finish", {}};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError(),
            p.readAllStandardOutput()};
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace

class OrvoExportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cabrillo();
    void cabrilloDefaults();
    void adif();
    void help();
    void badArguments_data();
    void badArguments();
    void unreadableLog();

private:
    QString file(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void OrvoExportTest::initTestCase()
{
    smalllog::create(file("orvocontestlog.mdb"));
    QFile ini(file("Options.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Directories]\nCALLSIGN=R1-123\nNAME=Ivan Petrov\nADDRESS1=Nevsky 1\nADDRESS2=St Petersburg\n"
              "EMAIL=swl@example.org\nSOAPBOX=TNX\n");
}

void OrvoExportTest::cabrillo()
{
    const Run r = run({"cabrillo", "--log", file("orvocontestlog.mdb"), "--out", file("out.cbr"), "--options",
                       file("Options.ini"), "--set", "CONTEST=RDXC", "--set", "CATEGORY-OPERATOR=SINGLE-OP",
                       "--set", "CLAIMED-SCORE=123", "--set", "ADDRESS3=Russia", "--set", "LOCATION=RU"});
    QVERIFY2(r.status == 0, r.err.constData());
    const QByteArray cbr = contents(file("out.cbr"));

    // The same bytes as the window's writer gives for these values.
    cabrillo::Header h;
    h.contest = "RDXC";
    h.callsign = "R1-123";
    h.categoryOperator = "SINGLE-OP";
    h.claimedScore = "123";
    h.location = "RU";
    h.email = "swl@example.org";
    h.name = "Ivan Petrov";
    h.address = QStringList{"Nevsky 1", "St Petersburg", "Russia", ""};
    h.soapbox = "TNX";
    QsoStore store(file("orvocontestlog.mdb"));
    QCOMPARE(cbr, logexport::cabrilloFile(h, store));
    QVERIFY(cbr.contains("\r\nCLAIMED-SCORE: 123\r\nLOCATION: RU\r\n"));
    QVERIFY(cbr.contains("\r\nQSO: 28000 CW 2008-09-23 0711 UA1XYZ        599 001    UA2XYZ        599 001   \r\n"));
}

void OrvoExportTest::cabrilloDefaults()
{
    const Run r = run({"cabrillo", "--log", file("orvocontestlog.mdb"), "--out", file("plain.cbr"), "--options",
                       file("Options.ini")});
    QVERIFY2(r.status == 0, r.err.constData());
    const QByteArray cbr = contents(file("plain.cbr"));
    // Two contacts with a number and one without: 3 + 1 + 3.
    QVERIFY2(cbr.contains("\r\nCLAIMED-SCORE: 7\r\n"), cbr.constData());
    QVERIFY(cbr.contains("\r\nCATEGORY-TRANSMITTER: SWL\r\n"));
    QVERIFY(cbr.contains("\r\nCONTEST: \r\n"));
    QVERIFY(!cbr.contains("LOCATION:"));
}

void OrvoExportTest::adif()
{
    const Run fromIni = run({"adif", "--log", file("orvocontestlog.mdb"), "--out", file("out.adi"), "--options",
                             file("Options.ini")});
    QVERIFY2(fromIni.status == 0, fromIni.err.constData());
    QsoStore store(file("orvocontestlog.mdb"));
    QCOMPARE(contents(file("out.adi")), logexport::adifFile("R1-123", store));

    const Run overridden = run({"adif", "--log", file("orvocontestlog.mdb"), "--out", file("out.adi"),
                                "--options", file("Options.ini"), "--set", "CALLSIGN=UA1ABC "});
    QVERIFY2(overridden.status == 0, overridden.err.constData());
    QCOMPARE(contents(file("out.adi")), logexport::adifFile("UA1ABC ", store));
}

void OrvoExportTest::help()
{
    const Run r = run({"--help"});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.contains("cabrillo") && r.out.contains("--set"));
}

void OrvoExportTest::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("complaint");
    const QString log = file("orvocontestlog.mdb");
    const QString out = file("never.cbr");
    QTest::newRow("no format") << QStringList{"--log", log, "--out", out} << QByteArray("cabrillo or adif");
    QTest::newRow("unknown format") << QStringList{"csv", "--log", log, "--out", out}
                                    << QByteArray("cabrillo or adif");
    QTest::newRow("no log") << QStringList{"cabrillo", "--out", out} << QByteArray("--log");
    QTest::newRow("no out") << QStringList{"cabrillo", "--log", log} << QByteArray("--out");
    QTest::newRow("unknown option") << QStringList{"cabrillo", "--log", log, "--out", out, "--frobnicate"}
                                    << QByteArray("frobnicate");
    QTest::newRow("set without =") << QStringList{"cabrillo", "--log", log, "--out", out, "--set", "CONTEST"}
                                   << QByteArray("TAG=VALUE");
    QTest::newRow("unknown tag") << QStringList{"cabrillo", "--log", log, "--out", out, "--set", "BAND=40M"}
                                 << QByteArray("unknown tag BAND");
    QTest::newRow("ADIF takes only CALLSIGN")
        << QStringList{"adif", "--log", log, "--out", out, "--set", "CONTEST=RDXC"} << QByteArray("unknown tag");
    QTest::newRow("missing settings file")
        << QStringList{"cabrillo", "--log", log, "--out", out, "--options", file("none.ini")}
        << QByteArray("none.ini");
}

void OrvoExportTest::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, complaint);
    const Run r = run(arguments);
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(complaint), r.err.constData());
    QVERIFY(!QFile::exists(file("never.cbr")));
}

void OrvoExportTest::unreadableLog()
{
    const Run r = run({"cabrillo", "--log", file("nolog.mdb"), "--out", file("never.cbr")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("nolog.mdb"), r.err.constData());
    QVERIFY(!QFile::exists(file("never.cbr")));
}

QTEST_GUILESS_MAIN(OrvoExportTest)
#include "tst_OrvoExport.moc"
