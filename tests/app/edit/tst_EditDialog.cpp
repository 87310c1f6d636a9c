// The edit dialog on the log's current row: opening it, what "OK", "Отмена" and the close box
// do to the row, the mode box and the reports, following the grid, refused input.
#include "AppFixture.h"
#include "Edit.h"
#include "Log.h"
#include "LogDate.h"
#include "LogRows.h"
#include "QsoStore.h"
#include "QsoTableModel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace {

QStringList items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

// The line edit the operator types into: the field itself or the box's edit.
QLineEdit *typingField(QWidget *field)
{
    if (auto *box = qobject_cast<QComboBox *>(field))
        return box->lineEdit();
    return qobject_cast<QLineEdit *>(field);
}

void retype(QWidget *field, const QString &text)
{
    QLineEdit *edit = typingField(field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Key by key with the typed character, as a keyboard with any layout delivers it.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Renames table qso from another connection, so that the logger's next write fails.
void renameTable(const AppFixture &fx, const QString &from, const QString &to)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "renamer");
        db.setDatabaseName(fx.file(QsoStore::defaultFileName()));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QString("ALTER TABLE %1 RENAME TO %2").arg(from, to)));
    }
    QSqlDatabase::removeDatabase("renamer");
}

} // namespace

class EditDialogTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> fx;
    TForm1 *f = nullptr;
    TForm2 *d = nullptr;

    void start(const QList<QsoRecord> &rows)
    {
        seed(*fx, rows);
        Forms &forms = fx->start();
        f = forms.Form1;
        d = forms.Form2;
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
    }

    void startWithThree()
    {
        start({contact("UA1AAA", "UA2AAA"), contact("UA1BBB", "UA2BBB"), contact("UA1CCC", "UA2CCC")});
    }

    void openOn(int row)
    {
        f->store().setCurrentRow(row);
        f->E1->trigger();
        QVERIFY(d->isVisible());
    }

    void clickGridRow(int row)
    {
        const QRect cell = f->DBGridEh1->visualRect(f->store().table().index(row, 0));
        QTest::mouseClick(f->DBGridEh1->viewport(), Qt::LeftButton, {}, cell.center());
        settle();
    }

    void close(const QString &how)
    {
        if (how == "OK")
            d->BitBtn1->click();
        else if (how == "Отмена")
            d->BitBtn2->click();
        else
            d->close();
    }

