// The main window's rules that need no window: the Latin keyboard mapping, the oblast
// fill and the search grid's highlight.
#include "KeyboardLatin.h"
#include "OblastFill.h"
#include "SearchHighlight.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<QString>)

class AppRulesTest : public QObject {
    Q_OBJECT
private slots:
    void latinUpper_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("latin lower") << "ua1xyz" << "UA1XYZ";
        QTest::newRow("russian layout upper") << "ГФ1ЧНЯ" << "UA1XYZ";
        QTest::newRow("russian layout lower") << "гф1чня" << "UA1XYZ";
        QTest::newRow("every key") << "йцукенгшщзфывапролдячсмить" << "QWERTYUIOPASDFGHJKLZXCVBNM";
        QTest::newRow("digits, slash, others kept") << "dl/ua1xyz 5'" << "DL/UA1XYZ 5'";
        QTest::newRow("non-key letters kept") << "ёé" << "ёé";
    }
    void latinUpper()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(keyboardlatin::toLatinUpper(typed), shown);
    }

    void oblastFill_data()
    {
        QTest::addColumn<QString>("dxcc");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<std::optional<QString>>("number");
        const std::optional<QString> unchanged;
        QTest::newRow("four-character prefix") << "UA1" << "UA1A" << std::optional<QString>("SP");
        QTest::newRow("two lines: the later wins") << "UA9" << "UA9Y" << std::optional<QString>("AL");
        QTest::newRow("kaliningrad") << "UA2" << "UA2" << std::optional<QString>("KA");
        QTest::newRow("three characters, not UA2") << "UA1" << "UA1" << std::optional<QString>("");
        QTest::newRow("prefix in no line") << "UA9" << "UA9Q" << unchanged;
        QTest::newRow("not russian") << "DL" << "DL" << unchanged;
        QTest::newRow("dxcc trimmed, upper-cased") << " ua1 " << "UA1A" << std::optional<QString>("SP");
    }
    void oblastFill()
    {
        QFETCH(QString, dxcc);
        QFETCH(QString, prefix);
        QFETCH(std::optional<QString>, number);
        const QStringList list{"UA1A SP", "UA9Y AL first", "UA9Y AL", "UA2A MA", "UA2 KA"};
        QStringList twoLines = list;
        twoLines[1] = "UA9Y GA";
        QCOMPARE(oblastfill::numberFor(dxcc, prefix, twoLines), number);
    }

    void highlight_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("heard");
        QTest::addColumn<QString>("worked");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("call1 = heard") << "call1" << "UA1AAA" << "UA1AAA" << "" << QColor(Qt::red);
        QTest::newRow("call2 = heard") << "call2" << "UA1AAA" << "UA1AAA" << "" << QColor(Qt::blue);
        QTest::newRow("call1 = worked") << "call1" << "UA2BBB" << "UA1AAA" << "UA2BBB" << QColor(Qt::blue);
        QTest::newRow("call1 = both: the later test") << "call1" << "UA1AAA" << "UA1AAA" << "UA1AAA" << QColor(Qt::blue);
        QTest::newRow("cell trimmed") << "call1" << " UA1AAA " << "UA1AAA" << "X" << QColor(Qt::red);
        QTest::newRow("other column") << "nr1" << "UA1AAA" << "UA1AAA" << "" << QColor();
        QTest::newRow("both fields empty") << "call1" << "" << "" << "" << QColor();
        QTest::newRow("case counts") << "call1" << "ua1aaa" << "UA1AAA" << "X" << QColor();
    }
    void highlight()
    {
        QFETCH(QString, field);
        QFETCH(QString, cell);
        QFETCH(QString, heard);
        QFETCH(QString, worked);
        QFETCH(QColor, colour);
        QCOMPARE(searchhighlight::colourFor(field, cell, heard, worked), colour);
    }
};

QTEST_GUILESS_MAIN(AppRulesTest)
#include "tst_AppRules.moc"
