// The header and the record lines of an ADIF file.
#include "AdifFormat.h"
#include "ExportError.h"
#include "LogDate.h"

#include <QTest>

Q_DECLARE_METATYPE(QsoRecord)

namespace {

QsoRecord example()
{
    QsoRecord r;
    r.data = logdate::toText(QDate(2008, 9, 23));
    r.time = QStringLiteral("07:11");
    r.QSOBand = QStringLiteral("28");
    r.mode = QStringLiteral("CW");
    r.call1 = QStringLiteral("UA1XYZ");
    r.rst1 = QStringLiteral("599");
    r.nr1 = QStringLiteral("001");
    r.call2 = QStringLiteral("UA2XYZ");
    r.rst2 = QStringLiteral("598");
    r.nr2 = QStringLiteral("002");
    return r;
}

// The data of each field of a record line, by name, read the way an ADIF reader reads it:
// the length counts bytes.
QMap<QByteArray, QByteArray> parse(const QByteArray &line)
{
    QMap<QByteArray, QByteArray> fields;
    qsizetype at = 0;
    while ((at = line.indexOf('<', at)) >= 0) {
        const qsizetype close = line.indexOf('>', at);
        const QByteArray tag = line.mid(at + 1, close - at - 1);
        const qsizetype colon = tag.indexOf(':');
        if (colon < 0) {
            fields.insert(tag, QByteArray());
            at = close + 1;
            continue;
        }
        const int length = tag.mid(colon + 1).toInt();
        fields.insert(tag.left(colon), line.mid(close + 1, length));
        at = close + 1 + length;
    }
    return fields;
}

} // namespace

class AdifFormatTest : public QObject {
    Q_OBJECT
private slots:
    void header();
    void exampleRecord();
    void fields_data();
    void fields();
    void lengthsMatchData_data();
    void lengthsMatchData();
    void dateToAdif_data();
    void dateToAdif();
    void badDate();
};

void AdifFormatTest::header()
{
    QCOMPARE(adif::headerLines(),
             (QByteArrayList{"<PROGRAMID:8>ORVO log", "<PROGRAMVERSION:3>1.0", "<ADIF_VER:3>2.0", "<EOH>"}));
}

void AdifFormatTest::exampleRecord()
{
    QCOMPARE(adif::recordLine(QStringLiteral("R1-123"), example()),
             QByteArray("<OPERATOR:6>R1-123<CALL:6>UA1XYZ<QSO_DATE:8>20080923<TIME_ON:4>0711<FREQ:2>28<MODE:2>CW"
                        "<RST_SENT:3>599<STX:3>002<RST_RCVD:3>598<SRX:3>001<COMMENT:6>UA2XYZ"
                        "<QSLMSG:37>You WKD with UA2XYZ . PSE QSL TU 73!.<EOR>"));
}

void AdifFormatTest::fields_data()
{
    QTest::addColumn<QString>("operatorCall");
    QTest::addColumn<QsoRecord>("record");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("piece");

    QsoRecord r = example();
    QTest::newRow("empty Your Call") << "" << r << QByteArray("OPERATOR") << QByteArray("<OPERATOR:0>");
    QTest::newRow("Your Call keeps its trailing blank") << "R1-123 " << r << QByteArray("OPERATOR")
                                                        << QByteArray("<OPERATOR:7>R1-123 ");
    r = example();
    r.QSOBand = QStringLiteral(" 7");
    QTest::newRow("band \" 7\" trimmed") << "R1" << r << QByteArray("FREQ") << QByteArray("<FREQ:1>7");
    r = example();
    r.call2.clear();
    QTest::newRow("empty call2: COMMENT") << "R1" << r << QByteArray("COMMENT") << QByteArray("<COMMENT:0>");
    QTest::newRow("empty call2: QSLMSG")
        << "R1" << r << QByteArray("QSLMSG") << QByteArray("<QSLMSG:31>You WKD with  . PSE QSL TU 73!.");
    r = example();
    r.call1 = QStringLiteral("\t UA1XYZ \x01");
    QTest::newRow("blanks and controls trimmed") << "R1" << r << QByteArray("CALL") << QByteArray("<CALL:6>UA1XYZ");
    r = example();
    r.nr1 = QStringLiteral(" MOSCOW CITY ");
    QTest::newRow("inner blanks stay") << "R1" << r << QByteArray("SRX") << QByteArray("<SRX:11>MOSCOW CITY");
    r = example();
    r.mode = QStringLiteral("MFSK16");
    QTest::newRow("mode as stored") << "R1" << r << QByteArray("MODE") << QByteArray("<MODE:6>MFSK16");
    r = example();
    r.call2 = QString::fromUtf8("УА2ХУЗ");
    QTest::newRow("Cyrillic counts bytes")
        << "R1" << r << QByteArray("COMMENT") << QString::fromUtf8("<COMMENT:11>УА2ХУЗ").toUtf8();
    r = example();
    r.call1 = QStringLiteral("UA1\r\nXYZ");
    QTest::newRow("line break inside becomes a blank") << "R1" << r << QByteArray("CALL")
                                                       << QByteArray("<CALL:7>UA1 XYZ");
}

