#include "PrefixTables.h"

QString prefixTableFile(PrefixTable table)
{
    switch (table) {
    case PrefixTable::Country:
        return QStringLiteral("CountryDataEx.xml");
    case PrefixTable::Subdivision:
        return QStringLiteral("Province.xml");
    case PrefixTable::UniqueCall:
        return QStringLiteral("UniqueCalls.xml");
    }
    return {};
}

QString prefixTableTitle(PrefixTable table)
{
    switch (table) {
    case PrefixTable::Country:
        return QStringLiteral("country table");
    case PrefixTable::Subdivision:
        return QStringLiteral("subdivision table");
    case PrefixTable::UniqueCall:
        return QStringLiteral("unique-call table");
    }
    return {};
}

QStringList prefixTableFields(PrefixTable table)
{
    switch (table) {
    case PrefixTable::Country:
        return {QStringLiteral("ARRLPrefix"), QStringLiteral("Country"), QStringLiteral("DXCC"),
                QStringLiteral("Continent"), QStringLiteral("CQZone"), QStringLiteral("ITUZone"),
                QStringLiteral("Latitude"), QStringLiteral("Longitude"), QStringLiteral("StartDate"),
                QStringLiteral("EndDate"), QStringLiteral("PrefixList"), QStringLiteral("Status"),
                QStringLiteral("TimeDiff"), QStringLiteral("id")};
    case PrefixTable::Subdivision:
        return {QStringLiteral("Prefix"), QStringLiteral("ARRLPrefix"), QStringLiteral("DXCC"),
                QStringLiteral("Continent"), QStringLiteral("Country"), QStringLiteral("CQZone"),
                QStringLiteral("ITUZone"), QStringLiteral("Latitude"), QStringLiteral("Longitude"),
                QStringLiteral("StartDate"), QStringLiteral("EndDate"), QStringLiteral("Comment"),
                QStringLiteral("PrefixList"), QStringLiteral("id"), QStringLiteral("TimeDiff")};
    case PrefixTable::UniqueCall:
        return {QStringLiteral("Callsign"), QStringLiteral("ARRLPrefix"), QStringLiteral("Prefix"),
                QStringLiteral("Country"), QStringLiteral("id"), QStringLiteral("Continent"),
                QStringLiteral("CQZone"), QStringLiteral("ITUZone"), QStringLiteral("Latitude"),
                QStringLiteral("Longitude"), QStringLiteral("DXCC"), QStringLiteral("StartDate"),
                QStringLiteral("EndDate"), QStringLiteral("QSL")};
    }
    return {};
}

QString prefixTableExpressionField(PrefixTable table)
{
    return table == PrefixTable::UniqueCall ? QStringLiteral("Callsign") : QStringLiteral("PrefixList");
}
