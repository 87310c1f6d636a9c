// The rows of the last search, for the search grid. Cells can be edited in place; an edit
// goes straight to the stored row through the table view.
#pragma once

#include "QsoRecord.h"

#include <QAbstractTableModel>
#include <QVector>

class QsoTableModel;

class QsoSearchModel : public QAbstractTableModel {
    Q_OBJECT
public:
    QsoSearchModel(QsoTableModel &table, QObject *parent = nullptr);

    void setRows(QVector<QsoRecord> rows);
    const QsoRecord &row(int index) const { return rows_.at(index); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // An in-place edit the log refused; the item view that called setData cannot be
    // told by an exception.
    void editFailed(const QString &message);

private:
    QsoTableModel &table_;
    QVector<QsoRecord> rows_;
};