void AdifFormatTest::fields()
{
    QFETCH(QString, operatorCall);
    QFETCH(QsoRecord, record);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, piece);
    const QByteArray line = adif::recordLine(operatorCall, record);
    QVERIFY2(line.contains(piece), line.constData());
    // The piece is the whole field: the next tag follows it.
    QCOMPARE(line.at(line.indexOf(piece) + piece.size()), '<');
    QVERIFY(!line.contains('\n') && !line.contains('\r'));
}

void AdifFormatTest::lengthsMatchData_data()
{
    QTest::addColumn<QsoRecord>("record");
    QTest::addColumn<QString>("operatorCall");
    QsoRecord r = example();
    QTest::newRow("plain") << r << "R1";
    r.call1 = QString(10000, QLatin1Char('A'));
    r.nr1 = QString::fromUtf8("Санкт-Петербург \"<EOR>\"");
    r.call2 = QString::fromUtf8("DL/UA1XYZ \U0001F600");
    QTest::newRow("long, non-ASCII, a tag inside") << r << QString::fromUtf8("Ё\tR1");
}

void AdifFormatTest::lengthsMatchData()
{
    QFETCH(QsoRecord, record);
    QFETCH(QString, operatorCall);
    const QMap<QByteArray, QByteArray> f = parse(adif::recordLine(operatorCall, record));
    QCOMPARE(f.keys().size(), 13);
    QCOMPARE(QString::fromUtf8(f["OPERATOR"]), operatorCall);
    QCOMPARE(QString::fromUtf8(f["CALL"]), record.call1.trimmed());
    QCOMPARE(QString::fromUtf8(f["SRX"]), record.nr1);
    QCOMPARE(QString::fromUtf8(f["COMMENT"]), record.call2);
    QCOMPARE(QString::fromUtf8(f["QSLMSG"]), "You WKD with " + record.call2 + " . PSE QSL TU 73!.");
    QVERIFY(f.contains("EOR"));
}

void AdifFormatTest::dateToAdif_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("adif");
    QTest::newRow("the log's own form") << logdate::toText(QDate(2008, 9, 23)) << "20080923";
    QTest::newRow("with a time part") << "2008-09-03 12:00:00" << "20080903";
    QTest::newRow("ISO") << "2024-01-05" << "20240105";
}

void AdifFormatTest::dateToAdif()
{
    QFETCH(QString, date);
    QFETCH(QString, adif);
    QCOMPARE(adif::DateToAdif(date), adif);
}

void AdifFormatTest::badDate()
{
    QsoRecord r = example();
    r.data = QStringLiteral("31.02.2008");
    QVERIFY_THROWS_EXCEPTION(ConversionError, adif::recordLine(QStringLiteral("R1"), r));
    QVERIFY_THROWS_EXCEPTION(ConversionError, adif::DateToAdif(QString()));
}

QTEST_GUILESS_MAIN(AdifFormatTest)
#include "tst_AdifFormat.moc"
