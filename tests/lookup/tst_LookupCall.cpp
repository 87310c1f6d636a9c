#include "CountryLookup.h"
#include "LookupCall.h"
#include "TinyTables.h"

#include <QTemporaryDir>
#include <QTest>

class LookupCallTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void text_data();
    void text();

private:
    QTemporaryDir dir;
    CountryLookup lookup;
};

void LookupCallTest::initTestCase()
{
    writeTinyTable(dir.path(), PrefixTable::UniqueCall,
                   {{{"Callsign", "^R7AB/M$"}}, {{"Callsign", "^RW1AI/LH$"}}, {{"Callsign", "^UA9KBF/4/N$"}}});
    writeTinyTable(dir.path(), PrefixTable::Subdivision, {});
    writeTinyTable(dir.path(), PrefixTable::Country, {});
    QCOMPARE(lookup.load(dir.path()), QStringList());
}

void LookupCallTest::text_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("lookedUp");
    QTest::newRow("plain call, upper-cased") << "ua1xyz" << "UA1XYZ";
    QTest::newRow("portable prefix") << "DL/UA1XYZ" << "DL";
    QTest::newRow("portable prefix after the call") << "UA1XYZ/VE3" << "VE3";
    QTest::newRow("call area digit") << "UA1XYZ/9" << "UA9";
    QTest::newRow("/P dropped") << "UA1XYZ/P" << "UA1XYZ";
    QTest::newRow("/M dropped") << "ua1xyz/m" << "UA1XYZ";
    QTest::newRow("/A dropped, then the prefix") << "DL/UA1XYZ/A" << "DL";
    QTest::newRow("/QRP dropped") << "UA1XYZ/QRP" << "UA1XYZ";
    QTest::newRow("lighthouse") << "K1ABC/LH" << "K1ABC";
    QTest::newRow("digit then /P") << "UA1XYZ/9/P" << "UA9";
    QTest::newRow("maritime mobile") << "UA1XYZ/MM" << "";
    QTest::newRow("aeronautical mobile") << "UA1XYZ/AM" << "";
    QTest::newRow("portable maritime mobile") << "KH6/UA1XYZ/MM" << "";
    QTest::newRow("listed whole") << "R7AB/M" << "R7AB/M";
    QTest::newRow("listed whole, lower case") << "rw1ai/lh" << "RW1AI/LH";
    QTest::newRow("listed whole, two suffixes") << "UA9KBF/4/N" << "UA9KBF/4/N";
    QTest::newRow("refused: one-letter suffix") << "UA1XYZ/F" << "UA1XYZ/F";
    QTest::newRow("refused: blank, as typed") << "ua1 xyz" << "ua1 xyz";
    QTest::newRow("refused: too short") << "UA" << "UA";
}

void LookupCallTest::text()
{
    QFETCH(QString, typed);
    QFETCH(QString, lookedUp);
    QCOMPARE(LookupCall(typed, lookup), lookedUp);
}

QTEST_GUILESS_MAIN(LookupCallTest)
#include "tst_LookupCall.moc"
