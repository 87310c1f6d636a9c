#include "CountryLookup.h"
#include "CtyFile.h"
#include "OblastTable.h"
#include "TableGenerator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(ORVO_SOURCE_DIR "/tests/lookup/fixtures/") + QLatin1String(name);
}

QStringList find(CountryLookup &lookup, const QString &call)
{
    QStringList o(6);
    lookup.FindCountry(call, o[0], o[1], o[2], o[3], o[4], o[5]);
    return o;
}

} // namespace

class TableGeneratorTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void placesCalls_data();
    void placesCalls();
    void agreesWithTheLongestPrefixReading();
    void writesRussiaDom();
    void convertsPositionsAndNumbers();
    void refusesBrokenInput_data();
    void refusesBrokenInput();

private:
    QList<cty::Entity> entities;
    GeneratedTables tables;
    QTemporaryDir dir;
    CountryLookup lookup;
};

void TableGeneratorTest::initTestCase()
{
    entities = cty::readCtyFiles(fixture("cty-excerpt.dat"), fixture("cty-excerpt.csv"));
    tables = generateTables(entities, readOblastTable(fixture("oblasts-excerpt.csv")));
    writeTables(tables, dir.path());
    QCOMPARE(lookup.load(dir.path()), QStringList());
}

void TableGeneratorTest::placesCalls_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QStringList>("outputs");
    const auto row = [](const char *dxcc, const char *name, const char *cq, const char *itu, const char *cont,
                        const char *prefix) { return QStringList{dxcc, name, cq, itu, cont, prefix}; };
    QTest::newRow("oblast key") << "UA1ABC" << row("UA1", "Saint Petersburg (city)", "16", "29", "EU", "UA1A");
    QTest::newRow("oblast, RA prefix, second key") << "RA1BCD" << row("UA1", "Saint Petersburg (city)", "16", "29", "EU", "UA1B");
    QTest::newRow("oblast, R prefix") << "R1AB" << row("UA1", "Saint Petersburg (city)", "16", "29", "EU", "UA1A");
    QTest::newRow("Kaliningrad, any suffix") << "UA2ABC" << row("UA2", "Kaliningrad Oblast", "15", "29", "EU", "UA2");
    QTest::newRow("Kaliningrad, RA2") << "RA2AB" << row("UA2", "Kaliningrad Oblast", "15", "29", "EU", "UA2");
    QTest::newRow("Kaliningrad, R2F") << "R2FAB" << row("UA2", "Kaliningrad Oblast", "15", "29", "EU", "UA2");
    QTest::newRow("R2A is Moscow") << "R2AB" << row("UA1", "Moscow (city)", "16", "29", "EU", "UA2A");
    QTest::newRow("no key for the call") << "RN2FA" << row("UA1", "European Russia", "16", "29", "EU", "UA1");
    QTest::newRow("oblast with zone override") << "UA1NAB" << row("UA1", "Republic of Karelia", "16", "19", "EU", "UA1N");
    QTest::newRow("European oblast in area 9") << "UA9XAB" << row("UA1", "Komi Republic", "17", "20", "EU", "UA9X");
    QTest::newRow("Asiatic oblast") << "UA9AAB" << row("UA9", "Chelyabinsk Oblast", "17", "30", "AS", "UA9A");
    QTest::newRow("longer prefix wins: UA9 over U") << "UA9BAB" << row("UA9", "Asiatic Russia", "17", "30", "AS", "UA9");
    QTest::newRow("zone override row") << "UA0ABC" << row("UA9", "Asiatic Russia", "19", "34", "AS", "UA9");
    QTest::newRow("R prefix, no key") << "R100RK" << row("UA1", "European Russia", "16", "29", "EU", "UA1");
    QTest::newRow("longer prefix of another entity inside an oblast key") << "RI1ANA" << row("CE9", "Antarctica", "13", "74", "SA", "CE9");
    QTest::newRow("oblast key beside the longer prefix") << "RI1AB" << row("UA1", "Saint Petersburg (city)", "16", "29", "EU", "UA1A");
    QTest::newRow("exact call with zones") << "R1ANC" << row("CE9", "Antarctica", "38", "67", "SA", "CE9");
    QTest::newRow("exact call with suffixes") << "RA3CQ/9/M" << row("UA1", "European Russia", "17", "20", "EU", "UA1");
    QTest::newRow("exact call beats its prefix") << "K1ABC" << row("KH6", "Hawaii", "31", "61", "OC", "KH6");
    QTest::newRow("plain US call") << "K1ABD" << row("K", "United States", "5", "8", "NA", "K");
    QTest::newRow("US zone override") << "W6XYZ" << row("K", "United States", "3", "6", "NA", "K");
    QTest::newRow("two-letter prefix") << "KH6ABC" << row("KH6", "Hawaii", "31", "61", "OC", "KH6");
    QTest::newRow("Germany") << "DL1ABC" << row("DL", "Fed. Rep. of Germany", "14", "28", "EU", "DL");
    QTest::newRow("entity of whole calls only") << "3D2C" << row("3D2/c", "Conway Reef", "32", "56", "OC", "3D2/c");
    QTest::newRow("call listed twice: first entity") << "4U1A" << row("4U1V", "Vienna Intl Ctr", "15", "28", "EU", "4U1V");
    QTest::newRow("unknown prefix") << "ZZ1ABC" << QStringList(6);
}

