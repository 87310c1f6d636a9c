#include "CountryLookup.h"

#include <QDir>

namespace {

// Enough to show what is wrong with a table without burying the user in rows.
constexpr int kRowProblemsShown = 10;

// The file writes dates as yyyy-mm-dd, with or without a time part. An unreadable date bounds
// nothing, like an empty one.
QDate dateOf(const QString &text)
{
    return QDate::fromString(text.left(10), Qt::ISODate);
}

} // namespace

CountryLookup::CountryLookup(Scan s) : scan(s) {}

QStringList CountryLookup::load(const QString &folder)
{
    QStringList problems;
    for (PrefixTable t : kPrefixTables)
        problems += loadTable(t, folder);
    return problems;
}

QStringList CountryLookup::loadTable(PrefixTable table, const QString &folder)
{
    Part &p = part(table);
    p = Part();
    const QString file = prefixTableFile(table);
    const QString path = folder.isEmpty() ? file : QDir(folder).filePath(file);
    const QString goesOn = QStringLiteral("The lookup goes on without the %1.").arg(prefixTableTitle(table));

    adoxml::Recordset rows;
    try {
        rows = adoxml::readFile(path);
    } catch (const adoxml::Error &e) {
        return {e.message() + QLatin1Char(' ') + goesOn};
    }
    QStringList missing;
    for (const QString &field : prefixTableFields(table))
        if (rows.columnIndex(field) < 0)
            missing << field;
    if (!missing.isEmpty())
        return {QStringLiteral("The %1 %2 has no field %3. %4")
                    .arg(prefixTableTitle(table), path, missing.join(QStringLiteral(", ")), goesOn)};

    p.rows = std::move(rows);
    const adoxml::Recordset &r = p.rows;
    p.arrlPrefix = r.columnIndex(QStringLiteral("ARRLPrefix"));
    p.country = r.columnIndex(QStringLiteral("Country"));
    p.cqZone = r.columnIndex(QStringLiteral("CQZone"));
    p.ituZone = r.columnIndex(QStringLiteral("ITUZone"));
    p.continent = r.columnIndex(QStringLiteral("Continent"));
    p.prefix = table == PrefixTable::Country ? p.arrlPrefix : r.columnIndex(QStringLiteral("Prefix"));
    p.status = r.columnIndex(QStringLiteral("Status"));
    p.endDate = r.columnIndex(QStringLiteral("EndDate"));

    const int expression = r.columnIndex(prefixTableExpressionField(table));
    QStringList patterns;
    patterns.reserve(r.rows.size());
    for (int row = 0; row < r.rows.size(); ++row)
        patterns << r.text(row, expression);
    p.expressions = RowExpressions(patterns, scan);

    if (table == PrefixTable::UniqueCall) {
        const int start = r.columnIndex(QStringLiteral("StartDate"));
        for (int row = 0; row < r.rows.size(); ++row) {
            p.startDates << dateOf(r.text(row, start));
            p.endDates << dateOf(r.text(row, p.endDate));
        }
    }
    p.loaded = true;
    p.cursor = r.rows.isEmpty() ? -1 : 0;

    QStringList problems;
    const QList<RowExpressions::Problem> &bad = p.expressions.problems();
    for (int i = 0; i < bad.size() && i < kRowProblemsShown; ++i)
        problems << QStringLiteral("Row %1 of %2: %3 (%4); the row is left out.")
                        .arg(bad[i].row + 1)
                        .arg(path, bad[i].message, prefixTableExpressionField(table));
    if (bad.size() > kRowProblemsShown)
        problems << QStringLiteral("%1 more rows of %2 have an empty or malformed %3 and are left out.")
                        .arg(bad.size() - kRowProblemsShown)
                        .arg(path, prefixTableExpressionField(table));
    return problems;
}

bool CountryLookup::validOn(const Part &p, int row, const QDate &day) const
{
    const QDate &start = p.startDates[row];
    const QDate &end = p.endDates[row];
    return (!start.isValid() || start <= day) && (!end.isValid() || end >= day);
}

void CountryLookup::FindCountry(const QString &call, QString &dxccPrefix, QString &country,
                                QString &cqZone, QString &ituZone, QString &continent, QString &prefix)
{
    const QDate today = QDate::currentDate();
    // One value for the whole lookup: a match in one table can end the lookup after the next.
    QString lastMatch;
    auto take = [&](const Part &p, int row) {
        dxccPrefix = p.rows.text(row, p.arrlPrefix);
        country = p.rows.text(row, p.country);
        cqZone = p.rows.text(row, p.cqZone);
        ituZone = p.rows.text(row, p.ituZone);
        continent = p.rows.text(row, p.continent);
        prefix = p.rows.text(row, p.prefix);
    };
    // A table that did not load scans like an empty one.
    auto scanToEnd = [](Part &p) { p.cursor = int(p.rows.rows.size()) - 1; };

    Part &unique = part(PrefixTable::UniqueCall);
    bool ended = false;
    unique.expressions.forEachMatch(call, [&](int row, const QString &text) {
        lastMatch = text;
        if (text != call)
            return false;
        take(unique, row);
        if (!validOn(unique, row, today))
            return false;
        unique.cursor = row;
        ended = true;
        return true;
    });
    if (ended)
        return;
    scanToEnd(unique);
    if (lastMatch == call)
        return;

    Part &subdivision = part(PrefixTable::Subdivision);
    subdivision.expressions.forEachMatch(call, [&](int row, const QString &text) {
        lastMatch = text;
        if (text != call || !subdivision.rows.text(row, subdivision.endDate).isEmpty())
            return false;
        take(subdivision, row);
        subdivision.cursor = row;
        ended = true;
        return true;
    });
    if (ended)
        return;
    scanToEnd(subdivision);
    if (lastMatch == call)
        return;

    Part &countries = part(PrefixTable::Country);
    countries.expressions.forEachMatch(call, [&](int row, const QString &text) {
        lastMatch = text;
        if (text != call || countries.rows.text(row, countries.status) != QLatin1String("Active")
            || !countries.rows.text(row, countries.endDate).isEmpty())
            return false;
        take(countries, row);
        countries.cursor = row;
        ended = true;
        return true;
    });
    if (!ended)
        scanToEnd(countries);
}

bool CountryLookup::isUniqueCall(const QString &call) const
{
    bool found = false;
    part(PrefixTable::UniqueCall).expressions.forEachMatch(call, [&](int, const QString &text) {
        found = text == call;
        return found;
    });
    return found;
}

QString CountryLookup::value(PrefixTable table, int row, const QString &field) const
{
    const adoxml::Recordset &r = part(table).rows;
    const int column = r.columnIndex(field);
    if (column < 0 || row < 0 || row >= r.rows.size())
        return {};
    return r.text(row, column);
}
