// The table view of the log: every row of qso in id order, fetched page by page so that a
// log of 100,000 contacts opens at once, with an exact row count from the start.
#pragma once

#include "QsoRecord.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlDatabase>
#include <QVector>

class QsoTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    QsoTableModel(const QSqlDatabase &db, QObject *parent = nullptr);

    void reload();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The stored record, without pending edits.
    QsoRecord record(int row) const;
    // Appends and stores the record at once; returns its row (the last).
    int append(const QsoRecord &record);
    void removeAt(int row);
    // Removes every row in one transaction.
    void removeAll();
    // Writes one field of a stored row straight to the file (in-place edits elsewhere).
    void updateField(qint64 id, int fieldIndex, const QString &value);

    // Editing: setData collects changes of a row as pending (a widget mapper's submit
    // lands here); submitRow() stores them all in one statement, revertRow() drops them.
    // Nothing reaches the file before submitRow().
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool isModified(int row) const;
    void submitRow(int row);
    void revertRow(int row);

private:
    const QsoRecord &cached(int row) const;
    void invalidate();
    void exec(class QSqlQuery &query, const QString &what) const;

    QSqlDatabase db_;
    QVector<qint64> ids_;
    QHash<qint64, QsoRecord> pending_;
    mutable QHash<int, QVector<QsoRecord>> pages_;
};