private slots:
    void init() { fx = std::make_unique<AppFixture>(); }
    void cleanup()
    {
        fx.reset();
        f = nullptr;
        d = nullptr;
    }

    void opensWithoutBlockingOnTheChosenRow_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("double-click on the grid") << true;
        QTest::newRow("Edit in the grid's menu") << false;
    }
    void opensWithoutBlockingOnTheChosenRow()
    {
        QFETCH(bool, doubleClick);
        startWithThree();
        if (doubleClick) {
            const QRect cell = f->DBGridEh1->visualRect(f->store().table().index(1, 3));
            // The press of a double-click comes first and chooses the row.
            QTest::mouseClick(f->DBGridEh1->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(f->DBGridEh1->viewport(), Qt::LeftButton, {}, cell.center());
        } else {
            f->store().setCurrentRow(1);
            f->E1->trigger();
        }
        QVERIFY(d->isVisible());
        QCOMPARE(d->windowTitle(), QString("Edit"));
        QCOMPARE(d->windowModality(), Qt::NonModal);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(d->shownRow(), 1);
        const QsoRecord r = contact("UA1BBB", "UA2BBB");
        QCOMPARE((QStringList{d->DateEdit->text(), d->TimeEdit->text(), d->BandBox->currentText(),
                              d->HeardEdit->text(), d->HeardReportBox->currentText(), d->HeardNumberEdit->text(),
                              d->WorkedEdit->text(), d->WorkedReportBox->currentText(),
                              d->WorkedNumberEdit->text(), d->DBComboBoxEh3->currentText()}),
                 fields(r));
    }

    void layoutListsAndTabOrder()
    {
        startWithThree();
        openOn(0);
        QCOMPARE(d->size(), QSize(250, 395));
        QCOMPARE(d->minimumSize(), d->maximumSize());
        QCOMPARE(items(d->BandBox), (QStringList{"1.8", "3.5", "7", "14", "21", "28"}));
        QCOMPARE(items(d->DBComboBoxEh3), (QStringList{"CW", "SSB", "RTTY", "BPSK31", "BPSK63", "BPSK125", "MFSK16"}));
        QCOMPARE(items(d->HeardReportBox), (QStringList{"599", "589", "579", "569", "559"}));
        QCOMPARE(items(d->WorkedReportBox), items(d->HeardReportBox));
        QVERIFY(d->HeardEdit->font().pixelSize() > d->HeardNumberEdit->font().pixelSize());
        QVERIFY(d->HeardNumberEdit->font().bold());

        const QList<QWidget *> order{d->HeardNumberEdit, d->HeardReportBox, d->WorkedEdit, d->WorkedNumberEdit,
                                     d->WorkedReportBox, d->DateEdit, d->TimeEdit, d->DBComboBoxEh3,
                                     d->BitBtn1, d->BitBtn2, d->BandBox, d->HeardEdit};
        QCOMPARE(d->focusWidget(), order.first());
        for (int i = 1; i < order.size(); ++i) {
            QWidget *next = order[i - 1]->nextInFocusChain();
            // Labels take no focus, and an editable box's own line edit belongs to the box.
            while (!(next->focusPolicy() & Qt::TabFocus) || next->parentWidget() == order[i - 1])
                next = next->nextInFocusChain();
            QCOMPARE(next, order[i]);
        }
    }

    void closingStoresOrDrops_data()
    {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored");
        QTest::newRow("number, OK") << "HeardNumberEdit" << " 12'3 " << "OK" << "nr1" << " 12'3 ";
        QTest::newRow("number, Отмена") << "HeardNumberEdit" << "123" << "Отмена" << "nr1" << "1";
        QTest::newRow("number, close box") << "HeardNumberEdit" << "123" << "close box" << "nr1" << "1";
        QTest::newRow("worked typed in Cyrillic, OK") << "WorkedEdit" << "гф3чнякц" << "OK" << "call2" << "UA3XYZRW";
        QTest::newRow("heard, close box") << "HeardEdit" << "UA9ZZZ" << "close box" << "call1" << "UA1AAA";
        QTest::newRow("time, OK") << "TimeEdit" << "23:59" << "OK" << "time" << "23:59";
        QTest::newRow("band with a blank, OK") << "BandBox" << " 7" << "OK" << "QSOBand" << " 7";
        QTest::newRow("report, OK") << "WorkedReportBox" << "57" << "OK" << "rst2" << "57";
        QTest::newRow("date, OK") << "DateEdit" << logdate::toText(QDate(2023, 12, 31)) << "OK" << "data"
                                  << logdate::toText(QDate(2023, 12, 31));
    }
    void closingStoresOrDrops()
    {
        QFETCH(QString, fieldName);
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        startWithThree();
        const QList<QsoRecord> before = storedRows(*fx);
        openOn(0);
        QWidget *field = d->findChild<QWidget *>(fieldName);
        QVERIFY(field);
        retype(field, typed);
        close(how);

        QVERIFY(!d->isVisible());
        QList<QsoRecord> expected = before;
        expected[0].setField(QsoRecord::fieldIndex(column), stored);
        const QList<QsoRecord> after = storedRows(*fx);
        for (int row = 0; row < expected.size(); ++row)
            QCOMPARE(fields(after[row]), fields(expected[row]));
        QVERIFY(!f->store().table().isModified(0));
        QCOMPARE(fields(f->store().table().record(0)), fields(expected[0]));

        // Shown again, the dialog holds what the log holds.
        openOn(0);
        QCOMPARE(fields(f->store().currentRecord()), fields(expected[0]));
        QCOMPARE(typingField(field)->text(), stored);
    }

    void okWithoutTypingStoresNothing()
    {
        // A row written by other means: a lower-case call, an ISO date, a phone report on SSB.
        QsoRecord r = contact("ua1low", "UA2AAA", "14", "SSB");
        r.data = "2024-01-05";
        r.rst1 = "57";
        start({r});
        openOn(0);
        QCOMPARE(d->HeardEdit->text(), QString("UA1LOW"));
        QCOMPARE(d->HeardReportBox->currentText(), QString("57"));
        d->BitBtn1->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(fields(storedRows(*fx).at(0)), fields(r));
    }

    void modeChangeResetsTheReports_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("stored");     // mode, rst1, rst2
        QTest::addColumn<QString>("firstItem");      // of the report lists afterwards
        QTest::newRow("CW to SSB, OK") << "CW" << "SSB" << "OK" << QStringList{"SSB", "59", "59"} << "59";
        QTest::newRow("CW to SSB, Отмена") << "CW" << "SSB" << "Отмена" << QStringList{"CW", "579", "569"} << "59";
        QTest::newRow("CW to SSB by the arrow key") << "CW" << "down" << "OK" << QStringList{"SSB", "59", "59"} << "59";
        QTest::newRow("SSB to RTTY") << "SSB" << "RTTY" << "OK" << QStringList{"RTTY", "599", "599"} << "599";
        QTest::newRow("SSB to CW") << "SSB" << "CW" << "OK" << QStringList{"CW", "599", "599"} << "599";
        QTest::newRow("CW to BPSK31 keeps the reports") << "CW" << "BPSK31" << "OK"
                                                       << QStringList{"BPSK31", "579", "569"} << "599";
        QTest::newRow("anything typed keeps the reports") << "CW" << "FT8" << "OK"
                                                          << QStringList{"FT8", "579", "569"} << "599";
    }
    void modeChangeResetsTheReports()
    {
        QFETCH(QString, mode);
        QFETCH(QString, chosen);
        QFETCH(QString, how);
        QFETCH(QStringList, stored);
        QFETCH(QString, firstItem);
        QsoRecord r = contact("UA1AAA", "UA2AAA", "14", mode);
        r.rst1 = "579";
        r.rst2 = "569";
        start({r});
        openOn(0);
        // Showing the row is no change of mode.
        QCOMPARE(d->HeardReportBox->currentText(), QString("579"));
        if (chosen == "down") {
            d->DBComboBoxEh3->setFocus();
            QTest::keyClick(d->DBComboBoxEh3, Qt::Key_Down);
        } else {
            retype(d->DBComboBoxEh3, chosen);
        }
        QCOMPARE(d->HeardReportBox->itemText(0), firstItem);
        QCOMPARE(d->WorkedReportBox->itemText(0), firstItem);
        close(how);
        const QsoRecord after = storedRows(*fx).at(0);
        QCOMPARE((QStringList{after.mode, after.rst1, after.rst2}), stored);
    }

    void missingReportListKeepsTheBoxes()
    {
        start({contact("UA1AAA", "UA2AAA")});
        QFile::remove(fx->file("rst59.dat"));
        openOn(0);
        MessageBoxAnswer answer;
        // Pasted, so that the mode changes once (typed, the box completes "S" to "SSB" at once).
        d->DBComboBoxEh3->lineEdit()->selectAll();
        d->DBComboBoxEh3->lineEdit()->insert("SSB");
        QVERIFY(answer.answered());
        QVERIFY(answer.text().startsWith("Cannot open file"));
        QCOMPARE(items(d->HeardReportBox), (QStringList{"599", "589", "579", "569", "559"}));
        QCOMPARE(d->WorkedReportBox->currentText(), QString("599"));
    }

    void bandSevenIsFoundAfterAnEdit()
    {
        start({contact("UA1AAA", "UA2AAA", "14")});
        openOn(0);
        d->BandBox->setFocus();
        QTest::keyClick(d->BandBox, Qt::Key_Up);
        QCOMPARE(d->BandBox->currentText(), QString("7"));
        d->BitBtn1->click();
        QCOMPARE(storedRows(*fx).at(0).QSOBand, QString("7"));

        f->btn40->click();
        f->Edit1->setText("UA1AAA");
        QCOMPARE(f->StatusPanel[2]->text(), QString("Heard 1"));
    }

    void followsTheGrid()
    {
        startWithThree();
        openOn(0);
        clickGridRow(2);
        QCOMPARE(f->store().currentRow(), 2);
        QCOMPARE(d->shownRow(), 2);
        QCOMPARE(d->HeardEdit->text(), QString("UA1CCC"));
        f->store().setCurrentRow(1);
        settle();
        QCOMPARE(d->WorkedEdit->text(), QString("UA2BBB"));
    }

    void changeIsStoredWhenAnotherRowIsChosen()
    {
        startWithThree();
        openOn(0);
        retype(d->HeardNumberEdit, "55");
        clickGridRow(1);
        QCOMPARE(storedRows(*fx).at(0).nr1, QString("55"));
        QCOMPARE(d->HeardEdit->text(), QString("UA1BBB"));
        QCOMPARE(d->HeardNumberEdit->text(), QString("1"));
        QVERIFY(d->isVisible());
    }

    void badDateIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byOk");
        QTest::newRow("no date, OK") << "yesterday" << true;
        QTest::newRow("no such day, OK") << "32.13.2024" << true;
        QTest::newRow("empty, OK") << "" << true;
        QTest::newRow("no date, another row") << "yesterday" << false;
    }
    void badDateIsRefused()
    {
        QFETCH(QString, typed);
        QFETCH(bool, byOk);
        startWithThree();
        const QList<QsoRecord> before = storedRows(*fx);
        openOn(0);
        retype(d->DateEdit, typed);
        retype(d->HeardNumberEdit, "42");
        {
            MessageBoxAnswer answer;
            if (byOk)
                d->BitBtn1->click();
            else
                clickGridRow(2);
            QTRY_VERIFY(answer.answered());
            QVERIFY2(answer.text().contains("is not a date in the form " + logdate::format()), qPrintable(answer.text()));
        }
        settle();
        QVERIFY(d->isVisible());
        QCOMPARE(f->store().currentRow(), 0);
        QCOMPARE(d->DateEdit->text(), typed);
        QCOMPARE(d->HeardNumberEdit->text(), QString("42"));
        QCOMPARE(fields(storedRows(*fx).at(0)), fields(before.at(0)));

        d->BitBtn2->click();
        QCOMPARE(fields(storedRows(*fx).at(0)), fields(before.at(0)));
        openOn(0);
        QCOMPARE(d->DateEdit->text(), before.at(0).data);
    }

    void storeErrorKeepsTheChangePending()
    {
        startWithThree();
        openOn(0);
        retype(d->WorkedNumberEdit, "");
        renameTable(*fx, "qso", "qso_away");
        {
            MessageBoxAnswer answer;
            d->BitBtn1->click();
            QVERIFY(answer.answered());
            QVERIFY2(answer.text().contains("qso"), qPrintable(answer.text()));
        }
        QVERIFY(d->isVisible());
        QVERIFY(f->store().table().isModified(0));
        QCOMPARE(d->WorkedNumberEdit->text(), QString());
        QCOMPARE(f->StatusPanel[1]->text(), QString("Score 9"));

        renameTable(*fx, "qso_away", "qso");
        d->BitBtn1->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(storedRows(*fx).at(0).nr2, QString());
        // A contact without a number scores 1 instead of 3.
        QCOMPARE(f->StatusPanel[1]->text(), QString("Score 7"));
    }

    void deletingTheEditedRowDropsItsChange()
    {
        startWithThree();
        openOn(0);
        retype(d->HeardNumberEdit, "77");
        f->D1->trigger();
        settle();
        QCOMPARE(d->shownRow(), 0);
        QCOMPARE(d->HeardEdit->text(), QString("UA1BBB"));
        QCOMPARE(d->HeardNumberEdit->text(), QString("1"));
        d->BitBtn1->click();
        const QList<QsoRecord> after = storedRows(*fx);
        QCOMPARE(after.size(), 2);
        QCOMPARE(after.at(0).nr1, QString("1"));
    }

    void emptyLogLeavesNothingToEdit()
    {
        start({contact("UA1AAA", "UA2AAA")});
        openOn(0);
        {
            MessageBoxAnswer answer(QMessageBox::Yes);
            f->D2->trigger();
            QVERIFY(answer.answered());
        }
        settle();
        QCOMPARE(d->shownRow(), -1);
        QVERIFY(!d->HeardEdit->isEnabled());
        QCOMPARE(d->HeardEdit->text(), QString());
        MessageBoxAnswer noBox;
        d->BitBtn1->click();
        QVERIFY(!d->isVisible());
        QVERIFY(!noBox.answered());

        f->Editor();
        QVERIFY(d->isVisible());
        QVERIFY(!d->DBComboBoxEh3->isEnabled());
    }
};

QTEST_MAIN(EditDialogTest)
#include "tst_EditDialog.moc"
