#include "QsoStore.h"

#include "QsoQuery.h"
#include "QsoSearchModel.h"
#include "QsoTableModel.h"
#include "Statements.h"
#include "StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>

namespace {

const QStringList kSchema{
    "CREATE TABLE qso (id INTEGER PRIMARY KEY AUTOINCREMENT, data TEXT, time TEXT, "
    "QSOBand TEXT, call1 TEXT, rst1 TEXT, nr1 TEXT, call2 TEXT, rst2 TEXT, nr2 TEXT, mode TEXT)",
};

// Each alternative of the duplicate searches finds its rows through one of these, and the
// score is counted from the nr2 index alone.
const QStringList kIndexes{
    "CREATE INDEX IF NOT EXISTS qso_call1 ON qso (call1, mode, QSOBand)",
    "CREATE INDEX IF NOT EXISTS qso_call2 ON qso (call2, mode, QSOBand)",
    "CREATE INDEX IF NOT EXISTS qso_nr2 ON qso (nr2)",
};

QString describe(const QString &path)
{
    const QFileInfo info(path);
    return QStringLiteral("%1 in %2").arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath()));
}

[[noreturn]] void refuse(const QString &path, const QString &reason)
{
    throw StoreError(QStringLiteral("Cannot open the log %1: %2. Start the program from its folder, "
                                    "or create an empty log with \"orvo --create-log\".")
                         .arg(describe(path), reason));
}

QSqlDatabase openConnection(const QString &name, const QString &path, bool mustExist)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // A URI with mode=rw makes SQLite refuse a missing file instead of creating it.
    const QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    db.setDatabaseName(mustExist ? uri + QStringLiteral("?mode=rw") : uri + QStringLiteral("?mode=rwc"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
    return db;
}

void runAll(QSqlDatabase &db, const QStringList &statements, const QString &path)
{
    for (const QString &s : statements) {
        QSqlQuery q(db);
        if (!q.exec(s))
            throw StoreError(QStringLiteral("Cannot prepare the log %1: %2").arg(describe(path), q.lastError().text()));
    }
}

} // namespace

bool QsoStore::createLog(const QString &path)
{
    if (QFileInfo::exists(path))
        return false;
    const QString name = QStringLiteral("orvo-create-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = openConnection(name, path, false);
        if (!db.open())
            throw StoreError(QStringLiteral("Cannot create the log %1: %2").arg(describe(path), db.lastError().text()));
        runAll(db, kSchema + kIndexes, path);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return true;
}

QsoStore::QsoStore(const QString &path, QObject *parent)
    : QObject(parent), connectionName_(QStringLiteral("orvo-log-") + QUuid::createUuid().toString())
{
    if (!QFileInfo::exists(path))
        refuse(path, QStringLiteral("file not found"));
    db_ = openConnection(connectionName_, path, true);
    try {
        if (!db_.open())
            refuse(path, db_.lastError().text());
        QSqlQuery q(db_);
        // SQLite opens any file lazily: the first read tells whether it is a database.
        if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'qso'")))
            refuse(path, QStringLiteral("the file is not an SQLite database (%1)").arg(q.lastError().text()));
        if (!q.next())
            refuse(path, QStringLiteral("the file has no table qso"));
        const QSqlRecord columns = db_.record(QStringLiteral("qso"));
        for (const QString &field : QsoRecord::fieldNames())
            if (columns.indexOf(field) < 0)
                refuse(path, QStringLiteral("table qso has no field %1").arg(field));
        // Logs made by other means may lack the search indexes; a read-only log goes without.
        for (const QString &s : kIndexes)
            QSqlQuery(db_).exec(s);
        table_ = new QsoTableModel(db_, this);
    } catch (...) {
        db_.close();
        db_ = {};
        QSqlDatabase::removeDatabase(connectionName_);
        throw;
    }
    search_ = new QsoSearchModel(*table_, this);
    cursor_ = new QItemSelectionModel(table_, this);
}

QsoStore::~QsoStore()
{
    delete cursor_;
    delete search_;
    delete table_;
    db_.close();
    db_ = {};
    QSqlDatabase::removeDatabase(connectionName_);
}

int QsoStore::currentRow() const
{
    const QModelIndex current = cursor_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void QsoStore::setCurrentRow(int row)
{
    if (row < 0 || row >= recordCount()) {
        cursor_->clearCurrentIndex();
        return;
    }
    const QModelIndex index = table_->index(row, 0);
    cursor_->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int QsoStore::recordCount() const
{
    return table_->rowCount();
}

QsoRecord QsoStore::currentRecord() const
{
    const int row = currentRow();
    return row < 0 ? QsoRecord{} : table_->record(row);
}

void QsoStore::append(const QsoRecord &record)
{
    setCurrentRow(table_->append(record));
}

void QsoStore::deleteCurrent()
{
    const int row = currentRow();
    if (recordCount() == 0 || row < 0)
        throw StoreError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    table_->removeAt(row);
    // The next row becomes current, or the previous one when the last was deleted.
    setCurrentRow(std::min(row, recordCount() - 1));
}

void QsoStore::deleteAll()
{
    table_->removeAll();
    setCurrentRow(-1);
}

void QsoStore::runSearch(const QStringList &statement, const QVariantMap &values)
{
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    // The query is closed before it is run again: a refused search leaves it empty.
    search_->setRows({});
    if (!q.prepare(statements::text(statement)))
        throw StoreError(QStringLiteral("Cannot search the log: %1").arg(q.lastError().text()));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), it.value());
    if (!q.exec())
        throw StoreError(QStringLiteral("Cannot search the log: %1").arg(q.lastError().text()));
    QVector<QsoRecord> rows;
    const QVector<int> columns = qsoquery::columnsOf(q);
    while (q.next())
        rows.append(qsoquery::recordAt(q, columns));
    search_->setRows(std::move(rows));
}

int QsoStore::searchCount() const
{
    return search_->rowCount();
}

QString QsoStore::searchFirst(const QString &fieldName) const
{
    if (search_->rowCount() == 0)
        return {};
    return search_->row(0).field(QsoRecord::fieldIndex(fieldName));
}

int QsoStore::score() const
{
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(statements::text(statements::S5)) || !q.next())
        throw StoreError(QStringLiteral("Cannot count the score: %1").arg(q.lastError().text()));
    return q.value(0).toInt();
}
