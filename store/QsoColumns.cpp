#include "QsoColumns.h"

#include "QsoRecord.h"

namespace qsocolumns {

const QVector<Column> &grid()
{
    static const QVector<Column> columns = [] {
        const QVector<QPair<QString, QString>> layout{
            {"data", "Data"}, {"time", "Time"}, {"QSOBand", "Band"}, {"call1", "Heard"},
            {"mode", "Mode"}, {"rst1", "RST"},  {"nr1", "NR"},       {"call2", "Worked"},
            {"rst2", "RST"},  {"nr2", "NR"},
        };
        QVector<Column> c;
        for (const auto &[name, title] : layout)
            c.append({QsoRecord::fieldIndex(name), title});
        return c;
    }();
    return columns;
}

int ofField(const QString &fieldName)
{
    const int field = QsoRecord::fieldIndex(fieldName);
    for (int i = 0; i < grid().size(); ++i)
        if (grid()[i].field == field)
            return i;
    return -1;
}

} // namespace qsocolumns