void TableGeneratorTest::placesCalls()
{
    QFETCH(QString, call);
    QFETCH(QStringList, outputs);
    QCOMPARE(find(lookup, call), outputs);
}

// Every listed prefix, and every start the oblast keys use, with a few endings: the tables give
// the entity and zones of the longest-prefix reading. (The excerpt lists the zone overrides of
// Karelia and Komi for R and UA only, so the other starts of their keys UA1N and UA9X, where the
// oblast's zones are meant to differ from the excerpt's, are left out here.)
void TableGeneratorTest::agreesWithTheLongestPrefixReading()
{
    const cty::Reading reading(entities);
    QStringList starts;
    for (const cty::Entity &e : entities)
        for (const cty::Entry &x : e.entries)
            starts << x.text;
    for (const char *letters : {"R", "RA", "RI", "RN", "U", "UA", "UB"})
        for (const char *rest : {"1A", "1B", "1C", "2", "2A", "2F", "3A", "8A", "9A", "0A"})
            starts << QLatin1String(letters) + QLatin1String(rest);
    int checked = 0;
    for (const QString &s : std::as_const(starts)) {
        for (const char *ending : {"", "A", "AB", "1AB", "NA", "/P"}) {
            const QString call = s + QLatin1String(ending);
            const cty::Placement p = reading.place(call);
            const QStringList o = find(lookup, call);
            const QStringList expected = p.entity < 0
                ? QStringList(3)
                : QStringList{dxccPrefixOf(entities[p.entity]), QString::number(p.zones.cqZone),
                              QString::number(p.zones.ituZone)};
            QVERIFY2(QStringList({o[0], o[2], o[3]}) == expected,
                     qPrintable(call + ": " + o.join(' ') + " instead of " + expected.join(' ')));
            ++checked;
        }
    }
    QVERIFY(checked > 500);
}

void TableGeneratorTest::writesRussiaDom()
{
    // The short key comes last: the oblast fill takes the last line that contains its prefix,
    // and "UA2" is inside "UA2A MA".
    QCOMPARE(tables.russiaDom, QStringLiteral("UA1A SP\nUA1B SP\nUA2A MA\nUA3A MA\nUA1N KL\nUA9X KO\nUA9A CB\n"
                                              "UA8A CB\nUA2 KA\n"));
    QFile f(dir.filePath("Russia.dom"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), tables.russiaDom);
    QCOMPARE(tables.warnings.size(), 1);
    QVERIFY2(tables.warnings[0].contains("UA1C"), qPrintable(tables.warnings[0]));
}

void TableGeneratorTest::convertsPositionsAndNumbers()
{
    QCOMPARE(lookup.value(PrefixTable::Country, 0, "Country"), QStringLiteral("European Russia"));
    QCOMPARE(lookup.value(PrefixTable::Country, 0, "ARRLPrefix"), QStringLiteral("UA1"));
    QCOMPARE(lookup.value(PrefixTable::Country, 0, "DXCC"), QStringLiteral("54"));
    QCOMPARE(lookup.value(PrefixTable::Country, 0, "Latitude"), QStringLiteral("53.65"));
    QCOMPARE(lookup.value(PrefixTable::Country, 0, "Longitude"), QStringLiteral("41.37"));
    QCOMPARE(lookup.value(PrefixTable::Country, 0, "TimeDiff"), QStringLiteral("4"));
    QCOMPARE(lookup.value(PrefixTable::Country, 0, "Status"), QStringLiteral("Active"));
    QCOMPARE(lookup.value(PrefixTable::Country, 0, "EndDate"), QString());
    const adoxml::Recordset &s = lookup.table(PrefixTable::Subdivision);
    QCOMPARE(s.text(0, s.columnIndex("Comment")), QStringLiteral("two keys, a \"quoted\" note"));
    QCOMPARE(s.text(0, s.columnIndex("DXCC")), QStringLiteral("54"));
    const adoxml::Recordset &u = lookup.table(PrefixTable::UniqueCall);
    QCOMPARE(u.rows.size(), 9);
    QCOMPARE(u.text(0, u.columnIndex("Callsign")), QStringLiteral("^R7AB/M$"));
}

void TableGeneratorTest::refusesBrokenInput_data()
{
    QTest::addColumn<QByteArray>("dat");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("too few fields") << QByteArray("Nowhere: 1: 2: EU: 0: 0:\n  X;") << "eight fields";
    QTest::newRow("bad zone") << QByteArray("Nowhere: x: 2: EU: 0: 0: 0: X:\n  X;") << "CQ zone";
    QTest::newRow("bad entry") << QByteArray("Nowhere: 1: 2: EU: 0: 0: 0: X:\n  X-1;") << "X-1";
    QTest::newRow("no entries") << QByteArray("Nowhere: 1: 2: EU: 0: 0: 0: X:\n  ;") << "lists no prefix";
}

void TableGeneratorTest::refusesBrokenInput()
{
    QFETCH(QByteArray, dat);
    QFETCH(QString, complaint);
    try {
        cty::readCtyDat(dat, "cty.dat");
        QFAIL("broken input was read");
    } catch (const cty::Error &e) {
        QVERIFY2(e.message().startsWith("cty.dat") && e.message().contains(complaint), qPrintable(e.message()));
    }
}

QTEST_APPLESS_MAIN(TableGeneratorTest)
#include "tst_TableGenerator.moc"
