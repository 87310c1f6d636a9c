// The decoder window through its controls: the showing steps, band, mode and speed kept in
// step with the main window, the buttons and menus on the engine and the view, the engine's
// reports in the status bar, the palette in Options.ini and the kept button states.
#include "AppFixture.h"
#include "DecoderWindows.h"
#include "Engine.h"
#include "Log.h"
#include "MMVARI.h"
#include "ModeLabel.h"
#include "Sound.h"
#include "XMMVBtn.h"
#include "XMMVLvl.h"
#include "XMMVView.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextStream>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>

namespace {

QStringList items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    QTextStream in(&f);
    while (!in.atEnd())
        lines << in.readLine();
    return lines;
}

void turnWheel(QWidget *w, int delta)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
}

// A second of a tone: the engine makes spectrum frames of it.
void feedTone(TMMVARI *engine, double hz)
{
    std::vector<float> tone(11025);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = 0.3f * float(std::sin(2.0 * M_PI * hz * double(i) / 11025.0));
    engine->feed(tone.data(), tone.size());
}

} // namespace

class DecoderWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> fx;
    TForm1 *f1 = nullptr;
    TForm4 *f4 = nullptr;

    void start()
    {
        Forms &forms = fx->start();
        f1 = forms.Form1;
        f4 = forms.Form4;
    }
    void startShown()
    {
        start();
        f1->show();
        f4->show();
        QVERIFY(QTest::qWaitForWindowExposed(f4));
    }

