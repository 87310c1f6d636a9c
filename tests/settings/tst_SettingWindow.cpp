// The settings window: fields loaded once at creation, "OK" writing all thirteen keys in
// order, the address box's shown lines, and the close box saving nothing.
#include "AppFixture.h"
#include "DXCCPrefix.h"
#include "OptionsIni.h"
#include "Setting.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QString address(const AppFixture &fx, int line)
{
    return OptionsIni(fx.file("Options.ini")).value("Directories", "ADDRESS" + QString::number(line));
}

} // namespace

class SettingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void firstStartCreatesTheFile();
    void loadsOnceAtCreation();
    void addressLines_data();
    void addressLines();
    void wrappedLinesCount();
    void existingFileKeepsTheRest();
    void closeBoxSavesNothing();
    void writeFailureKeepsWindowOpen();
    void tabOrder();
    void speedButtonShowsDxccWindow();
};

void SettingWindowTest::layout()
{
    AppFixture fx;
    TForm7 *w = fx.start().Form7;
    QCOMPARE(w->windowTitle(), QString("Setting"));
    QCOMPARE(w->size(), QSize(449, 266));
    QCOMPARE(w->GroupBox1->title(), QString("Cabrillo setting"));
    QCOMPARE(w->GroupBox2->title(), QString("Contest setting"));
    QCOMPARE(w->SpeedButton1->text(), QString("..."));
    QCOMPARE(w->BitBtn1->text(), QString("OK"));
    QCOMPARE(w->Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

void SettingWindowTest::firstStartCreatesTheFile()
{
    AppFixture fx;
    TForm7 *w = fx.start().Form7;
    for (QLineEdit *e : {w->Edit1, w->Edit2, w->Edit3, w->Edit4, w->Edit5, w->Edit6, w->Edit7, w->Edit8, w->Edit9})
        QCOMPARE(e->text(), QString());
    w->show();
    w->Edit1->setText("R1-123");
    w->Edit7->setText("16");
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    QCOMPARE(contents(fx.file("Options.ini")),
             QByteArray("[Directories]\nCALLSIGN=R1-123\nEMAIL=\nNAME=\nLOCATION=\nADDRESS1=\nADDRESS2=\nADDRESS3=\n"
                        "ADDRESS4=\nSOAPBOX=\nmyDXCCPrefix=\nmyCQZone=16\nmyITUZone=\nmyContinent=\n"));
    QVERIFY(!w->isVisible());
}

void SettingWindowTest::loadsOnceAtCreation()
{
    AppFixture fx;
    fx.writeFile("Options.ini", "[Directories]\nCALLSIGN=R1-123\nNAME=Ivan\nLOCATION=RU\nEMAIL=e@x\n"
                                "ADDRESS1=Nevsky 1\nADDRESS2=SPb\nSOAPBOX=TNX\nmyDXCCPrefix=UA\nmyCQZone=16\n"
                                "myITUZone=29\nmyContinent=EU\n");
    TForm7 *w = fx.start().Form7;
    QCOMPARE(w->Edit1->text(), QString("R1-123"));
    QCOMPARE(w->Edit2->text(), QString("Ivan"));
    QCOMPARE(w->Edit3->text(), QString("RU"));
    QCOMPARE(w->Edit4->text(), QString("e@x"));
    QCOMPARE(w->Memo1->toPlainText(), QString("Nevsky 1\nSPb\n\n"));
    QCOMPARE(w->Edit5->text(), QString("TNX"));
    QCOMPARE(w->Edit6->text(), QString("UA"));
    QCOMPARE(w->Edit7->text(), QString("16"));
    QCOMPARE(w->Edit8->text(), QString("29"));
    QCOMPARE(w->Edit9->text(), QString("EU"));

    fx.writeFile("Options.ini", "[Directories]\nCALLSIGN=CHANGED\n");
    w->show();
    QCOMPARE(w->Edit1->text(), QString("R1-123"));
}

void SettingWindowTest::addressLines_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("saved");
    QTest::newRow("two lines") << "Nevsky 1\nSt Petersburg" << QStringList{"Nevsky 1", "St Petersburg", "", ""};
    QTest::newRow("six lines: the last two are lost") << "1\n2\n3\n4\n5\n6" << QStringList{"1", "2", "3", "4"};
    QTest::newRow("empty box") << "" << QStringList{"", "", "", ""};
}

void SettingWindowTest::addressLines()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, saved);
    AppFixture fx;
    Forms &f = fx.start();
    TForm7 *w = f.Form7;
    w->show();
    w->Memo1->setPlainText(typed);
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(address(fx, i + 1), saved[i]);
    QVERIFY(!contents(fx.file("Options.ini")).contains("ADDRESS5"));

    // Loaded again, the box holds the four saved lines.
    TForm7 again(f);
    QCOMPARE(again.Memo1->toPlainText(), saved.join('\n'));
}

