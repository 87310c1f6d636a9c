// The columns of a QSO line and the header lines of a Cabrillo file.
#include "CabrilloFormat.h"
#include "CabrilloHeader.h"
#include "ExportError.h"
#include "LogDate.h"

#include <QTest>

Q_DECLARE_METATYPE(QsoRecord)
Q_DECLARE_METATYPE(cabrillo::Header)

namespace {

QsoRecord contact(const QString &call1, const QString &rst1, const QString &nr1, const QString &call2,
                  const QString &rst2, const QString &nr2)
{
    QsoRecord r;
    r.data = logdate::toText(QDate(2008, 9, 23));
    r.time = QStringLiteral("07:11");
    r.QSOBand = QStringLiteral("28");
    r.mode = QStringLiteral("CW");
    r.call1 = call1;
    r.rst1 = rst1;
    r.nr1 = nr1;
    r.call2 = call2;
    r.rst2 = rst2;
    r.nr2 = nr2;
    return r;
}

} // namespace

class CabrilloFormatTest : public QObject {
    Q_OBJECT
private slots:
    void bandToFreq_data();
    void bandToFreq();
    void badBand_data();
    void badBand();
    void modeToCabrillo_data();
    void modeToCabrillo();
    void dateToCabrillo_data();
    void dateToCabrillo();
    void badDate();
    void timeToHHMM_data();
    void timeToHHMM();
    void padToWidth_data();
    void padToWidth();
    void qsoLine_data();
    void qsoLine();
    void bandFailsBeforeDate();
    void headerLines_data();
    void headerLines();
    void setHeaderValue_data();
    void setHeaderValue();
};

void CabrilloFormatTest::bandToFreq_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("freq");
    QTest::newRow("1.8") << "1.8" << " 1800";
    QTest::newRow("3.5") << "3.5" << " 3500";
    QTest::newRow("7") << "7" << " 7000";
    QTest::newRow("edit dialog's \" 7\"") << " 7" << " 7000";
    QTest::newRow("trailing blank") << "14 " << "14000";
    QTest::newRow("14") << "14" << "14000";
    QTest::newRow("21") << "21" << "21000";
    QTest::newRow("28") << "28" << "28000";
    QTest::newRow("fraction of a kHz") << "7.0305" << " 7030.5";
    QTest::newRow("8 MHz has no blank") << "8" << "8000";
}

void CabrilloFormatTest::bandToFreq()
{
    QFETCH(QString, band);
    QFETCH(QString, freq);
    QCOMPARE(cabrillo::BandToFreq(band), freq);
}

void CabrilloFormatTest::badBand_data()
{
    QTest::addColumn<QString>("band");
    QTest::newRow("empty") << "";
    QTest::newRow("letters") << "40M";
    QTest::newRow("comma as separator") << "3,5";
    QTest::newRow("infinity") << "inf";
}

void CabrilloFormatTest::badBand()
{
    QFETCH(QString, band);
    QVERIFY_THROWS_EXCEPTION(ConversionError, cabrillo::BandToFreq(band));
}

void CabrilloFormatTest::modeToCabrillo_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("code");
    QTest::newRow("CW") << "CW" << "CW";
    QTest::newRow("SSB") << "SSB" << "PH";
    QTest::newRow("RTTY") << "RTTY" << "RY";
    QTest::newRow("BPSK31") << "BPSK31" << "PS";
    QTest::newRow("BPSK63") << "BPSK63" << "PM";
    QTest::newRow("BPSK125") << "BPSK125" << "PO";
    QTest::newRow("QPSK31 is digital") << "QPSK31" << "DG";
    QTest::newRow("MFSK16 is digital") << "MFSK16" << "DG";
    QTest::newRow("decoder's name") << "BPSK250" << "DG";
    QTest::newRow("case counts") << "cw" << "DG";
    QTest::newRow("empty") << "" << "DG";
}

void CabrilloFormatTest::modeToCabrillo()
{
    QFETCH(QString, mode);
    QFETCH(QString, code);
    QCOMPARE(cabrillo::ModeToCabrillo(mode), code);
}

void CabrilloFormatTest::dateToCabrillo_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("cabrillo");
    QTest::newRow("the log's own form") << logdate::toText(QDate(2008, 9, 23)) << "2008-09-23";
    QTest::newRow("with a time part") << "2008-09-03 00:00:00" << "2008-09-03";
    QTest::newRow("ISO") << "2024-01-05" << "2024-01-05";
    QTest::newRow("day.month.year") << "05.01.2024" << "2024-01-05";
}

void CabrilloFormatTest::dateToCabrillo()
{
    QFETCH(QString, date);
    QFETCH(QString, cabrillo);
    QCOMPARE(cabrillo::DateToCabrillo(date), cabrillo);
}

void CabrilloFormatTest::badDate()
{
    for (const char *text : {"", "yesterday", "31.02.2008"})
        QVERIFY_THROWS_EXCEPTION(ConversionError, cabrillo::DateToCabrillo(QString::fromLatin1(text)));
}

