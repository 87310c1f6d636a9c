#include "TinyTables.h"

#include "AdoXml.h"

#include <QDir>

void writeTinyTable(const QString &folder, PrefixTable table, const QList<TinyRow> &rows)
{
    adoxml::Recordset r;
    const QStringList fields = prefixTableFields(table);
    for (const QString &f : fields)
        r.columns << adoxml::Column{f, QStringLiteral("string"), 0, false, true};
    for (const TinyRow &row : rows) {
        adoxml::Row values;
        for (const QString &f : fields)
            values << (row.contains(f) ? adoxml::Value(row.value(f)) : std::nullopt);
        r.rows << values;
    }
    adoxml::writeFile(QDir(folder).filePath(prefixTableFile(table)), r);
}
