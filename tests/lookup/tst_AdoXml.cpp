#include "AdoXml.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(ORVO_SOURCE_DIR "/tests/lookup/fixtures/") + QLatin1String(name);
}

QByteArray fixtureBytes(const char *name)
{
    QFile f(fixture(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

QStringList columnNames(const adoxml::Recordset &r)
{
    QStringList names;
    for (const adoxml::Column &c : r.columns)
        names << c.name;
    return names;
}

QStringList column(const adoxml::Recordset &r, const QString &name)
{
    QStringList values;
    const int c = r.columnIndex(name);
    for (int row = 0; row < r.rows.size(); ++row)
        values << (r.rows[row][c] ? *r.rows[row][c] : QStringLiteral("<null>"));
    return values;
}

} // namespace

class AdoXmlTest : public QObject {
    Q_OBJECT
private slots:
    void readsAdoWrittenFile();
    void readsEncodings_data();
    void readsEncodings();
    void readsCodeBuiltRecordset();
    void readsAttributeReferencesAndEntities();
    void malformedFileNamesFileAndLine();
    void missingFileNamesFile();
    void fileWithoutRowsIsRefused();
    void writerRoundTrips();
    void writerFollowsAdoLayout();
};

void AdoXmlTest::readsAdoWrittenFile()
{
    const adoxml::Recordset r = adoxml::readFile(fixture("ado-example.xml"));
    QCOMPARE(columnNames(r), QStringList({"id", "Country", "PrefixList", "StartDate", "Status"}));
    QCOMPARE(column(r, "Country"),
             QStringList({"Federal Republic of Germany", QString::fromUtf8("Côte d'Ivoire"),
                          "Bosnia & Herzegovina <old>"}));
    QCOMPARE(column(r, "StartDate"),
             QStringList({"1990-10-03T00:00:00", "2008-09-23T00:00:00", "<null>"}));
    QCOMPARE(r.text(2, r.columnIndex("StartDate")), QString());
    QCOMPARE(r.columns[0].type, QStringLiteral("int"));
    QVERIFY(!r.columns[0].nullable);
    QVERIFY(r.columns[1].nullable);
    QVERIFY(r.columns[2].isLong);
    QCOMPARE(r.columnIndex("prefixlist"), 2);
}

void AdoXmlTest::readsEncodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QString::fromUtf8(fixtureBytes("ado-example.xml"));
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QStringEncoder le(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QTest::newRow("UTF-16LE with BOM") << QByteArray(le.encode(text));
    QStringEncoder be(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
    QTest::newRow("UTF-16BE with BOM") << QByteArray(be.encode(text));
    QTest::newRow("declaration") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n")
            + text.toUtf8();
}

void AdoXmlTest::readsEncodings()
{
    QFETCH(QByteArray, bytes);
    const adoxml::Recordset r = adoxml::read(bytes, QStringLiteral("x.xml"));
    QCOMPARE(r.rows.size(), 3);
    QCOMPARE(r.text(1, 1), QString::fromUtf8("Côte d'Ivoire"));
}

void AdoXmlTest::readsCodeBuiltRecordset()
{
    // Other prefixes, another root and row name, rows in rs:insert, an alias, a hidden column,
    // columns out of document order, forced nulls, an update and a delete.
    const adoxml::Recordset r = adoxml::readFile(fixture("code-built.xml"));
    QCOMPARE(columnNames(r), QStringList({"Call", "Start Date", "Zone"}));
    QCOMPARE(column(r, "Call"), QStringList({"UA1&A", "K1ABC", "DL1ABC", "NEW"}));
    QCOMPARE(column(r, "Start Date"),
             QStringList({"2020-01-02T00:00:00", "<null>", "<null>", "<null>"}));
    QCOMPARE(column(r, "Zone"), QStringList({"16", "5", "14", "1"}));
    QCOMPARE(r.columns[0].maxLength, 20);
    QVERIFY(!r.columns[2].nullable);
}

void AdoXmlTest::readsAttributeReferencesAndEntities()
{
    const adoxml::Recordset r = adoxml::readFile(fixture("references.xml"));
    QCOMPARE(columnNames(r), QStringList({"Country", "Prefix"}));
    QCOMPARE(column(r, "Country"), QStringList({"Germany", "<none> \"x\" 'y' AB"}));
    // An empty value is a value, not null.
    QCOMPARE(column(r, "Prefix"), QStringList({"DL", ""}));
}

void AdoXmlTest::malformedFileNamesFileAndLine()
{
    try {
        adoxml::readFile(fixture("malformed.xml"));
        QFAIL("a malformed file was read");
    } catch (const adoxml::Error &e) {
        QVERIFY2(e.message().contains(fixture("malformed.xml")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QLatin1String("line 10")), qPrintable(e.message()));
    }
}

void AdoXmlTest::missingFileNamesFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("CountryDataEx.xml");
    try {
        adoxml::readFile(path);
        QFAIL("a missing file was read");
    } catch (const adoxml::Error &e) {
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
    }
}

void AdoXmlTest::fileWithoutRowsIsRefused()
{
    QVERIFY_THROWS_EXCEPTION(adoxml::Error,
                             adoxml::read("<html><body>not a recordset</body></html>", "page.xml"));
}

void AdoXmlTest::writerRoundTrips()
{
    adoxml::Recordset r;
    r.columns = {{QStringLiteral("id"), QStringLiteral("int"), 0, false, false},
                 {QStringLiteral("Country"), QStringLiteral("string"), 0, false, true},
                 {QStringLiteral("PrefixList"), QStringLiteral("string"), 0, true, true},
                 {QStringLiteral("Start Date"), QStringLiteral("dateTime"), 0, false, true},
                 {QStringLiteral("country"), QStringLiteral("string"), 0, false, true}};
    r.rows = {{QStringLiteral("1"), QString::fromUtf8("Côte d'Ivoire & \"<x>\""),
               QStringLiteral("^(?:UA9|R[89])[0-9A-Z/]*$"), QStringLiteral("2008-09-23T00:00:00"),
               QString()},
              {QStringLiteral("2"), std::nullopt, QStringLiteral("line\tone\nline two\r"),
               std::nullopt, QStringLiteral("dup")}};
    const adoxml::Recordset back = adoxml::read(adoxml::write(r), QStringLiteral("written.xml"));
    QCOMPARE(columnNames(back), columnNames(r));
    QCOMPARE(back.rows, r.rows);
}

void AdoXmlTest::writerFollowsAdoLayout()
{
    adoxml::Recordset r;
    r.columns = {{QStringLiteral("Country"), QStringLiteral("string"), 0, false, true}};
    r.rows = {{QStringLiteral("Bell\x07 ringer")}};
    const QByteArray bytes = adoxml::write(r);
    QVERIFY2(bytes.startsWith("<xml xmlns:s=\"uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882\""),
             bytes.left(80).constData());
    QVERIFY(bytes.contains("<s:Schema id=\"RowsetSchema\">"));
    QVERIFY(bytes.contains("<s:extends type=\"rs:rowbase\"/>"));
    QVERIFY(bytes.contains("rs:nullable=\"true\""));
    QVERIFY(bytes.contains("dt:maxLength=\"11\""));
    // A control character is not allowed in XML at all; it is dropped.
    QCOMPARE(adoxml::read(bytes, "x.xml").text(0, 0), QStringLiteral("Bell ringer"));
}

QTEST_APPLESS_MAIN(AdoXmlTest)
#include "tst_AdoXml.moc"