void SettingWindowTest::wrappedLinesCount()
{
    AppFixture fx;
    TForm7 *w = fx.start().Form7;
    w->show();
    const QString longLine = "Nevsky prospekt 28 apartment 14 Saint Petersburg 191186 Russia";
    w->Memo1->setPlainText(longLine + "\nsecond");
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    const QStringList saved{address(fx, 1), address(fx, 2), address(fx, 3), address(fx, 4)};
    // The long line wraps: its parts come first, each fitting the box, then the second line.
    QVERIFY2(!saved[1].isEmpty() && saved[0].size() < longLine.size(), qPrintable(saved.join('|')));
    const QFontMetrics metrics(w->Memo1->font());
    QVERIFY(metrics.horizontalAdvance(saved[0]) <= w->Memo1->viewport()->width());
    const qsizetype second = saved.indexOf("second");
    QVERIFY2(second > 1, qPrintable(saved.join('|')));
    QCOMPARE(saved.mid(0, second).join(' ').simplified(), longLine);
}

void SettingWindowTest::existingFileKeepsTheRest()
{
    AppFixture fx;
    fx.writeFile("Options.ini", "; written by hand\n\n[Waterfall]\n1=10\n\n[Directories]\n; my call\nCALLSIGN=OLD\n"
                                "OTHER=kept\n");
    TForm7 *w = fx.start().Form7;
    w->show();
    w->Edit1->setText("NEW");
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    const QByteArray text = contents(fx.file("Options.ini"));
    for (const char *kept : {"; written by hand\n", "[Waterfall]\n1=10\n", "; my call\nCALLSIGN=NEW\nOTHER=kept\nEMAIL=\n"})
        QVERIFY2(text.contains(kept), text.constData());
    QVERIFY(text.endsWith("myContinent=\n"));
}

void SettingWindowTest::closeBoxSavesNothing()
{
    AppFixture fx;
    TForm7 *w = fx.start().Form7;
    w->show();
    w->Edit1->setText("UNSAVED");
    w->Memo1->setPlainText("somewhere");
    w->close();
    QVERIFY(!w->isVisible());
    QVERIFY(!QFile::exists(fx.file("Options.ini")));
    w->show();
    QCOMPARE(w->Edit1->text(), QString("UNSAVED"));
    QCOMPARE(w->Memo1->toPlainText(), QString("somewhere"));
}

void SettingWindowTest::writeFailureKeepsWindowOpen()
{
    AppFixture fx;
    TForm7 *w = fx.start().Form7;
    QVERIFY(QDir(fx.folder()).mkdir("Options.ini"));
    w->show();
    MessageBoxAnswer answer;
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    QVERIFY(answer.answered());
    const QString expected = "Unable to write to " + QDir::toNativeSeparators(QDir(fx.folder()).absoluteFilePath("Options.ini")) + ": ";
    QVERIFY2(answer.text().startsWith(expected), qPrintable(answer.text()));
    QVERIFY(w->isVisible());
}

void SettingWindowTest::tabOrder()
{
    AppFixture fx;
    TForm7 *w = fx.start().Form7;
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->Edit1->setFocus();
    const QList<QWidget *> order{w->Edit2, w->Edit3, w->Edit4, w->Memo1, w->Edit5,
                                 w->BitBtn1, w->Edit6, w->Edit7, w->Edit8, w->Edit9};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QCOMPARE(w->SpeedButton1->focusPolicy(), Qt::NoFocus);
}

void SettingWindowTest::speedButtonShowsDxccWindow()
{
    AppFixture fx;
    Forms &f = fx.start();
    TForm7 *w = f.Form7;
    w->show();
    // Another tab in front when the DXCC window was last closed.
    f.Form9->RzPageControl1->setCurrentWidget(f.Form9->TabSheet1);
    QTest::mouseClick(w->SpeedButton1, Qt::LeftButton);
    QVERIFY(f.Form9->isVisible());
    QCOMPARE(f.Form9->RzPageControl1->currentWidget(), f.Form9->TabSheet3);
}

QTEST_MAIN(SettingWindowTest)
#include "tst_SettingWindow.moc"
