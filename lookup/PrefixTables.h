// The three prefix tables of the country lookup: their files and the fields each must have.
#pragma once

#include <QString>
#include <QStringList>

enum class PrefixTable { Country, Subdivision, UniqueCall };

inline constexpr PrefixTable kPrefixTables[] = {PrefixTable::Country, PrefixTable::Subdivision,
                                                PrefixTable::UniqueCall};

// "CountryDataEx.xml", "Province.xml", "UniqueCalls.xml".
QString prefixTableFile(PrefixTable table);
// "country table", ... as a message names it.
QString prefixTableTitle(PrefixTable table);
// Every field the table's file must have, in the order the generator writes them.
QStringList prefixTableFields(PrefixTable table);
// The field whose regular expression recognises the calls of a row.
QString prefixTableExpressionField(PrefixTable table);
