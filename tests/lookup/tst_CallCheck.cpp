#include "CallCheck.h"

#include <QTest>

class CallCheckTest : public QObject {
    Q_OBJECT
private slots:
    void validCall_data();
    void validCall();
    void callShape_data();
    void callShape();
    void badChars_data();
    void badChars();
};

void CallCheckTest::validCall_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("verdict");
    QTest::addColumn<QString>("base");
    QTest::newRow("plain, upper-cased") << "ua1xyz" << true << "UA1XYZ";
    QTest::newRow("shortest shape") << "K1A" << true << "K1A";
    QTest::newRow("leading digit") << "2E0XYZ" << true << "2E0XYZ";
    QTest::newRow("shorter than 3") << "AB" << false << "-";
    QTest::newRow("3 characters, no shape") << "ABC" << false << "-";
    QTest::newRow("16 characters") << "AAAAAAAAAAAAA1AA" << true << "AAAAAAAAAAAAA1AA";
    QTest::newRow("17 characters") << "AAAAAAAAAAAAAA1AA" << false << "-";
    QTest::newRow("blank") << "UA1 XYZ" << false << "-";
    QTest::newRow("Cyrillic letter") << QString::fromUtf8("UA1XYЖ") << false << "-";
    QTest::newRow("accented lower case") << QString::fromUtf8("ua1xyé") << false << "-";
    QTest::newRow("leading slash") << "/UA1XYZ" << false << "-";
    QTest::newRow("/MM removed") << "UA1XYZ/MM" << true << "UA1XYZ";
    QTest::newRow("/AM removed") << "UA1XYZ/AM" << true << "UA1XYZ";
    QTest::newRow("/QRP removed") << "UA1XYZ/QRP" << true << "UA1XYZ";
    QTest::newRow("lower-case /qrp") << "ua1xyz/qrp" << true << "UA1XYZ";
    QTest::newRow("portable prefix") << "DL/UA1XYZ" << true << "DL";
    QTest::newRow("portable suffix prefix") << "UA1XYZ/VE" << true << "VE";
    QTest::newRow("equal lengths give A") << "K1XYZ/W1XYZ" << true << "K1XYZ";
    QTest::newRow("suffix removed, then split") << "KH6/UA1XYZ/MM" << true << "KH6";
    QTest::newRow("trailing slash") << "UA1XYZ/" << true << "";
    QTest::newRow("neither part has the shape") << "DL/VE" << false << "-";
    QTest::newRow("no suffix rule, split") << "UA1XYZ/QRPP" << true << "QRPP";
    QTest::newRow("two-letter other suffix") << "UA1XYZ/XX" << true << "XX";
    QTest::newRow("one-letter bad suffix") << "UA1XYZ/F" << false << "-";
    QTest::newRow("/P kept") << "UA1XYZ/P" << true << "UA1XYZ/P";
    QTest::newRow("/A kept") << "ua1xyz/a" << true << "UA1XYZ/A";
    QTest::newRow("/M kept") << "UA1XYZ/M" << true << "UA1XYZ/M";
    QTest::newRow("digit suffix") << "UA1XYZ/3" << true << "UA3";
    QTest::newRow("digit suffix, leading digit") << "2E0XYZ/4" << true << "2E4";
    QTest::newRow("digit suffix, first occurrence of last digit") << "R9A9X/1" << true << "R1";
    QTest::newRow("digit suffix, no digit before") << "ABC/3" << true << "ABC3";
    QTest::newRow("other three-letter suffix") << "UA1XYZ/QRX" << true << "QRX";
}

void CallCheckTest::validCall()
{
    QFETCH(QString, call);
    QFETCH(bool, verdict);
    QFETCH(QString, base);
    QString got = QStringLiteral("untouched");
    QCOMPARE(ValidCall(call, got), verdict);
    QCOMPARE(got, base);
}

void CallCheckTest::callShape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shape");
    for (const char *yes : {"UA1XYZ", "K1A", "2E0XYZ", "9A1XY", "3DA0XY"})
        QTest::newRow(yes) << yes << true;
    for (const char *no : {"UA", "AB1", "1A1", "12AB", "UA1XYZ2", "UA1/XYZ", "1AB", "A1", ""})
        QTest::newRow(no) << no << false;
}

void CallCheckTest::callShape()
{
    QFETCH(QString, text);
    QFETCH(bool, shape);
    QCOMPARE(IsCallShape(text), shape);
}

void CallCheckTest::badChars_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bad");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("callsign characters") << "UA1XYZ/P" << false;
    QTest::newRow("lower case") << "ua1xyz" << true;
    QTest::newRow("bad last character") << "UA1XYZ-" << true;
    QTest::newRow("bad first character") << " UA1XYZ" << true;
}

void CallCheckTest::badChars()
{
    QFETCH(QString, text);
    QFETCH(bool, bad);
    QCOMPARE(HasBadChars(text), bad);
}

QTEST_APPLESS_MAIN(CallCheckTest)
#include "tst_CallCheck.moc"
