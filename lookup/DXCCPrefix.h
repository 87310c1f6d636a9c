// The DXCC window: owns the three prefix tables and the country lookup over them, serves
// the callsign check to the other windows, and shows the tables.
#pragma once

#include "CountryLookup.h"
#include "SecondaryWindow.h"

class TForm9 : public SecondaryWindow {
    Q_OBJECT
public:
    // Loads the tables by bare name from the current directory; a table that cannot be
    // loaded is reported once, when the event loop runs, and the lookup goes on without it.
    explicit TForm9(Forms &forms, QWidget *parent = nullptr);

    bool ValidCall(const QString &call, QString &baseCall) const;
    void FindCountry(const QString &call, QString &dxccPrefix, QString &country, QString &cqZone,
                     QString &ituZone, QString &continent, QString &prefix);

    CountryLookup &lookup() { return lookup_; }

    // What went wrong while loading, one text per problem (empty when all loaded).
    const QStringList &loadProblems() const { return loadProblems_; }

private:
    void FormCreate();

    CountryLookup lookup_;
    QStringList loadProblems_;
};
