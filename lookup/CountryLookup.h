// The country lookup: the three prefix tables, loaded once, and FindCountry over them.
#pragma once

#include "AdoXml.h"
#include "PrefixTables.h"
#include "RowExpressions.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

class CountryLookup {
public:
    using Scan = RowExpressions::Scan;

    explicit CountryLookup(Scan scan = Scan::Indexed);

    // Loads CountryDataEx.xml, Province.xml and UniqueCalls.xml from `folder` (an empty folder
    // means the bare file names, found through the current directory). A table that cannot be
    // read, or lacks a field, is left out and the lookup works with the others; a row whose
    // expression is empty or malformed is left out. Returns one text per problem, for the user.
    QStringList load(const QString &folder);

    // Unique calls, then subdivisions, then countries, each scanned in file order; the first row
    // whose expression matches the whole call and that is in force supplies the six outputs.
    // Outputs no row supplies are left as the caller passed them.
    // Among unique-call rows that match, the first one valid today (StartDate empty or not after
    // today, EndDate empty or not before today, compared as dates) ends the lookup; a matching
    // row that is not valid today still supplies its values until a later one replaces them.
    void FindCountry(const QString &call, QString &dxccPrefix, QString &country, QString &cqZone,
                     QString &ituZone, QString &continent, QString &prefix);

    // True when a row of the unique-call table matches the whole call.
    bool isUniqueCall(const QString &call) const;

    bool isLoaded(PrefixTable table) const { return part(table).loaded; }
    // The table as loaded (no rows when it is not loaded): field names, rows and values.
    const adoxml::Recordset &table(PrefixTable table) const { return part(table).rows; }
    QString value(PrefixTable table, int row, const QString &field) const;
    // The row the last lookup that scanned the table stopped on: the accepted row, or the last
    // row when the scan ran to the end. 0 before any lookup, -1 for an empty or absent table.
    int cursor(PrefixTable table) const { return part(table).cursor; }

private:
    struct Part {
        adoxml::Recordset rows;
        RowExpressions expressions;
        bool loaded = false;
        int cursor = -1;
        // Columns of the fields the lookup reads.
        int arrlPrefix = -1, country = -1, cqZone = -1, ituZone = -1, continent = -1;
        int prefix = -1, status = -1, endDate = -1;
        QList<QDate> startDates, endDates; // unique calls: validity, null when open
    };

    Part &part(PrefixTable table) { return parts[int(table)]; }
    const Part &part(PrefixTable table) const { return parts[int(table)]; }
    QStringList loadTable(PrefixTable table, const QString &folder);
    bool validOn(const Part &p, int row, const QDate &day) const;

    Scan scan;
    std::array<Part, 3> parts;
};