void CabrilloFormatTest::timeToHHMM_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("hhmm");
    QTest::newRow("hh:nn") << "07:11" << "0711";
    QTest::newRow("not checked: the third character goes") << "7:11" << "7:1";
    QTest::newRow("two characters") << "07" << "07";
    QTest::newRow("empty") << "" << "";
}

void CabrilloFormatTest::timeToHHMM()
{
    QFETCH(QString, time);
    QFETCH(QString, hhmm);
    QCOMPARE(cabrillo::TimeToHHMM(time), hhmm);
}

void CabrilloFormatTest::padToWidth_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("padded");
    QTest::newRow("shorter") << "599" << 6 << "599   ";
    QTest::newRow("as long") << "599" << 3 << "599";
    QTest::newRow("longer, not cut") << "1234567" << 6 << "1234567";
    QTest::newRow("empty") << "" << 3 << "   ";
    QTest::newRow("Cyrillic counts characters") << QString::fromUtf8("УА1ХУЗ") << 8 << QString::fromUtf8("УА1ХУЗ  ");
}

void CabrilloFormatTest::padToWidth()
{
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(QString, padded);
    QCOMPARE(cabrillo::PadToWidth(value, width), padded);
}

void CabrilloFormatTest::qsoLine_data()
{
    QTest::addColumn<QsoRecord>("record");
    QTest::addColumn<QString>("line");
    QTest::newRow("the template's example")
        << contact("UA1XYZ", "599", "001", "UA2XYZ", "599", "001")
        << "QSO: 28000 CW 2008-09-23 0711 UA1XYZ        599 001    UA2XYZ        599 001   ";
    QTest::newRow("call of 13 is followed by one blank")
        << contact("AAAAAAAAA1AAA", "599", "001", "UA2XYZ", "599", "001")
        << "QSO: 28000 CW 2008-09-23 0711 AAAAAAAAA1AAA 599 001    UA2XYZ        599 001   ";
    QTest::newRow("call of 14 runs into its report")
        << contact("AAAAAAAAA1AAAA", "599", "001", "UA2XYZ", "599", "001")
        << "QSO: 28000 CW 2008-09-23 0711 AAAAAAAAA1AAAA599 001    UA2XYZ        599 001   ";
    QTest::newRow("report of one character")
        << contact("UA1XYZ", "5", "001", "UA2XYZ", "599", "001")
        << "QSO: 28000 CW 2008-09-23 0711 UA1XYZ        5   001    UA2XYZ        599 001   ";
    QTest::newRow("long exchange shifts the rest")
        << contact("UA1XYZ", "599", "1234567", "UA2XYZ", "599", "MOSCOW-CITY")
        << "QSO: 28000 CW 2008-09-23 0711 UA1XYZ        599 1234567 UA2XYZ        599 MOSCOW-CITY";
    QTest::newRow("empty worked station")
        << contact("UA1XYZ", "599", "001", "", "", "")
        << "QSO: 28000 CW 2008-09-23 0711 UA1XYZ        599 001                            ";
    QTest::newRow("line breaks become blanks")
        << contact("UA1\r\nXYZ", "5\n9", "0\r1", "UA2XYZ", "599", "001")
        << "QSO: 28000 CW 2008-09-23 0711 UA1 XYZ       5 9 0 1    UA2XYZ        599 001   ";
    QTest::newRow("quotes and tabs stay")
        << contact("\"UA1XYZ\"", "599", "0\t1", "UA2XYZ", "599", "001")
        << "QSO: 28000 CW 2008-09-23 0711 \"UA1XYZ\"      599 0\t1    UA2XYZ        599 001   ";
    QTest::newRow("Cyrillic call keeps its columns")
        << contact(QString::fromUtf8("УА1ХУЗ"), "599", "001", "UA2XYZ", "599", "001")
        << QString::fromUtf8("QSO: 28000 CW 2008-09-23 0711 УА1ХУЗ        599 001    UA2XYZ        599 001   ");
    QsoRecord low = contact("UA1XYZ", "599", "001", "UA2XYZ", "599", "001");
    low.QSOBand = QStringLiteral(" 7");
    low.mode = QStringLiteral("SSB");
    low.time = QStringLiteral("23:59");
    QTest::newRow("low band, phone")
        << low << "QSO:  7000 PH 2008-09-23 2359 UA1XYZ        599 001    UA2XYZ        599 001   ";
}

void CabrilloFormatTest::qsoLine()
{
    QFETCH(QsoRecord, record);
    QFETCH(QString, line);
    const QString got = cabrillo::qsoLine(record);
    QCOMPARE(got, line);
}

void CabrilloFormatTest::bandFailsBeforeDate()
{
    QsoRecord r = contact("UA1XYZ", "599", "001", "UA2XYZ", "599", "001");
    r.QSOBand = QStringLiteral("x");
    r.data = QStringLiteral("y");
    try {
        cabrillo::qsoLine(r);
        QFAIL("no error");
    } catch (const ConversionError &e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(QStringLiteral("band")), e.what());
    }
}

