// Received text into the log: a generated BPSK31 signal through the engine into the decoder
// window's text box, a double-click on a word of it and an item of the popup menu into the
// main window's entry fields, which then search as if typed.
#include "AppFixture.h"
#include "Channel.h"
#include "DecoderWindows.h"
#include "Engine.h"
#include "Log.h"
#include "MMVARI.h"
#include "PskModulator.h"
#include "QsoStore.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace {

const QColor kPink(248, 121, 164);
const QString kSent = QStringLiteral("CQ TEST DE UA1ABC UA1ABC 599 001 K");

QString fieldText(QWidget *field)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        return edit->text();
    if (auto *box = qobject_cast<QComboBox *>(field))
        return box->currentText();
    return QStringLiteral("<no field>");
}

} // namespace

class RxCaptureTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> fx;
    TForm1 *f1 = nullptr;
    TForm4 *f4 = nullptr;

    void startShown()
    {
        Forms &forms = fx->start();
        f1 = forms.Form1;
        f4 = forms.Form4;
        f1->show();
        f4->show();
        QVERIFY(QTest::qWaitForWindowExposed(f4));
    }

    // Characters as the engine reports them, one event each.
    void receive(const QString &text, int channel = 0)
    {
        for (QChar c : text)
            emit f4->MMVARI->OnRxChar(channel, QString(c), c.unicode());
    }

    // Double-clicks the offset-th character of the first occurrence of text in the box; gives
    // the screen point of the click.
    QPoint doubleClickOn(const QString &text, int offset = 1)
    {
        QTextCursor at = f4->RxPanel->document()->find(text);
        if (at.isNull())
            return {};
        at.setPosition(at.selectionStart() + offset);
        const QPoint point = f4->RxPanel->cursorRect(at).center() + QPoint(2, 0);
        QTest::mouseDClick(f4->RxPanel->viewport(), Qt::LeftButton, {}, point);
        return f4->RxPanel->viewport()->mapToGlobal(point);
    }

