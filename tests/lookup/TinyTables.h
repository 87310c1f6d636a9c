// Small prefix tables written into a folder, for the tests of the lookup.
#pragma once

#include "PrefixTables.h"

#include <QHash>
#include <QList>
#include <QString>

using TinyRow = QHash<QString, QString>;

// Writes the table's file with every field of the table; a field a row does not give is null.
void writeTinyTable(const QString &folder, PrefixTable table, const QList<TinyRow> &rows);
