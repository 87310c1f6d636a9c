#include "QsoTableModel.h"

#include "QsoColumns.h"
#include "QsoQuery.h"
#include "StoreError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
constexpr int kPageSize = 256;
constexpr int kMaxCachedPages = 16;
} // namespace

QsoTableModel::QsoTableModel(const QSqlDatabase &db, QObject *parent)
    : QAbstractTableModel(parent), db_(db)
{
    reload();
}

void QsoTableModel::exec(QSqlQuery &query, const QString &what) const
{
    if (!query.exec())
        throw StoreError(QStringLiteral("Cannot %1 in the log %2: %3")
                             .arg(what, db_.databaseName(), query.lastError().text()));
}

void QsoTableModel::reload()
{
    beginResetModel();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id FROM qso ORDER BY id"));
    exec(q, QStringLiteral("read the contacts"));
    ids_.clear();
    while (q.next())
        ids_.append(q.value(0).toLongLong());
    pending_.clear();
    pages_.clear();
    endResetModel();
}

int QsoTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(ids_.size());
}

int QsoTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(qsocolumns::grid().size());
}

const QsoRecord &QsoTableModel::cached(int row) const
{
    const int page = row / kPageSize;
    auto it = pages_.find(page);
    if (it == pages_.end()) {
        if (pages_.size() >= kMaxCachedPages)
            pages_.clear();
        const int first = page * kPageSize;
        const int last = std::min<int>(first + kPageSize, int(ids_.size())) - 1;
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT * FROM qso WHERE id BETWEEN ? AND ? ORDER BY id"));
        q.addBindValue(ids_[first]);
        q.addBindValue(ids_[last]);
        exec(q, QStringLiteral("read the contacts"));
        QVector<QsoRecord> rows;
        rows.reserve(last - first + 1);
        const QVector<int> columns = qsoquery::columnsOf(q);
        while (q.next())
            rows.append(qsoquery::recordAt(q, columns));
        // Another program may have removed rows meanwhile: keep the page the size of our ids.
        rows.resize(last - first + 1);
        it = pages_.insert(page, rows);
    }
    return (*it)[row % kPageSize];
}

QsoRecord QsoTableModel::record(int row) const
{
    return cached(row);
}

QVariant QsoTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const int field = qsocolumns::grid()[index.column()].field;
    const auto p = pending_.constFind(ids_[index.row()]);
    if (p != pending_.constEnd())
        return p->field(field);
    try {
        return cached(index.row()).field(field);
    } catch (const StoreError &) {
        // Painting cannot report; the next operation that goes to the file will.
        return {};
    }
}

QVariant QsoTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < qsocolumns::grid().size())
        return qsocolumns::grid()[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags QsoTableModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

int QsoTableModel::append(const QsoRecord &record)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("INSERT INTO qso (data, time, QSOBand, call1, rst1, nr1, call2, "
                             "rst2, nr2, mode) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int f = 1; f < QsoRecord::fieldNames().size(); ++f)
        q.addBindValue(record.field(f));
    exec(q, QStringLiteral("store the contact"));
    const int row = int(ids_.size());
    beginInsertRows({}, row, row);
    ids_.append(q.lastInsertId().toLongLong());
    pages_.remove(row / kPageSize);
    endInsertRows();
    return row;
}

void QsoTableModel::removeAt(int row)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("DELETE FROM qso WHERE id = ?"));
    q.addBindValue(ids_.at(row));
    exec(q, QStringLiteral("delete the contact"));
    beginRemoveRows({}, row, row);
    pending_.remove(ids_[row]);
    ids_.removeAt(row);
    pages_.clear();
    endRemoveRows();
}

void QsoTableModel::removeAll()
{
    if (!db_.transaction())
        throw StoreError(QStringLiteral("Cannot delete the contacts in the log %1: %2")
                             .arg(db_.databaseName(), db_.lastError().text()));
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("DELETE FROM qso"));
    if (!q.exec() || !db_.commit()) {
        const QString reason = q.lastError().isValid() ? q.lastError().text() : db_.lastError().text();
        db_.rollback();
        throw StoreError(QStringLiteral("Cannot delete the contacts in the log %1: %2")
                             .arg(db_.databaseName(), reason));
    }
    beginResetModel();
    ids_.clear();
    pending_.clear();
    pages_.clear();
    endResetModel();
}

void QsoTableModel::updateField(qint64 id, int fieldIndex, const QString &value)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("UPDATE qso SET %1 = ? WHERE id = ?")
                  .arg(QsoRecord::fieldNames().at(fieldIndex)));
    q.addBindValue(value);
    q.addBindValue(id);
    exec(q, QStringLiteral("change the contact"));
    const int row = int(ids_.indexOf(id));
    if (row < 0)
        return;
    pages_.remove(row / kPageSize);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool QsoTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int field = qsocolumns::grid()[index.column()].field;
    const QString text = value.toString();
    if (data(index, Qt::EditRole).toString() == text)
        return true;
    const qint64 id = ids_[index.row()];
    auto p = pending_.find(id);
    if (p == pending_.end())
        p = pending_.insert(id, record(index.row()));
    p->setField(field, text);
    emit dataChanged(index, index);
    return true;
}

bool QsoTableModel::isModified(int row) const
{
    if (row < 0 || row >= ids_.size())
        return false;
    const auto p = pending_.constFind(ids_[row]);
    if (p == pending_.constEnd())
        return false;
    const QsoRecord stored = record(row);
    for (int f = 1; f < QsoRecord::fieldNames().size(); ++f)
        if (stored.field(f) != p->field(f))
            return true;
    return false;
}

void QsoTableModel::submitRow(int row)
{
    const auto p = pending_.constFind(ids_.at(row));
    if (p == pending_.constEnd())
        return;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("UPDATE qso SET data = ?, time = ?, QSOBand = ?, call1 = ?, rst1 = ?, "
                             "nr1 = ?, call2 = ?, rst2 = ?, nr2 = ?, mode = ? WHERE id = ?"));
    for (int f = 1; f < QsoRecord::fieldNames().size(); ++f)
        q.addBindValue(p->field(f));
    q.addBindValue(ids_[row]);
    exec(q, QStringLiteral("change the contact"));
    pending_.remove(ids_[row]);
    pages_.remove(row / kPageSize);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void QsoTableModel::revertRow(int row)
{
    if (row < 0 || row >= ids_.size() || pending_.remove(ids_[row]) == 0)
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}
