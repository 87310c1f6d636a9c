// The tables the build generates into the program folder load cleanly and place well-known calls.
#include "CountryLookup.h"
#include "LookupCall.h"

#include <QTest>

class FullTablesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void places_data();
    void places();

private:
    CountryLookup lookup;
};

void FullTablesTest::initTestCase()
{
    QCOMPARE(lookup.load(QStringLiteral(ORVO_DIST_DIR)), QStringList());
    QVERIFY(lookup.table(PrefixTable::Country).rows.size() > 300);
    QVERIFY(lookup.table(PrefixTable::UniqueCall).rows.size() > 1000);
}

void FullTablesTest::places_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("outputs");
    QTest::newRow("European Russia, St. Petersburg") << "UA1ABC"
        << QStringList{"UA1", "Saint Petersburg (city)", "16", "29", "EU", "UA1A"};
    QTest::newRow("Asiatic Russia, Chelyabinsk") << "UA9ABC"
        << QStringList{"UA9", "Chelyabinsk Oblast", "17", "30", "AS", "UA9A"};
    QTest::newRow("Kaliningrad") << "RA2FA" << QStringList{"UA2", "Kaliningrad Oblast", "15", "29", "EU", "UA2"};
    QTest::newRow("Germany") << "DL1ABC" << QStringList{"DL", "Fed. Rep. of Germany", "14", "28", "EU", "DL"};
    QTest::newRow("United States") << "K1ABC" << QStringList{"K", "United States of America", "5", "8", "NA", "K"};
    QTest::newRow("exact call") << "RA3CQ/9/M" << QStringList{"UA1", "European Russia", "17", "20", "EU", "UA1"};
    QTest::newRow("portable prefix") << "DL/UA1XYZ" << QStringList{"DL", "Fed. Rep. of Germany", "14", "28", "EU", "DL"};
    QTest::newRow("call area suffix") << "UA1XYZ/9" << QStringList{"UA9", "Asiatic Russia", "17", "30", "AS", "UA9"};
    QTest::newRow("maritime mobile") << "UA1XYZ/MM" << QStringList(6);
}

void FullTablesTest::places()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, outputs);
    QStringList o(6);
    const QString text = LookupCall(typed, lookup);
    if (!text.isEmpty())
        lookup.FindCountry(text, o[0], o[1], o[2], o[3], o[4], o[5]);
    QCOMPARE(o, outputs);
}

QTEST_APPLESS_MAIN(FullTablesTest)
#include "tst_FullTables.moc"
