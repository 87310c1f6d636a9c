// Delete all on a log of 100,000 contacts, through the main window as the operator does it:
// the time from "Yes" on the question to the emptied log with its panels and score, and the
// store's one-transaction delete alone.
#include "AppFixture.h"
#include "Log.h"
#include "QsoStore.h"
#include "QsoTableModel.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kContacts = 100000;
constexpr int kRuns = 3;

void fill(const QString &path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "filler");
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        db.transaction();
        QSqlQuery q(db);
        q.prepare("INSERT INTO qso (data, time, QSOBand, call1, rst1, nr1, call2, rst2, nr2, mode) "
                  "VALUES ('05.01.2024', '12:34', '14', ?, '599', ?, ?, '599', ?, 'CW')");
        for (int i = 0; i < kContacts; ++i) {
            q.addBindValue(QStringLiteral("UA%1AA").arg(i));
            q.addBindValue(QString::number(i % 999 + 1));
            q.addBindValue(QStringLiteral("UB%1BB").arg(i));
            q.addBindValue(i % 7 ? QString::number(i % 999 + 1) : QString());
            if (!q.exec())
                qFatal("cannot fill the log: %s", qPrintable(q.lastError().text()));
        }
        db.commit();
    }
    QSqlDatabase::removeDatabase("filler");
}

double median(QList<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Presses "Yes" on the question and notes when; returns the milliseconds from then to the
// end of Delete all.
double deleteAllThroughTheWindow()
{
    AppFixture fx;
    fill(fx.file(QsoStore::defaultFileName()));
    TForm1 *f = fx.start().Form1;
    f->show();
    QCoreApplication::processEvents();

    QElapsedTimer sinceYes;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); box && !sinceYes.isValid()) {
            sinceYes.start();
            box->button(QMessageBox::Yes)->click();
        }
    });
    answer.start();
    f->D2->trigger();
    const double ms = sinceYes.nsecsElapsed() / 1e6;
    if (f->StatusPanel[0]->text() != QLatin1String("QSO 0") || f->StatusPanel[1]->text() != QLatin1String("Score 0"))
        qFatal("Delete all left %s, %s", qPrintable(f->StatusPanel[0]->text()), qPrintable(f->StatusPanel[1]->text()));
    return ms;
}

double deleteAllInTheStore()
{
    AppFixture fx;
    fill(fx.file(QsoStore::defaultFileName()));
    QsoStore store(fx.file(QsoStore::defaultFileName()));
    QElapsedTimer t;
    t.start();
    store.deleteAll();
    const double ms = t.nsecsElapsed() / 1e6;
    if (store.recordCount() != 0)
        qFatal("the store kept %d rows", store.recordCount());
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<double> window, store;
    for (int run = 0; run < kRuns; ++run) {
        window << deleteAllThroughTheWindow();
        store << deleteAllInTheStore();
    }
    std::printf("Delete all of %d contacts, median of %d runs:\n", kContacts, kRuns);
    std::printf("  main window, from \"Yes\" to panels and score: %8.1f ms\n", median(window));
    std::printf("  store, one transaction:                      %8.1f ms\n", median(store));
    return 0;
}
