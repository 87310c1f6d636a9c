// The log store without widgets: opening, the searches' and/or precedence, appending,
// deleting, pending edits, the score, and a contact surviving a killed process.
#include "QsoSearchModel.h"
#include "QsoStore.h"
#include "QsoTableModel.h"
#include "Statements.h"
#include "StoreError.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QsoRecord qso(const QString &call1, const QString &call2, const QString &band = "14",
              const QString &mode = "CW", const QString &nr2 = "001")
{
    QsoRecord r;
    r.data = "11.12.2026";
    r.time = "12:00";
    r.QSOBand = band;
    r.mode = mode;
    r.call1 = call1;
    r.rst1 = "599";
    r.nr1 = "002";
    r.call2 = call2;
    r.rst2 = "599";
    r.nr2 = nr2;
    return r;
}

QStringList calls(QsoStore &store)
{
    QStringList out;
    for (int i = 0; i < store.searchCount(); ++i)
        out << store.search().row(i).call1 + "-" + store.search().row(i).call2;
    return out;
}

} // namespace

class QsoStoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.filePath("orvocontestlog.mdb"); }

private slots:
    void init()
    {
        QFile::remove(path());
        QVERIFY(QsoStore::createLog(path()));
    }

    void createLogLeavesAnExistingFileAlone()
    {
        {
            QsoStore store(path());
            store.append(qso("UA1AAA", "UA2BBB"));
        }
        QVERIFY(!QsoStore::createLog(path()));
        QsoStore store(path());
        QCOMPARE(store.recordCount(), 1);
    }

    void openRefusesWhatIsNoLog_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "file not found";
        QTest::newRow("not sqlite") << QByteArray("Standard Jet DB, not really") << "not an SQLite database";
        QTest::newRow("no qso table") << QByteArray("create table other (x)") << "has no table qso";
    }
    void openRefusesWhatIsNoLog()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString file = dir.filePath("other.mdb");
        QFile::remove(file);
        if (content.startsWith("create")) {
            auto db = QSqlDatabase::addDatabase("QSQLITE", "fixture");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QString::fromLatin1(content)));
            db.close();
        } else if (!content.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.repeated(200));
        }
        QSqlDatabase::removeDatabase("fixture");
        try {
            QsoStore store(file);
            QFAIL("opened");
        } catch (const StoreError &e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY2(message.contains("other.mdb") && message.contains(dir.path()) && message.contains(reason),
                     qPrintable(message));
        }
        // Never created by the opening.
        QCOMPARE(QFile::exists(file), !content.isEmpty());
    }

    void heardSearch_data()
    {
        QTest::addColumn<QString>("heard");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QStringList>("found");
        // Log: UA1AAA heard on 14 CW working UA2BBB; UA3CCC heard on 7 SSB working UA1AAA.
        QTest::newRow("call1 on this band and mode") << "UA1AAA" << "14" << QStringList{"UA1AAA-UA2BBB", "UA3CCC-UA1AAA"};
        QTest::newRow("call1 on another band") << "UA3CCC" << "14" << QStringList{};
        QTest::newRow("call2 on any band") << "UA2BBB" << "21" << QStringList{"UA1AAA-UA2BBB"};
        QTest::newRow("partial call") << "UA1AA" << "14" << QStringList{};
        QTest::newRow("empty") << "" << "14" << QStringList{};
        QTest::newRow("quote is literal") << "UA1'A" << "14" << QStringList{"UA1'A-X"};
    }
    void heardSearch()
    {
        QFETCH(QString, heard);
        QFETCH(QString, band);
        QFETCH(QStringList, found);
        QsoStore store(path());
        store.append(qso("UA1AAA", "UA2BBB", "14", "CW"));
        store.append(qso("UA3CCC", "UA1AAA", "7", "SSB"));
        store.append(qso("UA1'A", "X", "14", "CW"));
        store.runSearch(statements::S3, {{"heard", heard}, {"mode", "CW"}, {"band", band}});
        QCOMPARE(calls(store), found);
    }

    void workedSearch_data()
    {
        QTest::addColumn<QString>("worked");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("call2 on another band") << "UA2BBB" << QStringList{"UA1AAA-UA2BBB"};
        QTest::newRow("call1 on this band and mode") << "UA1AAA" << QStringList{"UA1AAA-UA2BBB", "UA3CCC-UA1AAA"};
        QTest::newRow("call1 on another band") << "UA3CCC" << QStringList{};
        QTest::newRow("band with a blank is another band") << "UA4DDD" << QStringList{};
    }
    void workedSearch()
    {
        QFETCH(QString, worked);
        QFETCH(QStringList, found);
        QsoStore store(path());
        store.append(qso("UA1AAA", "UA2BBB", "21", "CW"));
        store.append(qso("UA3CCC", "UA1AAA", "7", "SSB"));
        store.append(qso("UA4DDD", "X", " 7", "CW"));
        store.runSearch(statements::S4, {{"worked", worked}, {"mode", "CW"}, {"band", "21"}});
        QCOMPARE(calls(store), found);
    }

    void appendDeleteAndScore()
    {
        QsoStore store(path());
        QCOMPARE(store.recordCount(), 0);
        QCOMPARE(store.score(), 0);
        QCOMPARE(store.currentRow(), -1);
        store.append(qso("UA1AAA", "UA2BBB", "14", "CW", "001"));
        store.append(qso("UA1BBB", "UA2CCC", "14", "CW", ""));
        QCOMPARE(store.recordCount(), 2);
        QCOMPARE(store.currentRow(), 1);
        QCOMPARE(store.score(), 4);
        QCOMPARE(store.currentRecord().call1, QString("UA1BBB"));
        QVERIFY(store.currentRecord().id.toLongLong() > store.table().record(0).id.toLongLong());

        store.deleteCurrent();
        QCOMPARE(store.recordCount(), 1);
        QCOMPARE(store.currentRow(), 0);
        QCOMPARE(store.score(), 3);
        store.deleteAll();
        QCOMPARE(store.recordCount(), 0);
        QCOMPARE(store.score(), 0);
        QVERIFY_THROWS_EXCEPTION(StoreError, store.deleteCurrent());
        store.deleteAll();   // nothing to delete, no error
    }

    void rowsAreReadPageByPage()
    {
        {
            QsoStore store(path());
            for (int i = 0; i < 700; ++i)
                store.append(qso(QString("UA1A%1").arg(i, 3, 10, QChar('0')), "X"));
        }
        QsoStore store(path());
        QCOMPARE(store.recordCount(), 700);
        for (int row : {0, 255, 256, 699, 300, 1})
            QCOMPARE(store.table().record(row).call1, QString("UA1A%1").arg(row, 3, 10, QChar('0')));
    }

    void pendingEditsReachTheFileOnlyOnSubmit()
    {
        QsoStore store(path());
        store.append(qso("UA1AAA", "UA2BBB"));
        QsoTableModel &t = store.table();
        const QModelIndex mode = t.index(0, 4);
        QVERIFY(!t.isModified(0));
        QVERIFY(t.setData(mode, "SSB"));
        QVERIFY(t.isModified(0));
        QCOMPARE(t.data(mode).toString(), QString("SSB"));
        QCOMPARE(t.record(0).mode, QString("CW"));
        t.revertRow(0);
        QVERIFY(!t.isModified(0));
        QCOMPARE(t.data(mode).toString(), QString("CW"));
        t.setData(mode, "SSB");
        t.submitRow(0);
        QsoStore again(path());
        QCOMPARE(again.table().record(0).mode, QString("SSB"));
    }

    void anyTextIsStoredVerbatim()
    {
        QsoStore store(path());
        const QString odd = QString("A'B\"C;DROP TABLE qso;--\t\x01") + QString(10000, 'Z') + QString::fromUtf8("Ж");
        store.append(qso(odd, odd));
        QCOMPARE(store.table().record(0).call1, odd);
        store.runSearch(statements::S3, {{"heard", odd}, {"mode", "CW"}, {"band", "14"}});
        QCOMPARE(store.searchCount(), 1);
    }

    void savedContactSurvivesAKilledProcess()
    {
        int ready[2];
        QVERIFY(pipe(ready) == 0);
        const pid_t child = fork();
        if (child == 0) {
            close(ready[0]);
            {
                QsoStore store(path());
                store.append(qso("UA9KILL", "UA1SAFE"));
                const char done = 1;
                (void)!write(ready[1], &done, 1);
                pause();   // killed here, the store still open
            }
            _exit(0);
        }
        close(ready[1]);
        char done = 0;
        QCOMPARE(read(ready[0], &done, 1), ssize_t(1));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY(WIFSIGNALED(status));
        QsoStore store(path());
        QCOMPARE(store.recordCount(), 1);
        QCOMPARE(store.table().record(0).call1, QString("UA9KILL"));
    }
};

QTEST_GUILESS_MAIN(QsoStoreTest)
#include "tst_QsoStore.moc"
