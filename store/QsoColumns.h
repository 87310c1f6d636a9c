// The ten columns that both log grids show, in grid order, with their titles.
#pragma once

#include <QString>
#include <QVector>

namespace qsocolumns {

struct Column {
    int field;      // index into QsoRecord::fieldNames()
    QString title;
};

const QVector<Column> &grid();
// Grid column of a table field name ("call1" -> 3), -1 when the grid does not show it.
int ofField(const QString &fieldName);

} // namespace qsocolumns
