#include "QsoSearchModel.h"

#include "QsoColumns.h"
#include "QsoTableModel.h"
#include "StoreError.h"

QsoSearchModel::QsoSearchModel(QsoTableModel &table, QObject *parent)
    : QAbstractTableModel(parent), table_(table)
{
}

void QsoSearchModel::setRows(QVector<QsoRecord> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int QsoSearchModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int QsoSearchModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(qsocolumns::grid().size());
}

QVariant QsoSearchModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return rows_[index.row()].field(qsocolumns::grid()[index.column()].field);
}

QVariant QsoSearchModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < qsocolumns::grid().size())
        return qsocolumns::grid()[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags QsoSearchModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool QsoSearchModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int field = qsocolumns::grid()[index.column()].field;
    QsoRecord &r = rows_[index.row()];
    try {
        table_.updateField(r.id.toLongLong(), field, value.toString());
    } catch (const StoreError &e) {
        emit editFailed(QString::fromStdString(e.what()));
        return false;
    }
    r.setField(field, value.toString());
    emit dataChanged(index, index);
    return true;
}
