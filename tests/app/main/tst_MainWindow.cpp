// The main window through its controls: start-up, the Enter flow, the check before Save,
// the saved row, score and panels, band and mode with their report lists.
#include "AppFixture.h"
#include "Log.h"
#include "LogDate.h"
#include "MMVARI.h"
#include "QsoStore.h"
#include "QsoTableModel.h"
#include "StoreError.h"

#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {

QStringList items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QStringList panels(TForm1 *f)
{
    return {f->StatusPanel[0]->text(), f->StatusPanel[1]->text(), f->StatusPanel[2]->text(), f->StatusPanel[3]->text()};
}

void seed(const AppFixture &fx, const QList<QStringList> &rows)
{
    QsoStore store(fx.file(QsoStore::defaultFileName()));
    for (const QStringList &r : rows) {
        QsoRecord q;
        q.call1 = r[0];
        q.call2 = r[1];
        q.QSOBand = r[2];
        q.mode = r[3];
        q.nr2 = r.value(4);
        q.nr1 = "1";
        store.append(q);
    }
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> fx;
    TForm1 *f = nullptr;

    void startShown(const QList<QStringList> &rows = {})
    {
        seed(*fx, rows);
        f = fx->start().Form1;
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
    }

private slots:
    void init() { fx = std::make_unique<AppFixture>(); }
    void cleanup()
    {
        fx.reset();
        f = nullptr;
    }

    void firstDisplay()
    {
        startShown();
        QCOMPARE(f->windowTitle(), QString("ORVO Contest Logger v1.1"));
        QCOMPARE(panels(f), (QStringList{"QSO 0", "Score 0", "Heard 0", "Worked 0"}));
        QCOMPARE(f->lbBand->text(), QString("14"));
        QCOMPARE(f->lbMode->text(), QString("CW"));
        QCOMPARE(f->ComboBox1->currentText(), QString("599"));
        QCOMPARE(items(f->ComboBox2), (QStringList{"599", "589", "579", "569", "559"}));
        QCOMPARE(f->focusWidget(), f->Edit1);
    }

    void newestRowSelectedAndScoreCounted()
    {
        startShown({{"UA1AAA", "UA2BBB", "14", "CW", "001"}, {"UA1CCC", "UA2DDD", "14", "CW", ""}});
        QCOMPARE(panels(f), (QStringList{"QSO 2", "Score 4", "Heard 0", "Worked 0"}));
        QCOMPARE(f->store().currentRow(), 1);
    }

    void clockShowsUtcAndLocalDate()
    {
        startShown();
        QCOMPARE(f->lbTime->text(), QString("00:00:00"));
        f->Timer1Timer();
        QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(f->lbTime->text()).hasMatch());
        const QTime shown = QTime::fromString(f->lbTime->text(), "HH:mm:ss");
        QVERIFY(qAbs(shown.secsTo(QDateTime::currentDateTimeUtc().time())) <= 2);
        QCOMPARE(f->lbDate->text(), logdate::toText(QDate::currentDate()));
        QCOMPARE(f->lbTime->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    }

    void startUpRefusesAMissingLog()
    {
        QFile::remove(fx->file(QsoStore::defaultFileName()));
        try {
            fx->start();
            QFAIL("started without a log");
        } catch (const StoreError &e) {
            QVERIFY(QString(e.what()).contains(fx->folder()));
        }
        QVERIFY(!QFile::exists(fx->file(QsoStore::defaultFileName())));
    }

    void enterWalksTheFieldsAndSaves()
    {
        startShown();
        f->btn15->click();
        QTest::keyClicks(f->Edit1, "ua1abc");
        QTest::keyClick(f->Edit1, Qt::Key_Return);
        QCOMPARE(f->focusWidget(), f->Edit3);
        QTest::keyClicks(f->Edit3, " 001 ");
        QTest::keyClick(f->Edit3, Qt::Key_Return);
        QCOMPARE(f->focusWidget(), f->Edit2);
        QTest::keyClicks(f->Edit2, "ua2xyz");
        QTest::keyClick(f->Edit2, Qt::Key_Return);
        QCOMPARE(f->focusWidget(), f->Edit4);
        f->ComboBox1->setCurrentText("579");
        const QDateTime before = QDateTime::currentDateTimeUtc();
        QTest::keyClick(f->Edit4, Qt::Key_Return);

        QCOMPARE(f->store().recordCount(), 1);
        const QsoRecord r = f->store().table().record(0);
        QCOMPARE(r.call1, QString("UA1ABC"));
        QCOMPARE(r.nr1, QString("001"));
        QCOMPARE(r.call2, QString("UA2XYZ"));
        QCOMPARE(r.nr2, QString());
        QCOMPARE(r.rst1, QString("579"));
        QCOMPARE(r.rst2, QString("599"));
        QCOMPARE(r.QSOBand, QString("21"));
        QCOMPARE(r.mode, QString("CW"));
        QCOMPARE(r.data, logdate::toText(QDate::currentDate()));
        QVERIFY(r.time == before.toString("HH:mm") || r.time == before.addSecs(60).toString("HH:mm"));
        QCOMPARE(panels(f), (QStringList{"QSO 1", "Score 1", "Heard 0", "Worked 0"}));
        for (QLineEdit *e : {f->Edit1, f->Edit2, f->Edit3, f->Edit4})
            QVERIFY(e->text().isEmpty());
        QCOMPARE(f->ComboBox1->currentText(), QString("579"));
        QCOMPARE(f->focusWidget(), f->Edit1);
        QCOMPARE(f->store().currentRow(), 0);

        f->Edit1->setText("UA1DEF");
        f->Edit3->setText("2");
        f->Edit2->setText("UA2DEF");
        f->Edit4->setText("7");
        f->Button1->click();
        QCOMPARE(f->StatusPanel[1]->text(), QString("Score 4"));
        QCOMPARE(f->store().currentRow(), 1);
    }

    void checkBeforeSave_data()
    {
        QTest::addColumn<QString>("heard");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("worked");
        QTest::addColumn<QString>("focus");
        QTest::newRow("heard call empty") << "" << "1" << "UA2B" << "Edit1";
        QTest::newRow("number and worked empty") << "UA1A" << "" << "" << "Edit3";
        QTest::newRow("worked empty") << "UA1A" << "1" << "" << "Edit2";
        QTest::newRow("blanks only") << "   " << "1" << "UA2B" << "Edit1";
    }
    void checkBeforeSave()
    {
        QFETCH(QString, heard);
        QFETCH(QString, number);
        QFETCH(QString, worked);
        QFETCH(QString, focus);
        startShown();
        f->Edit1->setText(heard);
        f->Edit3->setText(number);
        f->Edit2->setText(worked);
        MessageBoxAnswer answer;
        QTest::keyClick(f->Edit4, Qt::Key_Return);
        QVERIFY(answer.answered());
        QCOMPARE(answer.text(), QString("Please check all values."));
        QCOMPARE(f->focusWidget()->objectName(), focus);
        QCOMPARE(f->store().recordCount(), 0);
        QCOMPARE(f->Edit1->text(), heard);
    }

    void storeErrorOnSaveKeepsEverything()
    {
        startShown();
        // Another program holds the log locked for writing.
        auto db = QSqlDatabase::addDatabase("QSQLITE", "locker");
        db.setDatabaseName(fx->file(QsoStore::defaultFileName()));
        QVERIFY(db.open());
        QSqlQuery lock(db);
        QVERIFY(lock.exec("BEGIN IMMEDIATE"));   // readers may go on, writers wait
        f->Edit1->setText("UA1AAA");
        f->Edit3->setText("1");
        f->Edit2->setText("UA2BBB");
        MessageBoxAnswer answer;
        f->Button1->click();
        QVERIFY(answer.answered());
        QVERIFY2(answer.text().contains("locked"), qPrintable(answer.text()));
        QCOMPARE(f->Edit1->text(), QString("UA1AAA"));
        QCOMPARE(f->StatusPanel[0]->text(), QString("QSO 0"));
        QCOMPARE(f->store().recordCount(), 0);
        lock.exec("ROLLBACK");
        db.close();
        db = {};
        QSqlDatabase::removeDatabase("locker");
    }

    void clearEmptiesTheFields()
    {
        startShown();
        for (QLineEdit *e : {f->Edit1, f->Edit2, f->Edit3, f->Edit4})
            e->setText("X1");
        f->ComboBox2->setCurrentText("55");
        f->Button2->click();
        for (QLineEdit *e : {f->Edit1, f->Edit2, f->Edit3, f->Edit4})
            QVERIFY(e->text().isEmpty());
        QCOMPARE(f->ComboBox2->currentText(), QString("55"));
        QCOMPARE(f->focusWidget(), f->Edit1);
    }

    void cyrillicLayoutTypesLatin()
    {
        startShown();
        // What a Russian keyboard layout delivers: key events carrying Cyrillic text.
        for (const QChar c : QString::fromUtf8("гф1чня")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(f->Edit1, &press);
        }
        QCOMPARE(f->Edit1->text(), QString("UA1XYZ"));
        f->Edit2->setText(QString::fromUtf8("dl/ГФ1"));
        QCOMPARE(f->Edit2->text(), QString("DL/UA1"));
    }

    void modeButtonsLoadTheReportLists()
    {
        fx->writeFile("rst59.dat", "59\n57\n55\n");
        startShown();
        f->btnSSB->click();
        QCOMPARE(f->lbMode->text(), QString("SSB"));
        QCOMPARE(items(f->ComboBox1), (QStringList{"59", "57", "55"}));
        QCOMPARE(items(f->ComboBox2), (QStringList{"59", "57", "55"}));
        QCOMPARE(f->ComboBox1->currentText(), QString("59"));
        QCOMPARE(f->ComboBox2->currentText(), QString("59"));
        f->btnCW->click();
        QCOMPARE(f->lbMode->text(), QString("CW"));
        QCOMPARE(f->ComboBox2->currentText(), QString("599"));
        QCOMPARE(items(f->ComboBox1).first(), QString("599"));
    }

    void digiPopup()
    {
        startShown();
        f->btnSSB->click();
        f->btnDIGI->click();
        QTRY_VERIFY(f->mnuModes->isVisible());
        QCOMPARE(f->ComboBox1->currentText(), QString("599"));
        QTest::keyClick(f->mnuModes, Qt::Key_Escape);
        QTRY_VERIFY(!f->mnuModes->isVisible());
        QCOMPARE(f->lbMode->text(), QString("SSB"));
        f->btnDIGI->click();
        f->BPSK631->trigger();
        QCOMPARE(f->lbMode->text(), QString("BPSK63"));
        f->Edit1->setText("UA1AAA");
        f->Edit3->setText("1");
        f->Edit2->setText("UA2BBB");
        f->Button1->click();
        QCOMPARE(f->store().table().record(0).mode, QString("BPSK63"));
    }

    void bandButtonsSetTheDecoderBandToo()
    {
        startShown();
        f->btn15->click();
        QCOMPARE(f->lbBand->text(), QString("21"));
        QCOMPARE(fx->forms().Form4->ComboBox1->currentText(), QString("21"));
        f->btn160->click();
        QCOMPARE(f->lbBand->text(), QString("1.8"));
    }

    void missingReportListIsReported()
    {
        QFile::remove(fx->file("rst59.dat"));
        startShown();
        MessageBoxAnswer answer;
        f->btnSSB->click();
        QVERIFY(answer.answered());
        QVERIFY(answer.text().startsWith("Cannot open file " + fx->folder()));
        QCOMPARE(f->lbMode->text(), QString("SSB"));
        QCOMPARE(f->ComboBox1->currentText(), QString("599"));
        QCOMPARE(items(f->ComboBox1).size(), 5);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