private slots:
    void initTestCase() { decodertest::isolateSoundServer(); }
    void init() { fx = std::make_unique<AppFixture>(); }
    void cleanup() { fx.reset(); }

    void decodedCallIntoTheLog()
    {
        {
            QsoStore store(fx->file(QsoStore::defaultFileName()));
            QsoRecord r;
            r.call1 = "UA1ABC";
            r.call2 = "UA3CCC";
            r.QSOBand = "14";
            r.mode = "BPSK31";
            r.nr1 = "1";
            store.append(r);
        }
        startShown();
        QCOMPARE(f1->lbMode->text(), QString("BPSK31"));
        QCOMPARE(f1->StatusPanel[2]->text(), QString("Heard 0"));

        testsignal::PskSignal signal;
        signal.carrierHz = 1000.0;
        signal.baud = 31.25;
        std::vector<float> audio = testsignal::modulatePsk("\r" + kSent.toStdString() + "\r", signal);
        testsignal::addNoise(audio, 10.0, 7);
        const std::vector<float> after = testsignal::silence(4.0);
        audio.insert(audio.end(), after.begin(), after.end());
        f4->MMVARI->setChannelCarrier(0, 1000);
        for (std::size_t i = 0; i < audio.size(); i += 2048)
            f4->MMVARI->feed(audio.data() + i, std::min<std::size_t>(2048, audio.size() - i));
        QVERIFY2(f4->RxPanel->toPlainText().contains(kSent + "\n"), qPrintable(f4->RxPanel->toPlainText()));
        QCOMPARE(f4->StatusPanel[0]->text(), QString("RX:%1Hz").arg(f4->MMVARI->ChannelCarrier(0)));
        QVERIFY(std::abs(f4->MMVARI->ChannelCarrier(0) - 1000) <= 2);

        const QPoint clicked = doubleClickOn("UA1ABC", 2);
        QCOMPARE(f4->RxPanel->textCursor().selectedText(), QString("UA1ABC "));
        QCOMPARE(f4->PickedWord, QString("UA1ABC"));
        QVERIFY(f4->PopupMenu2->isVisible());
        QCOMPARE(f4->PopupMenu2->pos(), clicked + QPoint(5, 5));
        QTest::mouseClick(f4->PopupMenu2, Qt::LeftButton, {}, f4->PopupMenu2->actionGeometry(f4->N1).center());
        QVERIFY(!f4->PopupMenu2->isVisible());

        QCOMPARE(f1->Edit1->text(), QString("UA1ABC"));
        QCOMPARE(f1->StatusPanel[2]->text(), QString("Heard 1"));
        QCOMPARE(f1->Edit1->palette().color(QPalette::Base), kPink);
    }

    void eachItemFillsItsField_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Heard Station, upper case") << "ra3xyz" << "N1" << "Edit1" << "RA3XYZ";
        QTest::newRow("heard Number") << "017" << "N11" << "Edit3" << "017";
        QTest::newRow("heard RST, not in the list") << "5nn" << "RST1" << "ComboBox1" << "5nn";
        QTest::newRow("Worked Station") << "ra3xyz" << "N2" << "Edit2" << "RA3XYZ";
        QTest::newRow("worked Number") << "017" << "N21" << "Edit4" << "017";
        QTest::newRow("worked RST") << "579" << "RST2" << "ComboBox2" << "579";
    }
    void eachItemFillsItsField()
    {
        QFETCH(QString, word);
        QFETCH(QString, item);
        QFETCH(QString, field);
        QFETCH(QString, shown);
        startShown();
        receive(QStringLiteral("\rDE ra3xyz 5nn 017, 579 K\r\n"));
        doubleClickOn(word);
        QCOMPARE(f4->PickedWord, word);
        QVERIFY(f4->PopupMenu2->isVisible());
        auto *action = f4->findChild<QAction *>(item);
        QVERIFY(action);
        QTest::mouseClick(f4->PopupMenu2, Qt::LeftButton, {}, f4->PopupMenu2->actionGeometry(action).center());
        QCOMPARE(fieldText(f1->findChild<QWidget *>(field)), shown);
    }

    void wordTaking_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("picked");
        QTest::addColumn<bool>("menu");
        QTest::newRow("call before a comma") << "TU UA1ABC, 599" << "UA1ABC" << "UA1ABC" << true;
        QTest::newRow("portable call") << "DE UA1ABC/P K" << "UA1ABC/P" << "UA1ABC/P" << true;
        QTest::newRow("599 at the line end") << "UR 599" << "599" << "599" << true;
        QTest::newRow("one letter") << "599 K" << "K" << "K" << false;
        QTest::newRow("letter comma letter") << "TU A,B 73" << "A,B" << "B" << false;
    }
    void wordTaking()
    {
        QFETCH(QString, line);
        QFETCH(QString, at);
        QFETCH(QString, picked);
        QFETCH(bool, menu);
        startShown();
        receive(line + "\r");
        doubleClickOn(at, 0);
        QCOMPARE(f4->PickedWord, picked);
        QCOMPARE(f4->PopupMenu2->isVisible(), menu);
    }

    void nothingPickedKeepsTheLastWord()
    {
        startShown();
        receive("UA1ABC    599\r");
        doubleClickOn("UA1ABC");
        QCOMPARE(f4->PickedWord, QString("UA1ABC"));
        f4->PopupMenu2->hide();
        doubleClickOn("    ", 2);   // blanks only
        QCOMPARE(f4->PickedWord, QString("UA1ABC"));
        QVERIFY(!f4->PopupMenu2->isVisible());
        // A plain click takes nothing.
        QTest::mouseClick(f4->RxPanel->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!f4->PopupMenu2->isVisible());
    }

    void decodedTextGoesToTheEnd()
    {
        startShown();
        receive("CQ CQ\r\nDE UA1ABC");
        QTextCursor selection(f4->RxPanel->document());
        selection.setPosition(0);
        selection.setPosition(2, QTextCursor::KeepAnchor);
        f4->RxPanel->setTextCursor(selection);
        receive("\b\bXYZ");
        QCOMPARE(f4->RxPanel->toPlainText(), QString("CQ CQ\nDE UA1AXYZ"));
        QVERIFY(!f4->RxPanel->textCursor().hasSelection());
        QCOMPARE(f4->RxPanel->textCursor().position(), f4->RxPanel->document()->characterCount() - 1);
        QCOMPARE(f4->RxPanel->cursorWidth(), 0);
        receive("\b\b\b\b\b\b\b\b\b\b\b");   // the line, then its end
        QCOMPARE(f4->RxPanel->toPlainText(), QString("CQ CQ"));
        // The operator clicks into the box: the caret is back.
        QTest::mouseClick(f4->RxPanel->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(f4->RxPanel->cursorWidth() > 0);
    }

    void otherChannelsHiddenWindowAndClear()
    {
        startShown();
        receive("599", 1);
        QCOMPARE(f4->RxPanel->toPlainText(), QString());
        f4->hide();
        receive("TU\r\n");
        QCOMPARE(f4->RxPanel->toPlainText(), QString("TU\n"));
        f4->show();
        QCOMPARE(f4->RxPanel->toPlainText(), QString());
        receive("73");
        f4->Button1->click();
        QCOMPARE(f4->RxPanel->toPlainText(), QString());
    }
};

QTEST_MAIN(RxCaptureTest)
#include "tst_rxcapture.moc"
