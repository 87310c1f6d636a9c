// The ITA2 table and the receiver's shift handling.
#include "Baudot.h"

#include <QTest>

using namespace digimode::baudot;

class BaudotTest : public QObject {
    Q_OBJECT
private slots:
    void table_data();
    void table();
    void shiftsAndUnshiftOnSpace();
    void encodeEveryCharacterBack();
    void encodeRefusesWhatItCannotCarry();
};

void BaudotTest::table_data()
{
    // Code values with the first bit on the air as the least significant.
    QTest::addColumn<unsigned>("code");
    QTest::addColumn<char>("inLetters");
    QTest::addColumn<char>("inFigures");
    QTest::newRow("E 3") << 0x01u << 'E' << '3';
    QTest::newRow("A -") << 0x03u << 'A' << '-';
    QTest::newRow("S bell") << 0x05u << 'S' << '\a';
    QTest::newRow("D $") << 0x09u << 'D' << '$';
    QTest::newRow("R 4") << 0x0Au << 'R' << '4';
    QTest::newRow("J '") << 0x0Bu << 'J' << '\'';
    QTest::newRow("F !") << 0x0Du << 'F' << '!';
    QTest::newRow("T 5") << 0x10u << 'T' << '5';
    QTest::newRow("Z \"") << 0x11u << 'Z' << '"';
    QTest::newRow("H #") << 0x14u << 'H' << '#';
    QTest::newRow("Y 6") << 0x15u << 'Y' << '6';
    QTest::newRow("Q 1") << 0x17u << 'Q' << '1';
    QTest::newRow("B ?") << 0x19u << 'B' << '?';
    QTest::newRow("G &") << 0x1Au << 'G' << '&';
    QTest::newRow("M .") << 0x1Cu << 'M' << '.';
    QTest::newRow("X /") << 0x1Du << 'X' << '/';
    QTest::newRow("V ;") << 0x1Eu << 'V' << ';';
    QTest::newRow("space") << 0x04u << ' ' << ' ';
    QTest::newRow("CR") << 0x08u << '\r' << '\r';
    QTest::newRow("LF") << 0x02u << '\n' << '\n';
    QTest::newRow("blank") << 0x00u << '\0' << '\0';
    QTest::newRow("LTRS") << 0x1Fu << '\0' << '\0';
    QTest::newRow("FIGS") << 0x1Bu << '\0' << '\0';
}

void BaudotTest::table()
{
    QFETCH(unsigned, code);
    QFETCH(char, inLetters);
    QFETCH(char, inFigures);
    QCOMPARE(letter(code), inLetters);
    QCOMPARE(figure(code), inFigures);
}

void BaudotTest::shiftsAndUnshiftOnSpace()
{
    Decoder decoder;
    std::string out;
    // R FIGS R space R LTRS FIGS R LTRS R: figures last until a space or LTRS.
    for (unsigned code : {0x0Au, kFigures, 0x0Au, kSpace, 0x0Au, kFigures, 0x0Au, kLetters, 0x0Au}) {
        if (const auto c = decoder.decode(code))
            out += *c;
    }
    QCOMPARE(QString::fromStdString(out), QStringLiteral("R4 R4R"));
    QVERIFY(!decoder.inFigures());
}

void BaudotTest::encodeEveryCharacterBack()
{
    for (unsigned code = 0; code < 32; ++code) {
        for (char c : {letter(code), figure(code)}) {
            if (c == 0)
                continue;
            const auto e = encode(c);
            QVERIFY2(e.has_value(), qPrintable(QString::number(code)));
            QCOMPARE(e->code, code);
            const char back = e->shift == Case::Figures ? figure(e->code) : letter(e->code);
            QCOMPARE(back, c);
        }
    }
    QCOMPARE(encode('q')->code, 0x17u); // lower case goes as upper case
}

void BaudotTest::encodeRefusesWhatItCannotCarry()
{
    QVERIFY(!encode('%').has_value());
    QVERIFY(!encode('@').has_value());
    QVERIFY(!encode('\0').has_value());
}

QTEST_APPLESS_MAIN(BaudotTest)
#include "BaudotTest.moc"
