#include "LogRows.h"

#include "AppFixture.h"
#include "Log.h"
#include "LogDate.h"
#include "QsoStore.h"

#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

QsoRecord contact(const QString &call1, const QString &call2, const QString &band, const QString &mode,
                  const QString &nr2)
{
    QsoRecord r;
    r.data = logdate::toText(QDate(2024, 1, 5));
    r.time = "12:34";
    r.QSOBand = band;
    r.call1 = call1;
    r.rst1 = "599";
    r.nr1 = "1";
    r.call2 = call2;
    r.rst2 = "599";
    r.nr2 = nr2;
    r.mode = mode;
    return r;
}

void seed(const AppFixture &fx, const QList<QsoRecord> &rows)
{
    QsoStore store(fx.file(QsoStore::defaultFileName()));
    for (const QsoRecord &r : rows)
        store.append(r);
}

QList<QsoRecord> storedRows(const AppFixture &fx)
{
    QList<QsoRecord> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "reader");
        db.setDatabaseName(fx.file(QsoStore::defaultFileName()));
        if (!db.open())
            qFatal("cannot read the log back");
        QSqlQuery q(db);
        q.exec("SELECT * FROM qso ORDER BY id");
        while (q.next()) {
            QsoRecord r;
            for (int f = 0; f < QsoRecord::fieldNames().size(); ++f)
                r.setField(f, q.value(QsoRecord::fieldNames()[f]).toString());
            rows.append(r);
        }
    }
    QSqlDatabase::removeDatabase("reader");
    return rows;
}

QStringList panels(const TForm1 *f)
{
    QStringList texts;
    for (const QLabel *panel : f->StatusPanel)
        texts << panel->text();
    return texts;
}

QStringList fields(const QsoRecord &r)
{
    QStringList texts;
    for (int f = 1; f < QsoRecord::fieldNames().size(); ++f)
        texts << r.field(f);
    return texts;
}
