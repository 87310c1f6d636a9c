// Every statement the logger runs against table qso. Searches take their values as bound
// parameters, so a quote or any other character in a callsign is searched for literally.
#pragma once

#include <QStringList>

namespace statements {

// Start-up search: compares with the still empty heard call.
inline const QStringList S2{"SELECT * ", "FROM qso", "WHERE call1 = :heard"};

// Heard-call search. AND binds before OR: call1 on this mode and band, or call2 anywhere
// (the middle alternative lies inside the last one and is kept as the log always had it).
inline const QStringList S3{
    "SELECT * ", "FROM qso",
    "WHERE call1 = :heard and mode = :mode and QSOBand = :band"
    " or call2 = :heard and mode = :mode and QSOBand = :band or call2 = :heard"};

// Worked-call search: call2 anywhere, or call1 on this mode and band.
inline const QStringList S4{
    "SELECT * ", "FROM qso",
    "WHERE call2 = :worked and mode = :mode and QSOBand = :band"
    " or call1 = :worked and mode = :mode and QSOBand = :band or call2 = :worked"};

// Score: 3 for a row with a number sent to the worked station, 1 for a row without.
// Counted by the engine instead of fetching every row: the row count comes from the table
// b-tree at once, the rows without a number from the nr2 index.
inline const QStringList S5{"SELECT 3 * (SELECT COUNT(*) FROM qso) ",
                            "- 2 * (SELECT COUNT(*) FROM qso WHERE nr2 = '' OR nr2 IS NULL)"};

inline QString text(const QStringList &lines)
{
    return lines.join('\n');
}

} // namespace statements
