// Whole Cabrillo and ADIF files of a log, the cursor after an export, and writing the file.
#include "ExportError.h"
#include "FileSizeLimit.h"
#include "LogExport.h"
#include "ProgramFolder.h"
#include "QsoStore.h"
#include "SmallLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

cabrillo::Header contestHeader()
{
    cabrillo::Header h;
    h.contest = "RDXC";
    h.callsign = "R1-123";
    h.categoryOperator = "SINGLE-OP";
    h.categoryBand = "ALL";
    h.categoryMode = "MIXED";
    h.claimedScore = "8";
    h.email = "swl@example.org";
    h.name = "Ivan Petrov";
    h.address = QStringList{"Nevsky 1", "St Petersburg"};
    h.soapbox = "TNX";
    return h;
}

const QByteArray kCabrilloHeader = "START-OF-LOG: 3.0\r\n"
                                   "CONTEST: RDXC\r\n"
                                   "CALLSIGN: R1-123\r\n"
                                   "CATEGORY-OPERATOR: SINGLE-OP\r\n"
                                   "CATEGORY-BAND: ALL\r\n"
                                   "CATEGORY-MODE: MIXED\r\n"
                                   "CATEGORY-TRANSMITTER: SWL\r\n"
                                   "CLAIMED-SCORE: 8\r\n"
                                   "CREATED-BY: ORVO log v1.0\r\n"
                                   "EMAIL: swl@example.org\r\n"
                                   "NAME: Ivan Petrov\r\n"
                                   "ADDRESS: Nevsky 1\r\n"
                                   "ADDRESS: St Petersburg\r\n"
                                   "ADDRESS: \r\n"
                                   "ADDRESS: \r\n"
                                   "SOAPBOX: TNX\r\n";

const QByteArray kCabrilloQsos =
    "QSO: 28000 CW 2008-09-23 0711 UA1XYZ        599 001    UA2XYZ        599 001   \r\n"
    "QSO:  7000 PH 2008-09-23 0715 DL1ABC        59  012    OK1XYZ        57        \r\n"
    "QSO:  3500 DG 2008-09-24 2359 R9ABC/P       599 MOSCOW-CITY EA1A          599 0003  \r\n";

const QByteArray kAdifHeader = "<PROGRAMID:8>ORVO log\r\n<PROGRAMVERSION:3>1.0\r\n<ADIF_VER:3>2.0\r\n<EOH>\r\n";

const QByteArray kAdifRecords =
    "<OPERATOR:6>R1-123<CALL:6>UA1XYZ<QSO_DATE:8>20080923<TIME_ON:4>0711<FREQ:2>28<MODE:2>CW<RST_SENT:3>599"
    "<STX:3>001<RST_RCVD:3>599<SRX:3>001<COMMENT:6>UA2XYZ<QSLMSG:37>You WKD with UA2XYZ . PSE QSL TU 73!.<EOR>\r\n"
    "<OPERATOR:6>R1-123<CALL:6>DL1ABC<QSO_DATE:8>20080923<TIME_ON:4>0715<FREQ:1>7<MODE:3>SSB<RST_SENT:2>59"
    "<STX:0><RST_RCVD:2>57<SRX:3>012<COMMENT:6>OK1XYZ<QSLMSG:37>You WKD with OK1XYZ . PSE QSL TU 73!.<EOR>\r\n"
    "<OPERATOR:6>R1-123<CALL:7>R9ABC/P<QSO_DATE:8>20080924<TIME_ON:4>2359<FREQ:3>3.5<MODE:6>MFSK16"
    "<RST_SENT:3>599<STX:4>0003<RST_RCVD:3>599<SRX:11>MOSCOW-CITY<COMMENT:4>EA1A"
    "<QSLMSG:35>You WKD with EA1A . PSE QSL TU 73!.<EOR>\r\n";

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace

class LogExportTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void cabrilloFile();
    void adifFile();
    void emptyLog();
    void conversionStopsOnTheContact_data();
    void conversionStopsOnTheContact();
    void badInputKeepsOneLinePerRecord();
    void programFile_data();
    void programFile();
    void callsignWithSlash();
    void saveReplaces();
    void saveFailures();
    void failedSaveLeavesOldFile();

private:
    QsoStore &store(const QList<QsoRecord> &records = smalllog::contacts());

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QsoStore> store_;
};

void LogExportTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    programfolder::setPath(dir_->path());
}

void LogExportTest::cleanup()
{
    store_.reset();
    dir_.reset();
    programfolder::setPath(QString());
}

QsoStore &LogExportTest::store(const QList<QsoRecord> &records)
{
    const QString path = dir_->filePath("orvocontestlog.mdb");
    smalllog::create(path, records);
    store_ = std::make_unique<QsoStore>(path);
    store_->setCurrentRow(0);
    return *store_;
}

void LogExportTest::cabrilloFile()
{
    QsoStore &s = store();
    QCOMPARE(logexport::cabrilloFile(contestHeader(), s), kCabrilloHeader + kCabrilloQsos + "END-OF-LOG:\r\n");
    QCOMPARE(s.currentRow(), 2);
}

void LogExportTest::adifFile()
{
    QsoStore &s = store();
    QCOMPARE(logexport::adifFile("R1-123", s), kAdifHeader + kAdifRecords);
    QCOMPARE(s.currentRow(), 2);
}

