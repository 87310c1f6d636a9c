// The mode label the decoder window gives the main window, and the speed box's numbers.
#include "ModeLabel.h"

#include <QLocale>
#include <QTest>

#include <stdexcept>

class ModeLabelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A comma locale: the box's numbers are written with a point all the same.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void modeLabel_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("label");
        QTest::newRow("bpsk 31.25") << "bpsk" << 31.25 << "BPSK31";
        QTest::newRow("bpsk 62.5 rounds up") << "bpsk" << 62.5 << "BPSK63";
        QTest::newRow("bpsk 125") << "bpsk" << 125.0 << "BPSK125";
        QTest::newRow("qpsk 250") << "qpsk" << 250.0 << "QPSK250";
        QTest::newRow("rtty-U has no number") << "rtty-U" << 45.45 << "RTTY";
        QTest::newRow("rtty-L has no number") << "rtty-L" << 75.0 << "RTTY";
        QTest::newRow("mfsk-L 15.625") << "mfsk-L" << 15.625 << "MFSK16";
        QTest::newRow("mfsk-U 15.625") << "mfsk-U" << 15.625 << "MFSK16";
        QTest::newRow("a half goes to the even 2") << "bpsk" << 2.49 << "BPSK2";
        QTest::newRow("a half goes to the even 4") << "bpsk" << 3.49 << "BPSK4";
        QTest::newRow("no minus zero") << "bpsk" << -0.3 << "BPSK0";
        QTest::newRow("a negative speed") << "bpsk" << -5.0 << "BPSK-5";
        QTest::newRow("only a to z are raised") << "mfsk\u00e9-x" << 16.0 << "MFSK\u00e9" "16";
        QTest::newRow("the first dash splits") << "gmsk-a-b" << 31.25 << "GMSK31";
        QTest::newRow("a huge speed stays decimal") << "bpsk" << 1e20 << "BPSK100000000000000000000";
    }
    void modeLabel()
    {
        QFETCH(QString, mode);
        QFETCH(double, speed);
        QFETCH(QString, label);
        QCOMPARE(ModeLabelText(mode, speed), label);
    }

    void speedOf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("speed");
        QTest::newRow("item") << "62.5" << 62.5;
        QTest::newRow("whole") << "125" << 125.0;
        QTest::newRow("blanks around") << " 31.25 " << 31.25;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("sign") << "-5" << -5.0;
    }
    void speedOf()
    {
        QFETCH(QString, text);
        QFETCH(double, speed);
        QCOMPARE(modelabel::speedOf(text), speed);
    }

    void badSpeed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("comma") << "62,5";
        QTest::newRow("thousands") << "1,000";
        QTest::newRow("letters") << "fast";
        QTest::newRow("unit") << "31.25 Bd";
        QTest::newRow("infinite") << "inf";
        QTest::newRow("not a number") << "nan";
    }
    void badSpeed()
    {
        QFETCH(QString, text);
        try {
            modelabel::speedOf(text);
            QFAIL("no error");
        } catch (const std::runtime_error &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QString("'%1' is not a valid floating point value").arg(text));
        }
    }

    void speedText_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("text");
        QTest::newRow("62.5") << 62.5 << "62.5";
        QTest::newRow("45.45") << 45.45 << "45.45";
        QTest::newRow("15.625") << 15.625 << "15.625";
        QTest::newRow("125") << 125.0 << "125";
    }
    void speedText()
    {
        QFETCH(double, speed);
        QFETCH(QString, text);
        QCOMPARE(modelabel::speedText(speed), text);
        QCOMPARE(modelabel::speedOf(text), speed);
    }
};

QTEST_GUILESS_MAIN(ModeLabelTest)
#include "tst_modelabel.moc"
