// The DXCC window: owns the three prefix tables and the country lookup over them, serves
// the callsign check to the other windows, and shows the tables, one tab each. A double-click
// on a country hands it to the settings window's contest fields.
#pragma once

#include "CountryLookup.h"
#include "SecondaryWindow.h"

class QTabWidget;
class QTableView;

class TForm9 : public SecondaryWindow {
    Q_OBJECT
public:
    // Loads the tables by bare name from the current directory; a table that cannot be
    // loaded is reported once, when the event loop runs, and the lookup goes on without it.
    explicit TForm9(Forms &forms, QWidget *parent = nullptr);

    bool ValidCall(const QString &call, QString &baseCall) const;
    // The lookup; the grids then follow the rows it stopped on.
    void FindCountry(const QString &call, QString &dxccPrefix, QString &country, QString &cqZone,
                     QString &ituZone, QString &continent, QString &prefix);

    CountryLookup &lookup() { return lookup_; }

    // What went wrong while loading, one text per problem (empty when all loaded).
    const QStringList &loadProblems() const { return loadProblems_; }

    // Selects in each grid the row the last lookup stopped on. While the window is hidden it
    // only notes that the rows moved; they are selected when it is shown.
    void followLookupCursors();
    // The settings window's "...": the tab "Country" in front, then the window shown.
    void showCountryTab();

    QTabWidget *RzPageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3;
    QTableView *UniqueCallsGrid;     // "Unique Calllist"
    QTableView *AdministrativeGrid;  // "Administrative Subdivision"
    QTableView *CountryGrid;         // "Country"

public slots:
    void CountryGridDblClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void buildWindow();
    QTableView *gridOf(PrefixTable table) const;

    CountryLookup lookup_;
    QStringList loadProblems_;
    bool cursorsMoved_ = true;
};
