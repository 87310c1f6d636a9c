// The prefix tables and Russia.dom, generated from the Big CTY file and the oblast table.
#pragma once

#include "AdoXml.h"
#include "CtyFile.h"
#include "OblastTable.h"

#include <QString>
#include <QStringList>

struct GeneratedTables {
    adoxml::Recordset countries;    // CountryDataEx.xml
    adoxml::Recordset subdivisions; // Province.xml
    adoxml::Recordset uniqueCalls;  // UniqueCalls.xml
    QString russiaDom;              // Russia.dom
    QStringList warnings;           // keys that no call can have, and are left out
};

// The DXCC prefix the tables give an entity: its primary prefix, except European Russia, which
// is "UA1" so that the oblast fill tells it (with Kaliningrad "UA2" and Asiatic Russia "UA9").
QString dxccPrefixOf(const cty::Entity &entity);

// Country rows: one per entity and distinct set of zones its prefixes give. Unique calls: the
// calls the file lists whole. Subdivisions: one row per oblast key. Throws cty::Error when the
// oblast table names an entity the country file lacks.
GeneratedTables generateTables(const QList<cty::Entity> &entities, const QList<Oblast> &oblasts);

// Writes the four files into the folder, each whole or not at all.
void writeTables(const GeneratedTables &tables, const QString &folder);
