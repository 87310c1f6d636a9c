#include "CountryLookup.h"
#include "TinyTables.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Rows = QList<TinyRow>;

namespace {

TinyRow country(const QString &expression, const QString &name, const TinyRow &extra = {})
{
    TinyRow r{{"PrefixList", expression}, {"ARRLPrefix", name.left(2).toUpper()}, {"Country", name},
              {"CQZone", "14"}, {"ITUZone", "28"}, {"Continent", "EU"}, {"Status", "Active"}};
    r.insert(extra);
    return r;
}

TinyRow subdivision(const QString &expression, const QString &name, const TinyRow &extra = {})
{
    TinyRow r{{"PrefixList", expression}, {"Prefix", "UA1A"}, {"ARRLPrefix", "UA1"}, {"Country", name},
              {"CQZone", "16"}, {"ITUZone", "29"}, {"Continent", "EU"}};
    r.insert(extra);
    return r;
}

TinyRow unique(const QString &expression, const QString &name, const TinyRow &extra = {})
{
    TinyRow r{{"Callsign", expression}, {"Prefix", "K1"}, {"ARRLPrefix", "K"}, {"Country", name},
              {"CQZone", "5"}, {"ITUZone", "8"}, {"Continent", "NA"}};
    r.insert(extra);
    return r;
}

const QStringList kUntouched = {"in1", "in2", "in3", "in4", "in5", "in6"};

QStringList find(CountryLookup &lookup, const QString &call)
{
    QStringList o = kUntouched;
    lookup.FindCountry(call, o[0], o[1], o[2], o[3], o[4], o[5]);
    return o;
}

QStringList cursors(const CountryLookup &lookup)
{
    return {QString::number(lookup.cursor(PrefixTable::UniqueCall)),
            QString::number(lookup.cursor(PrefixTable::Subdivision)),
            QString::number(lookup.cursor(PrefixTable::Country))};
}

} // namespace

class CountryLookupTest : public QObject {
    Q_OBJECT
private slots:
    void stages_data();
    void stages();
    void missingTablesAreReportedAndTheOthersServe();
    void unreadableTableNamesFileAndLine();
    void missingFieldNamesFileAndField();
    void badExpressionsAreReportedAndLeftOut();
    void tablesAreExposed();
    void isUniqueCall();
};

