// The Big CTY country file (cty.dat, with cty.csv for the DXCC entity numbers), and its plain
// reading: a call listed whole wins, otherwise the longest listed prefix that starts the call.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <stdexcept>

namespace cty {

class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Where a prefix or call puts a station: the entity's values with the entry's overrides.
struct Zones {
    int cqZone = 0;
    int ituZone = 0;
    QString continent;
    bool operator==(const Zones &) const = default;
};

struct Entry {
    QString text; // the prefix, or the whole call
    bool exact = false;
    Zones zones;
};

struct Entity {
    QString name;
    QString primaryPrefix; // without the "*" of an entity on the WAE list only
    bool waeOnly = false;
    Zones zones;
    double latitude = 0;  // degrees north
    double longitude = 0; // degrees east
    double utcOffset = 0; // hours, local time minus UTC
    int dxcc = 0;
    QList<Entry> entries;
};

// The file writes longitudes positive to the west and time offsets as UTC minus local time;
// these come back the common way round.
QList<Entity> readCtyDat(const QByteArray &data, const QString &fileName);
// The DXCC numbers of cty.csv by primary prefix, the "*" of WAE-only entities included.
QHash<QString, int> readCtyCsvNumbers(const QByteArray &data, const QString &fileName);
// Both files: every entity with its DXCC number; an entity cty.csv lacks is an error.
QList<Entity> readCtyFiles(const QString &datPath, const QString &csvPath);

struct Placement {
    int entity = -1; // index into the entity list, -1 when nothing places the call
    Zones zones;
};

class Reading {
public:
    explicit Reading(const QList<Entity> &entities);

    Placement place(const QString &call) const;
    // The call as the file lists it whole, if it does.
    Placement listedWhole(const QString &call) const;
    // The longest listed prefix that starts the text, not looking at whole calls.
    Placement longestPrefix(const QString &text) const;

private:
    QHash<QString, Placement> exactCalls;
    QHash<QString, Placement> prefixes;
    int longestPrefixLength = 0;
};

} // namespace cty
