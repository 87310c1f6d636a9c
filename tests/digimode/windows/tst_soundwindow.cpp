// The Sound window: the decoder engine's sound device, chosen at once and not kept.
#include "AppFixture.h"
#include "DecoderWindows.h"
#include "Engine.h"
#include "MMVARI.h"
#include "Sound.h"

#include <QLineEdit>
#include <QPlainTextEdit>

class SoundWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> fx;
    TForm4 *f4 = nullptr;
    TForm8 *f8 = nullptr;

    void start()
    {
        Forms &forms = fx->start();
        f4 = forms.Form4;
        f8 = forms.Form8;
    }

private slots:
    void initTestCase() { decodertest::isolateSoundServer(); }
    void init() { fx = std::make_unique<AppFixture>(); }
    void cleanup() { fx.reset(); }

    void layout()
    {
        start();
        QCOMPARE(f8->windowTitle(), QString("Sound"));
        QCOMPARE(f8->size(), QSize(200, 115));
        QCOMPARE(f8->ComboBox1->count(), 12);
        QCOMPARE(f8->ComboBox1->itemText(0), QString("-1"));
        QCOMPARE(f8->ComboBox1->itemText(11), QString("10"));
        QVERIFY(f8->Memo1->isReadOnly());
        QCOMPARE(f8->Memo1->toPlainText().split('\n'),
                 QStringList({"-1  Windows default", "0   First soundcard", "1   Second soundcard", ""}));
    }

    void pickTakesEffectAtOnce()
    {
        start();
        f8->show();
        QCOMPARE(f8->ComboBox1->currentText(), QString("-1"));
        QVERIFY(decodertest::pick(f8->ComboBox1, "0"));
        QCOMPARE(f4->MMVARI->strSoundID(), QString("0"));
        f8->close();
        QVERIFY(!f8->isVisible());
        f8->ComboBox1->setCurrentText("5");
        f8->show();
        QCOMPARE(f8->ComboBox1->currentText(), QString("0"));
    }

    void typedTextGoesOnUnchecked()
    {
        start();
        f8->show();
        f8->ComboBox1->lineEdit()->clear();
        QCOMPARE(f4->MMVARI->strSoundID(), QString("-1"));
        QTest::keyClick(f8->ComboBox1->lineEdit(), '1');
        QCOMPARE(f4->MMVARI->strSoundID(), QString("1"));
        QTest::keyClick(f8->ComboBox1->lineEdit(), '0');
        QCOMPARE(f4->MMVARI->strSoundID(), QString("10"));
        QTest::keyClicks(f8->ComboBox1->lineEdit(), "x");
        QCOMPARE(f4->MMVARI->strSoundID(), QString("10x"));
    }

    void choiceIsNotKept()
    {
        start();
        f8->show();
        QVERIFY(decodertest::pick(f8->ComboBox1, "2"));
        f8->close();
        start();
        QCOMPARE(f4->MMVARI->strSoundID(), QString("-1"));
        f8->show();
        QCOMPARE(f8->ComboBox1->currentText(), QString("-1"));
    }
};

QTEST_MAIN(SoundWindowTest)
#include "tst_soundwindow.moc"
