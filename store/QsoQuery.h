// Reading QsoRecords from a query over table qso (internal to the store).
#pragma once

#include "QsoRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVector>

namespace qsoquery {

// The query's column of each record field, looked up once per query rather than per row.
inline QVector<int> columnsOf(const QSqlQuery &q)
{
    const QSqlRecord rec = q.record();
    QVector<int> columns;
    for (const QString &f : QsoRecord::fieldNames())
        columns.append(rec.indexOf(f));
    return columns;
}

inline QsoRecord recordAt(const QSqlQuery &q, const QVector<int> &columns)
{
    QsoRecord r;
    for (int f = 0; f < columns.size(); ++f)
        r.setField(f, q.value(columns[f]).toString());
    return r;
}

} // namespace qsoquery