void CabrilloFormatTest::headerLines_data()
{
    QTest::addColumn<cabrillo::Header>("header");
    QTest::addColumn<QStringList>("lines");

    const QStringList fresh{
        "START-OF-LOG: 3.0", "CONTEST: ", "CALLSIGN: ", "CATEGORY-OPERATOR: ", "CATEGORY-BAND: ",
        "CATEGORY-MODE: ", "CATEGORY-TRANSMITTER: SWL", "CLAIMED-SCORE: 0", "CREATED-BY: ORVO log v1.0",
        "EMAIL: ", "NAME: ", "ADDRESS: ", "ADDRESS: ", "ADDRESS: ", "ADDRESS: ", "SOAPBOX: ",
    };
    QTest::newRow("new header: no LOCATION, empty tags keep their blank") << cabrillo::Header{} << fresh;

    cabrillo::Header full;
    full.contest = "RDXC";
    full.callsign = "R1-123 ";
    full.categoryOperator = "SINGLE-OP";
    full.categoryBand = "40M";
    full.categoryMode = "CW";
    full.claimedScore = "123";
    full.location = "RU";
    full.email = "op@example.org";
    full.name = "Ivan";
    full.address = QStringList{"Nevsky 1", "St Petersburg"};
    full.soapbox = "73";
    QTest::newRow("filled, two address lines")
        << full
        << QStringList{"START-OF-LOG: 3.0", "CONTEST: RDXC", "CALLSIGN: R1-123 ", "CATEGORY-OPERATOR: SINGLE-OP",
                       "CATEGORY-BAND: 40M", "CATEGORY-MODE: CW", "CATEGORY-TRANSMITTER: SWL", "CLAIMED-SCORE: 123",
                       "LOCATION: RU", "CREATED-BY: ORVO log v1.0", "EMAIL: op@example.org", "NAME: Ivan",
                       "ADDRESS: Nevsky 1", "ADDRESS: St Petersburg", "ADDRESS: ", "ADDRESS: ", "SOAPBOX: 73"};

    cabrillo::Header six;
    six.address = QStringList{"1", "2", "3", "4", "5", "6"};
    QStringList sixLines = fresh;
    for (int i = 0; i < 4; ++i)
        sixLines[11 + i] = "ADDRESS: " + QString::number(i + 1);
    QTest::newRow("six address lines: four written") << six << sixLines;

    cabrillo::Header broken;
    broken.contest = "RDXC\r\nCONTEST: fake";
    broken.soapbox = "a\nb\rc";
    broken.location = " ";
    QStringList brokenLines = fresh;
    brokenLines[1] = "CONTEST: RDXC CONTEST: fake";
    brokenLines.insert(8, "LOCATION:  ");
    brokenLines.last() = "SOAPBOX: a b c";
    QTest::newRow("line breaks become blanks; a blank LOCATION is written") << broken << brokenLines;
}

void CabrilloFormatTest::headerLines()
{
    QFETCH(cabrillo::Header, header);
    QFETCH(QStringList, lines);
    QCOMPARE(cabrillo::headerLines(header), lines);
}

void CabrilloFormatTest::setHeaderValue_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("known");
    QTest::addColumn<int>("line");   // index into headerLines, LOCATION being set
    QTest::newRow("CONTEST") << "CONTEST" << true << 1;
    QTest::newRow("CATEGORY-OPERATOR") << "CATEGORY-OPERATOR" << true << 3;
    QTest::newRow("CLAIMED-SCORE") << "CLAIMED-SCORE" << true << 7;
    QTest::newRow("LOCATION") << "LOCATION" << true << 8;
    QTest::newRow("ADDRESS3") << "ADDRESS3" << true << 14;
    QTest::newRow("SOAPBOX") << "SOAPBOX" << true << 16;
    QTest::newRow("plain ADDRESS is no tag") << "ADDRESS" << false << -1;
    QTest::newRow("with its colon") << "CONTEST:" << false << -1;
    QTest::newRow("lower case") << "contest" << false << -1;
    QTest::newRow("START-OF-LOG") << "START-OF-LOG" << false << -1;
}

void CabrilloFormatTest::setHeaderValue()
{
    QFETCH(QString, tag);
    QFETCH(bool, known);
    QFETCH(int, line);
    cabrillo::Header h;
    h.location = QStringLiteral("L");
    QCOMPARE(cabrillo::setHeaderValue(h, tag, QStringLiteral("VALUE")), known);
    if (known)
        QVERIFY2(cabrillo::headerLines(h)[line].endsWith(QStringLiteral(": VALUE")),
                 qPrintable(cabrillo::headerLines(h)[line]));
    else
        QVERIFY(!cabrillo::headerLines(h).join('\n').contains(QStringLiteral("VALUE")));
}

QTEST_GUILESS_MAIN(CabrilloFormatTest)
#include "tst_CabrilloFormat.moc"