void LogExportTest::emptyLog()
{
    QsoStore &s = store({});
    QCOMPARE(logexport::cabrilloFile(contestHeader(), s), kCabrilloHeader + "END-OF-LOG:\r\n");
    QCOMPARE(logexport::adifFile("R1-123", s), kAdifHeader);
    QCOMPARE(s.currentRow(), -1);
}

void LogExportTest::conversionStopsOnTheContact_data()
{
    QTest::addColumn<bool>("cabrillo");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("reason");
    QTest::newRow("Cabrillo, band") << true << "40M" << "2008-09-23" << "the band \"40M\" is not a number";
    QTest::newRow("Cabrillo, date") << true << "7" << "32.13.2008" << "the date \"32.13.2008\" is not a date";
    QTest::newRow("ADIF, date") << false << "7" << "someday" << "the date \"someday\" is not a date";
}

void LogExportTest::conversionStopsOnTheContact()
{
    QFETCH(bool, cabrillo);
    QFETCH(QString, band);
    QFETCH(QString, date);
    QFETCH(QString, reason);
    QList<QsoRecord> records = smalllog::contacts();
    records[1].QSOBand = band;
    records[1].data = date;
    QsoStore &s = store(records);
    try {
        if (cabrillo)
            logexport::cabrilloFile(contestHeader(), s);
        else
            logexport::adifFile("R1-123", s);
        QFAIL("the export did not stop");
    } catch (const ExportError &e) {
        const QString message = QString::fromUtf8(e.what());
        QCOMPARE(e.row(), 1);
        for (const QString &part : {date, QString("07:15"), QString("DL1ABC"), reason})
            QVERIFY2(message.contains(part), qPrintable(message));
    }
    QCOMPARE(s.currentRow(), 1);
}

void LogExportTest::badInputKeepsOneLinePerRecord()
{
    QList<QsoRecord> records = smalllog::contacts();
    records[0].call1 = "UA1\r\nXYZ";
    records[0].nr1 = QString(10000, '9');
    records[1].call2 = QString::fromUtf8("ОК1ХУЗ\t\"quoted\"\n");
    records[2].nr2 = "1\r2\n3\x0b" "4";
    cabrillo::Header header = contestHeader();
    header.contest = "RDXC\r\nEND-OF-LOG:";
    header.name = QString::fromUtf8("Иван\nПетров");
    header.soapbox = QString(10000, 'x');
    QsoStore &s = store(records);

    const QByteArray cbr = logexport::cabrilloFile(header, s);
    QVERIFY(cbr.endsWith("\r\n"));
    const QByteArrayList lines = cbr.chopped(1).split('\n');
    QCOMPARE(lines.size(), 16 + 3 + 1);
    for (const QByteArray &line : lines) {
        QVERIFY2(line.endsWith('\r'), line.left(60).constData());
        QVERIFY(!line.chopped(1).contains('\r'));
    }
    QCOMPARE(lines[1], QByteArray("CONTEST: RDXC END-OF-LOG:\r"));
    QCOMPARE(lines.last(), QByteArray("END-OF-LOG:\r"));

    const QByteArray adi = logexport::adifFile(QString::fromUtf8("Р1\r\n"), s);
    QCOMPARE(adi.count("\r\n"), 4 + 3);
    QCOMPARE(adi.count('\n'), 4 + 3);
    QCOMPARE(adi.count('\r'), 4 + 3);
}

void LogExportTest::programFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("callsign") << "R1-123" << "R1-123.cbr";
    QTest::newRow("empty callsign") << "" << ".cbr";
    QTest::newRow("trailing blank kept") << "R1-123 " << "R1-123 .cbr";
}

void LogExportTest::programFile()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(logexport::programFile(name, ".cbr"), QDir(dir_->path()).absolutePath() + "/" + file);
}

void LogExportTest::callsignWithSlash()
{
    try {
        logexport::programFile("DL/UA1XYZ", ".adi");
        QFAIL("a callsign with a slash made a path");
    } catch (const ExportError &e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains("DL/UA1XYZ"), e.what());
    }
}

void LogExportTest::saveReplaces()
{
    const QString path = dir_->filePath("R1.cbr");
    logexport::save(path, "first", "Cabrillo file");
    logexport::save(path, "second\r\n", "Cabrillo file");
    QCOMPARE(contents(path), QByteArray("second\r\n"));
}

void LogExportTest::saveFailures()
{
    const QString path = dir_->filePath("missing/R1.cbr");
    try {
        logexport::save(path, "x", "Cabrillo file");
        QFAIL("no error");
    } catch (const ExportError &e) {
        const QString message = QString::fromUtf8(e.what());
        const QString start = "Cannot write the Cabrillo file " + QDir::toNativeSeparators(path) + ": ";
        QVERIFY2(message.startsWith(start) && message.size() > start.size(), qPrintable(message));
    }
}

void LogExportTest::failedSaveLeavesOldFile()
{
    const QString path = dir_->filePath("R1.adi");
    logexport::save(path, "old", "ADIF file");
    {
        FileSizeLimit limit(1000);
        QVERIFY_THROWS_EXCEPTION(ExportError, logexport::save(path, QByteArray(5000, 'x'), "ADIF file"));
    }
    QCOMPARE(contents(path), QByteArray("old"));
    QCOMPARE(QDir(dir_->path()).entryList({"*.adi*"}, QDir::Files | QDir::Hidden), QStringList{"R1.adi"});
}

QTEST_GUILESS_MAIN(LogExportTest)
#include "tst_LogExport.moc"
