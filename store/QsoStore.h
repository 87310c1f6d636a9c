// The log file orvocontestlog.mdb (an SQLite database) and its three views: the table view
// with its one current row, the search query of the duplicate search, and the score count.
#pragma once

#include "QsoRecord.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

class QsoSearchModel;
class QsoTableModel;

class QsoStore : public QObject {
    Q_OBJECT
public:
    static QString defaultFileName() { return QStringLiteral("orvocontestlog.mdb"); }

    // Creates an empty log at path unless a file is there; an existing file is never
    // touched. Returns true when it created the file. Throws StoreError.
    static bool createLog(const QString &path);

    // Opens an existing log; a missing file, one that is no SQLite database or one without
    // table qso throws StoreError naming the file and its folder.
    explicit QsoStore(const QString &path = defaultFileName(), QObject *parent = nullptr);
    ~QsoStore() override;

    QsoTableModel &table() { return *table_; }
    QsoSearchModel &search() { return *search_; }

    // The current row of the table view, shared by the log grid, Save, Delete, the edit
    // dialog and the exporters; -1 when the log is empty.
    QItemSelectionModel &cursor() { return *cursor_; }
    int currentRow() const;
    void setCurrentRow(int row);

    int recordCount() const;
    QsoRecord currentRecord() const;

    // Appends, stores and makes the new row current.
    void append(const QsoRecord &record);
    // Deletes the current row; refused on an empty log.
    void deleteCurrent();
    void deleteAll();

    // Runs a search statement on the search query; values are bound by name.
    void runSearch(const QStringList &statement, const QVariantMap &values);
    int searchCount() const;
    QString searchFirst(const QString &fieldName) const;

    int score() const;

private:
    QString connectionName_;
    QSqlDatabase db_;
    QsoTableModel *table_;
    QsoSearchModel *search_;
    QItemSelectionModel *cursor_;
};
