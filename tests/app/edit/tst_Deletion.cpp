// Deleting from the log grid's menu and the "Logbook" menu: the row or rows gone from the
// file, the panels and the score, the question before Delete all, the empty log.
#include "AppFixture.h"
#include "Log.h"
#include "LogRows.h"
#include "QsoStore.h"
#include "QsoTableModel.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

const QStringList kUntouched{"untouched", "untouched", "untouched", "untouched"};

void markPanels(TForm1 *f)
{
    for (QLabel *panel : f->StatusPanel)
        panel->setText("untouched");
}

QStringList heardCalls(const QList<QsoRecord> &rows)
{
    QStringList calls;
    for (const QsoRecord &r : rows)
        calls << r.call1;
    return calls;
}

} // namespace

class DeletionTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> fx;
    TForm1 *f = nullptr;

    void start(const QList<QsoRecord> &rows)
    {
        seed(*fx, rows);
        f = fx->start().Form1;
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
    }

    void startWithThree()
    {
        start({contact("UA1AAA", "UA2AAA"), contact("UA1BBB", "UA2BBB"), contact("UA1CCC", "UA2CCC")});
    }

    QAction *action(const QString &name)
    {
        return name == "D2" ? f->D2 : f->N3;
    }

private slots:
    void init() { fx = std::make_unique<AppFixture>(); }
    void cleanup()
    {
        fx.reset();
        f = nullptr;
    }

    void deleteLastRow_data()
    {
        QTest::addColumn<QString>("lastNumber");
        QTest::addColumn<QString>("scoreBefore");
        QTest::newRow("last row with a number") << "007" << "Score 9";
        QTest::newRow("last row without a number") << "" << "Score 7";
    }
    void deleteLastRow()
    {
        QFETCH(QString, lastNumber);
        QFETCH(QString, scoreBefore);
        start({contact("UA1AAA", "UA2AAA"), contact("UA1BBB", "UA2BBB"),
               contact("UA1CCC", "UA2CCC", "14", "CW", lastNumber)});
        f->Edit1->setText("UA1CCC");
        QCOMPARE(panels(f), (QStringList{"QSO 3", scoreBefore, "Heard 1", "Worked 0"}));
        QCOMPARE(f->store().currentRow(), 2);

        f->D1->trigger();

        // The search is not run again: both search panels show the count of the last one.
        QCOMPARE(panels(f), (QStringList{"QSO 2", "Score 6", "Heard 1", "Worked 1"}));
        QCOMPARE(heardCalls(storedRows(*fx)), (QStringList{"UA1AAA", "UA1BBB"}));
        QCOMPARE(f->store().currentRow(), 1);
    }

    void deleteMovesToTheNextRow()
    {
        startWithThree();
        f->store().setCurrentRow(0);
        f->D1->trigger();
        QCOMPARE(heardCalls(storedRows(*fx)), (QStringList{"UA1BBB", "UA1CCC"}));
        QCOMPARE(f->store().currentRow(), 0);
        QCOMPARE(f->store().currentRecord().call1, QString("UA1BBB"));
    }

    void deleteOnEmptyLogIsRefused()
    {
        start({});
        markPanels(f);
        MessageBoxAnswer answer;
        f->D1->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(answer.text(), QString("Cannot perform this operation on an empty dataset"));
        QCOMPARE(panels(f), kUntouched);
    }

    void deleteAll_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::newRow("grid menu, yes") << "D2" << true;
        QTest::newRow("grid menu, no") << "D2" << false;
        QTest::newRow("Logbook menu, yes") << "N3" << true;
        QTest::newRow("Logbook menu, no") << "N3" << false;
    }
    void deleteAll()
    {
        QFETCH(QString, command);
        QFETCH(bool, yes);
        startWithThree();
        f->Edit2->setText("UA2AAA");
        const QStringList before = panels(f);
        QCOMPARE(before, (QStringList{"QSO 3", "Score 9", "Heard 0", "Worked 1"}));

        MessageBoxAnswer answer(yes ? QMessageBox::Yes : QMessageBox::No);
        action(command)->trigger();

        QVERIFY(answer.answered());
        QCOMPARE(answer.text(), QString("Delete all 3 records?"));
        if (yes) {
            QCOMPARE(panels(f), (QStringList{"QSO 0", "Score 0", "Heard 1", "Worked 1"}));
            QVERIFY(storedRows(*fx).isEmpty());
            QCOMPARE(f->store().currentRow(), -1);
        } else {
            QCOMPARE(panels(f), before);
            QCOMPARE(storedRows(*fx).size(), 3);
        }
    }

    void deleteAllDefaultsToNo()
    {
        startWithThree();
        bool seen = false;
        QTimer enter;
        enter.setInterval(20);
        connect(&enter, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); box && !seen) {
                seen = true;
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        enter.start();
        f->D2->trigger();
        QVERIFY(seen);
        QCOMPARE(storedRows(*fx).size(), 3);
    }

    void deleteAllWaitsWithTheWaitCursor()
    {
        startWithThree();
        Qt::CursorShape during = Qt::ArrowCursor;
        connect(&f->store().table(), &QAbstractItemModel::modelAboutToBeReset, [&] {
            if (const QCursor *c = QApplication::overrideCursor())
                during = c->shape();
        });
        MessageBoxAnswer answer(QMessageBox::Yes);
        f->D2->trigger();
        QCOMPARE(during, Qt::WaitCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void deleteAllOnEmptyLogAsksNothing()
    {
        start({});
        markPanels(f);
        MessageBoxAnswer answer(QMessageBox::Yes);
        f->N3->trigger();
        QVERIFY(!answer.answered());
        QCOMPARE(panels(f), (QStringList{"QSO 0", "Score 0", "Heard 0", "Worked 0"}));
    }
};

QTEST_MAIN(DeletionTest)
#include "tst_Deletion.moc"