void CountryLookupTest::stages_data()
{
    QTest::addColumn<Rows>("uniques");
    QTest::addColumn<Rows>("subdivisions");
    QTest::addColumn<Rows>("countries");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QStringList>("outputs");
    QTest::addColumn<QStringList>("cursors"); // unique, subdivision, country

    const QStringList usa = {"US", "USA", "14", "28", "EU", "US"};
    const QStringList russia = {"RU", "Russia", "14", "28", "EU", "RU"};
    const Rows none;

    QTest::newRow("unique call outranks prefixes")
        << Rows{unique("^K9X$", "Other"), unique("^K1ABC$", "Exact")} << Rows{subdivision("^K1.*$", "Sub")}
        << Rows{country("^K.*$", "USA")} << "K1ABC"
        << QStringList{"K", "Exact", "5", "8", "NA", "K1"} << QStringList{"1", "0", "0"};
    QTest::newRow("subdivision first, countries not searched")
        << none << Rows{subdivision("^ZZ", "Elsewhere"), subdivision("^UA1A.*$", "St. Petersburg")}
        << Rows{country("^UA.*$", "Russia"), country("^ZZ", "Zz")} << "UA1ABC"
        << QStringList{"UA1", "St. Petersburg", "16", "29", "EU", "UA1A"} << QStringList{"-1", "1", "0"};
    QTest::newRow("inactive and ended countries are passed over")
        << none << none
        << Rows{country("^US.*$", "Old", {{"Status", "Deleted"}}),
                country("^US.*$", "Ended", {{"EndDate", "2001-01-01T00:00:00"}}), country("^US.*$", "USA"),
                country("^US.*$", "Later")}
        << "US1X" << usa << QStringList{"-1", "-1", "2"};
    QTest::newRow("a partial match does not select, a later whole match does")
        << none << none << Rows{country("UA", "Short"), country("^UA.*$", "Russia")} << "UA1XYZ" << russia
        << QStringList{"-1", "-1", "1"};
    QTest::newRow("the first alternative gives the match text")
        << none << none << Rows{country("UA|UA1XYZ", "Alt"), country("^ZZ", "Zz")} << "UA1XYZ" << kUntouched
        << QStringList{"-1", "-1", "1"};
    QTest::newRow("lower case does not match upper-case expressions")
        << none << none << Rows{country("^UA1XYZ$", "Russia")} << "ua1xyz" << kUntouched
        << QStringList{"-1", "-1", "0"};
    QTest::newRow("nothing matches")
        << Rows{unique("^K1ABC$", "Exact")} << Rows{subdivision("^UA1A.*$", "Sub")} << Rows{country("^K.*$", "USA")}
        << "JA1XYZ" << kUntouched << QStringList{"0", "0", "0"};
    QTest::newRow("ended subdivision matched whole ends the lookup untouched")
        << none << Rows{subdivision("^UA1.*$", "Old", {{"EndDate", "2001-01-01T00:00:00"}}), subdivision("^ZZ", "Zz")}
        << Rows{country("^UA.*$", "Russia"), country("^ZZ", "Zz")} << "UA1XYZ" << kUntouched
        << QStringList{"-1", "1", "0"};
    QTest::newRow("a later partial subdivision match lets the countries run")
        << none << Rows{subdivision("^UA1.*$", "Old", {{"EndDate", "2001-01-01T00:00:00"}}), subdivision("UA", "Part")}
        << Rows{country("^UA.*$", "Russia")} << "UA1XYZ" << russia << QStringList{"-1", "1", "0"};
    QTest::newRow("unique call not valid today, nothing after it: its values stand")
        << Rows{unique("^K1ABC$", "Expired", {{"EndDate", "2001-01-01T00:00:00"}})} << none
        << Rows{country("^K.*$", "USA")} << "K1ABC" << QStringList{"K", "Expired", "5", "8", "NA", "K1"}
        << QStringList{"0", "-1", "0"};
    QTest::newRow("unique call: the row valid today wins")
        << Rows{unique("^K1ABC$", "Future", {{"StartDate", "2999-01-01T00:00:00"}}),
                unique("^K1ABC$", "Now", {{"StartDate", "2000-01-01T00:00:00"}, {"EndDate", "2999-12-31T00:00:00"}}),
                unique("^K1ABC$", "Later")}
        << none << none << "K1ABC" << QStringList{"K", "Now", "5", "8", "NA", "K1"} << QStringList{"1", "-1", "-1"};
    QTest::newRow("unique call: a later valid row replaces an expired one")
        << Rows{unique("^K1ABC$", "Expired", {{"EndDate", "2001-01-01"}}), unique("^K1ABC$", "Current")}
        << none << none << "K1ABC" << QStringList{"K", "Current", "5", "8", "NA", "K1"}
        << QStringList{"1", "-1", "-1"};
    QTest::newRow("a partial unique match after a whole one lets the later stages run")
        << Rows{unique("^K1ABC$", "Expired", {{"EndDate", "2001-01-01T00:00:00"}}), unique("K1", "Part")}
        << none << Rows{country("^K.*$", "USA")} << "K1ABC" << usa
        << QStringList{"1", "-1", "0"};
    QTest::newRow("an empty call ends after the unique calls")
        << Rows{unique("^K1ABC$", "Exact")} << none << Rows{country(".*", "Anything")} << "" << kUntouched
        << QStringList{"0", "-1", "0"};
}

void CountryLookupTest::stages()
{
    QFETCH(Rows, uniques);
    QFETCH(Rows, subdivisions);
    QFETCH(Rows, countries);
    QFETCH(QString, call);
    QFETCH(QStringList, outputs);
    QFETCH(QStringList, cursors);

    QTemporaryDir dir;
    writeTinyTable(dir.path(), PrefixTable::UniqueCall, uniques);
    writeTinyTable(dir.path(), PrefixTable::Subdivision, subdivisions);
    writeTinyTable(dir.path(), PrefixTable::Country, countries);
    for (CountryLookup::Scan scan : {CountryLookup::Scan::Indexed, CountryLookup::Scan::Literal}) {
        CountryLookup lookup(scan);
        QCOMPARE(lookup.load(dir.path()), QStringList());
        QCOMPARE(find(lookup, call), outputs);
        QCOMPARE(::cursors(lookup), cursors);
    }
}

void CountryLookupTest::missingTablesAreReportedAndTheOthersServe()
{
    QTemporaryDir dir;
    writeTinyTable(dir.path(), PrefixTable::Country, {country("^DL.*$", "Germany")});
    CountryLookup lookup;
    const QStringList problems = lookup.load(dir.path());
    QCOMPARE(problems.size(), 2);
    QVERIFY2(problems[0].contains(dir.filePath("Province.xml")), qPrintable(problems[0]));
    QVERIFY2(problems[1].contains(dir.filePath("UniqueCalls.xml")), qPrintable(problems[1]));
    QVERIFY(!lookup.isLoaded(PrefixTable::UniqueCall));
    QVERIFY(lookup.isLoaded(PrefixTable::Country));
    QCOMPARE(find(lookup, "DL1ABC")[1], QStringLiteral("Germany"));
    QCOMPARE(find(lookup, "K1ABC"), kUntouched);
    QCOMPARE(lookup.cursor(PrefixTable::Subdivision), -1);
}