private slots:
    void initTestCase() { decodertest::isolateSoundServer(); }
    void init() { fx = std::make_unique<AppFixture>(); }
    void cleanup() { fx.reset(); }

    void layout()
    {
        start();
        QCOMPARE(f4->windowTitle(), QString("MMVARI"));
        QCOMPARE(f4->RxPanel->size(), QSize(503, 285));
        QCOMPARE(f4->width(), 627);
        QCOMPARE(f4->height(), 434 + f4->MainMenu1->height());
        QCOMPARE(items(f4->ComboBox1), QStringList({"1.8", "3.5", "7", "14", "21", "28"}));
        QCOMPARE(f4->ComboBox1->currentText(), QString("1.8"));
        QCOMPARE(items(f4->CBSpeed), QStringList({"15.625", "31.25", "45.45", "62.5", "75", "125"}));
        QCOMPARE(f4->CBSpeed->currentText(), QString());
        QVERIFY(f4->CBMode->font().bold() && f4->CBSpeed->font().bold());
        QVERIFY(f4->RxPanel->font().fixedPitch());
        QVERIFY(f4->N12->isChecked() && !f4->N22->isChecked() && !f4->WaterAGC1->isChecked());
        QVERIFY(f4->SpeedButton4->isChecked() && f4->SpeedButton5->isChecked());
        QCOMPARE(f4->XMMVBtn1->Caption(), QString("FFT"));
        QCOMPARE(f4->XMMVBtn2->Caption(), QString("AFC"));
        QCOMPARE(f4->Button1->text(), QString("Clear RX Window"));
        QStringList modes;
        for (QAction *a : f4->PopupMenu1->actions())
            modes << a->text();
        QCOMPARE(modes, QStringList({"bpsk", "rtty-L", "rtty-U", "mfsk-L", "mfsk-U"}));
        QStringList words;
        for (QAction *a : f4->PopupMenu2->actions())
            words << (a->isSeparator() ? QString("-") : a->text());
        QCOMPARE(words, QStringList({"Heard Station", "Number", "RST", "-", "Worked Station", "Number", "RST"}));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(f4->StatusPanel[i]->text(), QString());
    }

    void showing()
    {
        start();
        f4->RxPanel->setPlainText("old text");
        f1->ComboBox1->setCurrentText("55");
        f1->show();
        f4->show();
        QCOMPARE(f4->MMVARIHandle, f4->MMVARI->dwHandle());
        QCOMPARE(TMMVARI::fromHandle(f4->MMVARIHandle), f4->MMVARI);
        QCOMPARE(f4->XMMVView->wType(), 1);
        QVERIFY(f4->MMVARI->bActive());
        QCOMPARE(f4->CBMode->count(), f4->MMVARI->wModeMax());
        QCOMPARE(f4->CBMode->itemText(0), f4->MMVARI->ModeNameAt(0));
        QCOMPARE(f4->ComboBox1->currentText(), f1->lbBand->text());
        QVERIFY(f4->RxPanel->toPlainText().isEmpty());
        QCOMPARE(f4->CBSpeed->currentText(), QString("31.25"));
        QCOMPARE(f1->lbMode->text(), QString("BPSK31"));
        QCOMPARE(f1->ComboBox1->currentText(), QString("599"));
        QCOMPARE(f1->ComboBox2->currentText(), QString("599"));
        QCOMPARE(items(f1->ComboBox1), fileLines(fx->file("rst599.dat")));
        QCOMPARE(items(f1->ComboBox2), fileLines(fx->file("rst599.dat")));

        // A second showing lists the modes once.
        f4->hide();
        f4->show();
        QCOMPARE(f4->CBMode->count(), f4->MMVARI->wModeMax());
    }

    void badSpeedSkipsTheRestOfTheShowing()
    {
        startShown();
        f4->hide();
        f4->CBSpeed->setCurrentText("fast");
        f1->ComboBox1->setCurrentText("55");
        f1->lbMode->setText("CW");
        MessageBoxAnswer answer;
        f4->show();
        QVERIFY(answer.answered());
        QCOMPARE(answer.text(), QString("'fast' is not a valid floating point value"));
        QCOMPARE(f1->lbMode->text(), QString("CW"));
        QCOMPARE(f1->ComboBox1->currentText(), QString("55"));
        QVERIFY(f4->MMVARI->bActive());
    }

    void bandBox()
    {
        startShown();
        // The main window's band buttons write the box; that runs nothing of the box.
        f1->btn15->click();
        QCOMPARE(f4->ComboBox1->currentText(), QString("21"));
        QCOMPARE(f1->lbBand->text(), QString("21"));
        f1->lbBand->setText("14");
        f4->ComboBox1->setCurrentText("28");
        QCOMPARE(f1->lbBand->text(), QString("14"));

        QVERIFY(decodertest::pick(f4->ComboBox1, "7"));
        QCOMPARE(f1->lbBand->text(), QString("7"));
        QCOMPARE(f4->focusWidget(), f4->MMVARIFocus);

        f4->ComboBox1->lineEdit()->clear();
        QTest::keyClick(f4->ComboBox1->lineEdit(), '3');
        QCOMPARE(f1->lbBand->text(), QString("3"));
        QCOMPARE(f4->focusWidget(), f4->MMVARIFocus);
    }

    void pickedModeGoesToTheEngine_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("label");
        QTest::newRow("rtty-U") << "rtty-U" << "RTTY";
        QTest::newRow("mfsk-L") << "mfsk-L" << "MFSK16";
        QTest::newRow("qpsk") << "qpsk" << "QPSK31";
    }
    void pickedModeGoesToTheEngine()
    {
        QFETCH(QString, mode);
        QFETCH(QString, label);
        startShown();
        f1->ComboBox1->setCurrentText("55");
        QVERIFY(decodertest::pick(f4->CBMode, mode));
        QCOMPARE(f4->MMVARI->ChannelMode(0), mode);
        QCOMPARE(f4->CBSpeed->currentText(), modelabel::speedText(f4->MMVARI->ChannelSpeed(0)));
        QCOMPARE(f1->lbMode->text(), label);
        QCOMPARE(f1->ComboBox1->currentText(), QString("599"));
        QCOMPARE(f4->focusWidget(), f4->MMVARIFocus);
    }

    void typedModeReachesOnlyTheLabel()
    {
        startShown();
        f1->lbMode->setText("CW");
        f4->CBMode->lineEdit()->clear();
        QTest::keyClicks(f4->CBMode->lineEdit(), "rtty-U");
        // The label is made from the engine's mode, which typing does not change.
        QCOMPARE(f4->MMVARI->ChannelMode(0), QString("bpsk"));
        QCOMPARE(f1->lbMode->text(), QString("BPSK31"));
    }

    void speed()
    {
        startShown();
        f4->CBSpeed->lineEdit()->clear();
        QTest::keyClicks(f4->CBSpeed->lineEdit(), "62.5");
        QCOMPARE(f1->lbMode->text(), QString("BPSK63"));
        QCOMPARE(f4->MMVARI->ChannelSpeed(0), 31.25);

        QVERIFY(decodertest::pick(f4->CBSpeed, "125"));
        QCOMPARE(f4->MMVARI->ChannelSpeed(0), 125.0);
        QCOMPARE(f1->lbMode->text(), QString("BPSK125"));
        QCOMPARE(f4->focusWidget(), f4->MMVARIFocus);
    }

    void typedSpeedThatIsNoNumber()
    {
        startShown();
        f4->CBSpeed->lineEdit()->clear();
        MessageBoxAnswer answer;
        QTest::keyClick(f4->CBSpeed->lineEdit(), 'x');
        QVERIFY(answer.answered());
        QCOMPARE(answer.text(), QString("'x' is not a valid floating point value"));
        QCOMPARE(f1->lbMode->text(), QString("BPSK31"));
    }

    void missingReportList()
    {
        startShown();
        QVERIFY(QFile::remove(fx->file("rst599.dat")));
        f1->ComboBox1->setCurrentText("55");
        MessageBoxAnswer answer;
        QVERIFY(decodertest::pick(f4->CBMode, "rtty-L"));
        QVERIFY(answer.answered());
        QVERIFY2(answer.text().startsWith("Cannot open file " + fx->folder()), qPrintable(answer.text()));
        QVERIFY(answer.text().endsWith("rst599.dat"));
        QCOMPARE(f1->lbMode->text(), QString("RTTY"));
        QCOMPARE(f1->ComboBox1->currentText(), QString("55"));
    }

    void buttons_data()
    {
        // Each button after another of its group, so that the click changes something.
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("span");     // 0: a filter button
        QTest::addColumn<int>("filter");   // -1: a span button
        QTest::newRow("500") << "SpeedButton4" << "SpeedButton1" << 500 << -1;
        QTest::newRow("1k") << "SpeedButton1" << "SpeedButton2" << 1000 << -1;
        QTest::newRow("2k") << "SpeedButton1" << "SpeedButton3" << 2000 << -1;
        QTest::newRow("3k") << "SpeedButton1" << "SpeedButton4" << 3000 << -1;
        QTest::newRow("filter 1") << "SpeedButton8" << "SpeedButton5" << 0 << 0;
        QTest::newRow("filter 2") << "SpeedButton5" << "SpeedButton6" << 0 << 1;
        QTest::newRow("filter 3") << "SpeedButton5" << "SpeedButton7" << 0 << 2;
        QTest::newRow("filter 4") << "SpeedButton5" << "SpeedButton8" << 0 << 3;
    }
    void buttons()
    {
        QFETCH(QString, before);
        QFETCH(QString, button);
        QFETCH(int, span);
        QFETCH(int, filter);
        startShown();
        auto *first = f4->findChild<QToolButton *>(before);
        auto *b = f4->findChild<QToolButton *>(button);
        QVERIFY(first && b);
        QTest::mouseClick(first, Qt::LeftButton);
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(b->isChecked() && !first->isChecked());
        if (span)
            QCOMPARE(f4->XMMVView->wWidthFreq(), span);
        else
            QCOMPARE(f4->MMVARI->nBPF(), filter);
    }

    void fftAndAfc()
    {
        startShown();
        QTest::mouseClick(f4->XMMVBtn1, Qt::LeftButton);
        QCOMPARE(f4->XMMVView->wType(), 0);
        QTest::mouseClick(f4->XMMVBtn1, Qt::LeftButton);
        QCOMPARE(f4->XMMVView->wType(), 1);
        QTest::mouseClick(f4->XMMVBtn1, Qt::LeftButton);
        // A new showing is the waterfall again, with the button up.
        f4->hide();
        f4->show();
        QCOMPARE(f4->XMMVView->wType(), 1);
        QVERIFY(!f4->XMMVBtn1->State());

        QCOMPARE(f4->XMMVBtn2->State(), f4->MMVARI->ChannelAfc(0) == 1);
        QTest::mouseClick(f4->XMMVBtn2, Qt::LeftButton);
        QCOMPARE(f4->MMVARI->ChannelAfc(0), f4->XMMVBtn2->State() ? 1 : 0);
        QTest::mouseClick(f4->XMMVBtn2, Qt::LeftButton);
        QCOMPARE(f4->MMVARI->ChannelAfc(0), f4->XMMVBtn2->State() ? 1 : 0);
    }

    void statusBarPopup_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("rtty-L") << "rttyL1";
        QTest::newRow("rtty-U") << "rttyU1";
        QTest::newRow("mfsk-L") << "mfskL1";
        QTest::newRow("mfsk-U") << "mfskU1";
        QTest::newRow("bpsk") << "GMSK1";
    }
    void statusBarPopup()
    {
        QFETCH(QString, item);
        startShown();
        if (item == "GMSK1")
            f4->MMVARI->setChannelMode(0, "qpsk");
        QSignalSpy shown(f4->PopupMenu1, &QMenu::aboutToShow);
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(20, 5), f4->StatusBar1->mapToGlobal(QPoint(20, 5)));
        QApplication::sendEvent(f4->StatusPanel[0], &right);
        QCOMPARE(shown.count(), 1);
        auto *action = f4->findChild<QAction *>(item);
        QVERIFY(action);
        QTest::mouseClick(f4->PopupMenu1, Qt::LeftButton, {}, f4->PopupMenu1->actionGeometry(action).center());
        QCOMPARE(f4->MMVARI->ChannelMode(0), action->text());
        // The main window's label waits for the operator; the mode box follows the next frame.
        QCOMPARE(f1->lbMode->text(), QString("BPSK31"));
        feedTone(f4->MMVARI, 1000);
        QCOMPARE(f4->CBMode->currentText(), action->text());
        QCOMPARE(f4->StatusPanel[3]->text(), action->text());
    }

    void spectrumFrame()
    {
        startShown();
        f4->MMVARI->setChannelCarrier(0, 1234);
        QSignalSpy frames(f4->MMVARI, &TMMVARI::OnDrawFFT);
        feedTone(f4->MMVARI, 1234);
        QVERIFY(frames.count() > 0);
        QCOMPARE(f4->StatusPanel[0]->text(), QString("RX:%1Hz").arg(f4->MMVARI->ChannelCarrier(0)));
        QCOMPARE(f4->StatusPanel[2]->text(), QString("S/N=%1db").arg(f4->MMVARI->ChannelSignalToNoise(0)));
        QCOMPARE(f4->StatusPanel[3]->text(), QString("bpsk"));
        QCOMPARE(f4->CBMode->currentText(), QString("bpsk"));
        QVERIFY(f4->XMMVLvl->level() > 0.1);
        QVERIFY(!f4->XMMVView->picture().isNull());
    }

    void engineReports()
    {
        startShown();
        emit f4->MMVARI->OnTiming(0, -12, 0);
        QCOMPARE(f4->StatusPanel[1]->text(), QString("-12ppm"));
        emit f4->MMVARI->OnTiming(0, 40, 1);
        QCOMPARE(f4->StatusPanel[1]->text(), QString("-12ppm"));
        emit f4->MMVARI->OnTiming(2, 7, 0);
        QCOMPARE(f4->StatusPanel[1]->text(), QString("7ppm"));

        emit f4->MMVARI->OnSpeed(1, 45.45);
        QCOMPARE(f4->CBSpeed->currentText(), QString("31.25"));
        emit f4->MMVARI->OnSpeed(0, 62.5);
        QCOMPARE(f4->CBSpeed->currentText(), QString("62.5"));
        QCOMPARE(f1->lbMode->text(), QString("BPSK31"));
    }

    void deviceTroubleInTheStatusBar()
    {
        startShown();
        f4->MMVARI->setStrSoundID("7");
        QTRY_VERIFY_WITH_TIMEOUT(!f4->StatusPanel[4]->toolTip().isEmpty(), 10000);
        QVERIFY(!f4->StatusPanel[4]->text().isEmpty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void wheelTunesTheCarrier()
    {
        startShown();
        f4->MMVARI->setChannelCarrier(0, 1500);
        turnWheel(f4->XMMVView, 120);
        QCOMPARE(f4->MMVARI->ChannelCarrier(0), 1501);
        turnWheel(f4, -240);
        QCOMPARE(f4->MMVARI->ChannelCarrier(0), 1499);
        // Half notches add up.
        turnWheel(f4->StatusPanel[0], 60);
        QCOMPARE(f4->MMVARI->ChannelCarrier(0), 1499);
        turnWheel(f4->StatusPanel[0], 60);
        QCOMPARE(f4->MMVARI->ChannelCarrier(0), 1500);
        // Over a box the wheel tunes too, and the box keeps its text.
        const QString band = f4->ComboBox1->currentText();
        turnWheel(f4->ComboBox1, -120);
        QCOMPARE(f4->MMVARI->ChannelCarrier(0), 1499);
        QCOMPARE(f4->ComboBox1->currentText(), band);
        // The received text scrolls instead.
        turnWheel(f4->RxPanel->viewport(), 120);
        QCOMPARE(f4->MMVARI->ChannelCarrier(0), 1499);
    }

    void menus()
    {
        startShown();
        f4->N22->trigger();
        QCOMPARE(f4->XMMVView->ViewPalette(0), 10);
        QVERIFY(f4->N22->isChecked() && !f4->N12->isChecked());
        f4->N22->trigger();   // picking the checked one again keeps it
        QVERIFY(f4->N22->isChecked() && !f4->N12->isChecked());
        f4->N12->trigger();
        QCOMPARE(f4->XMMVView->ViewPalette(0), 0);
        QVERIFY(f4->N12->isChecked() && !f4->N22->isChecked());

        f4->WaterAGC1->trigger();
        QVERIFY(f4->WaterAGC1->isChecked());
        QVERIFY(f4->XMMVView->bWaterAGC());
        f4->WaterAGC1->trigger();
        QVERIFY(!f4->WaterAGC1->isChecked());
        QVERIFY(!f4->XMMVView->bWaterAGC());

        f4->N5->trigger();
        QVERIFY(fx->forms().Form8->isVisible());
    }

    void paletteRoundTrip()
    {
        startShown();
        f4->N22->trigger();
        f4->close();
        QVERIFY(!f4->isVisible());
        QVERIFY(fileLines(fx->file("Options.ini")).contains("1=10"));
        // The next start sets the palette before the window is shown.
        start();
        QCOMPARE(f4->XMMVView->ViewPalette(0), 10);
        QVERIFY(f4->N22->isChecked() && !f4->N12->isChecked());
    }

    void paletteKeepsOtherSettings()
    {
        fx->writeFile("Options.ini", "[Directories]\nCALLSIGN=UA1ABC\n[Waterfall]\n1=0\n");
        startShown();
        f4->N22->trigger();
        f4->close();
        const QStringList lines = fileLines(fx->file("Options.ini"));
        QVERIFY(lines.contains("CALLSIGN=UA1ABC"));
        QVERIFY(lines.contains("1=10"));
        QVERIFY(!lines.contains("1=0"));
    }

    void paletteThatIsNoNumber()
    {
        fx->writeFile("Options.ini", "[Waterfall]\n1=ten\n");
        {
            MessageBoxAnswer answer;
            start();
            QVERIFY(answer.answered());
            QCOMPARE(answer.text(), QString("'ten' is not a valid integer value"));
        }
        QVERIFY(f4);
        QCOMPARE(f4->XMMVView->ViewPalette(0), 0);
        QVERIFY(f4->N12->isChecked());
        // Read once, at creation: showing the window reports nothing.
        f4->show();
        QTest::qWait(50);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void hidingWritesNoPalette()
    {
        startShown();
        f4->N22->trigger();
        f4->hide();
        QVERIFY(!QFile::exists(fx->file("Options.ini")));
    }

    void programEndWritesNoPalette()
    {
        startShown();
        f4->N22->trigger();
        start();   // the windows of the first run go, the decoder window still open
        QVERIFY(!QFile::exists(fx->file("Options.ini")));
    }

    void closeWithUnwritableSettings()
    {
        QVERIFY(QDir(fx->folder()).mkdir("Options.ini"));
        startShown();
        MessageBoxAnswer answer;
        f4->close();
        QVERIFY(answer.answered());
        QVERIFY2(answer.text().startsWith("Unable to write to "), qPrintable(answer.text()));
        QVERIFY(!f4->isVisible());
    }

    void keptStates()
    {
        startShown();
        QTest::mouseClick(f4->SpeedButton2, Qt::LeftButton);
        QTest::mouseClick(f4->SpeedButton7, Qt::LeftButton);
        f4->WaterAGC1->trigger();
        f4->N22->trigger();
        f4->hide();
        // The next start: the states come back, and reach the view and the engine when shown.
        start();
        QVERIFY(f4->SpeedButton2->isChecked() && !f4->SpeedButton4->isChecked());
        QVERIFY(f4->SpeedButton7->isChecked() && !f4->SpeedButton5->isChecked());
        QVERIFY(f4->WaterAGC1->isChecked());
        QVERIFY(f4->N22->isChecked() && !f4->N12->isChecked());
        // No palette in Options.ini (the window was hidden, not closed): the menu state holds.
        QCOMPARE(f4->XMMVView->ViewPalette(0), 10);
        f4->show();
        QCOMPARE(f4->XMMVView->wWidthFreq(), 1000);
        QCOMPARE(f4->MMVARI->nBPF(), 2);
        QVERIFY(f4->XMMVView->bWaterAGC());
    }

};

QTEST_MAIN(DecoderWindowTest)
#include "tst_decoderwindow.moc"