void CountryLookupTest::unreadableTableNamesFileAndLine()
{
    QTemporaryDir dir;
    writeTinyTable(dir.path(), PrefixTable::Country, {country("^DL.*$", "Germany")});
    writeTinyTable(dir.path(), PrefixTable::UniqueCall, {});
    QFile bad(dir.filePath("Province.xml"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("<xml>\n<rs:data>\n</xml>\n");
    bad.close();
    CountryLookup lookup;
    const QStringList problems = lookup.load(dir.path());
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems[0].contains(dir.filePath("Province.xml")) && problems[0].contains("line 2"),
             qPrintable(problems[0]));
    QCOMPARE(find(lookup, "DL1ABC")[1], QStringLiteral("Germany"));
}

void CountryLookupTest::missingFieldNamesFileAndField()
{
    QTemporaryDir dir;
    writeTinyTable(dir.path(), PrefixTable::UniqueCall, {});
    writeTinyTable(dir.path(), PrefixTable::Subdivision, {});
    adoxml::Recordset r;
    for (const QString &f : prefixTableFields(PrefixTable::Country))
        if (f != QLatin1String("PrefixList"))
            r.columns << adoxml::Column{f};
    adoxml::writeFile(dir.filePath("CountryDataEx.xml"), r);
    CountryLookup lookup;
    const QStringList problems = lookup.load(dir.path());
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems[0].contains(dir.filePath("CountryDataEx.xml")) && problems[0].contains("PrefixList"),
             qPrintable(problems[0]));
    QVERIFY(!lookup.isLoaded(PrefixTable::Country));
}

void CountryLookupTest::badExpressionsAreReportedAndLeftOut()
{
    QTemporaryDir dir;
    writeTinyTable(dir.path(), PrefixTable::UniqueCall, {});
    writeTinyTable(dir.path(), PrefixTable::Subdivision, {});
    writeTinyTable(dir.path(), PrefixTable::Country,
                   {country("", "Empty"), country("^(DL", "Broken"), country("^DL.*$", "Germany")});
    for (CountryLookup::Scan scan : {CountryLookup::Scan::Indexed, CountryLookup::Scan::Literal}) {
        CountryLookup lookup(scan);
        const QStringList problems = lookup.load(dir.path());
        QCOMPARE(problems.size(), 2);
        QVERIFY2(problems[0].startsWith("Row 1 of " + dir.filePath("CountryDataEx.xml")) && problems[0].contains("empty"),
                 qPrintable(problems[0]));
        QVERIFY2(problems[1].startsWith("Row 2 of ") && problems[1].contains("missing closing parenthesis"),
                 qPrintable(problems[1]));
        QCOMPARE(find(lookup, "DL1ABC")[1], QStringLiteral("Germany"));
        QCOMPARE(find(lookup, "DL2ABC")[1], QStringLiteral("Germany"));
    }
}

void CountryLookupTest::tablesAreExposed()
{
    QTemporaryDir dir;
    writeTinyTable(dir.path(), PrefixTable::UniqueCall, {});
    writeTinyTable(dir.path(), PrefixTable::Subdivision, {});
    writeTinyTable(dir.path(), PrefixTable::Country, {country("^DL.*$", "Germany"), country("^F.*$", "France")});
    CountryLookup lookup;
    QCOMPARE(lookup.load(dir.path()), QStringList());
    const adoxml::Recordset &t = lookup.table(PrefixTable::Country);
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(t.columns.size(), prefixTableFields(PrefixTable::Country).size());
    QCOMPARE(lookup.value(PrefixTable::Country, 1, "Country"), QStringLiteral("France"));
    QCOMPARE(lookup.value(PrefixTable::Country, 1, "Latitude"), QString());
    QCOMPARE(lookup.value(PrefixTable::Country, 2, "Country"), QString());
    QCOMPARE(lookup.cursor(PrefixTable::Country), 0);
    QCOMPARE(lookup.cursor(PrefixTable::UniqueCall), -1);
}

void CountryLookupTest::isUniqueCall()
{
    QTemporaryDir dir;
    writeTinyTable(dir.path(), PrefixTable::UniqueCall, {unique("K1AB", "Part"), unique("^K1ABC$", "Exact")});
    writeTinyTable(dir.path(), PrefixTable::Subdivision, {});
    writeTinyTable(dir.path(), PrefixTable::Country, {});
    CountryLookup lookup;
    QCOMPARE(lookup.load(dir.path()), QStringList());
    QVERIFY(lookup.isUniqueCall("K1ABC"));
    QVERIFY(!lookup.isUniqueCall("K1ABCD"));
    QVERIFY(lookup.isUniqueCall("K1AB"));
}

QTEST_APPLESS_MAIN(CountryLookupTest)
#include "tst_CountryLookup.moc"
