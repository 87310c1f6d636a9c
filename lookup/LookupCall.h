// What the main window looks up for the heard call it is given, so that portable forms get the
// country they mean.
#pragma once

#include <QString>

class CountryLookup;

// The text to hand to CountryLookup::FindCountry for a typed heard call:
// - a text the callsign check refuses is looked up as typed;
// - a call the unique-call table lists whole (upper-cased) is looked up whole: the list knows
//   the country of its calls, suffixes included;
// - a maritime or aeronautical mobile (/MM, /AM) is in no country: the result is empty, meaning
//   "look nothing up, show empty outputs";
// - suffixes that tell how the station works, not where, are dropped: /A, /M, /P, and
//   /LH, /LGT (lighthouse), /QRPP, /AG, /YL, /JOTA, /YOTA; UA1XYZ/P is European Russia;
// - otherwise the base call of the check decides: the portable prefix (DL/UA1XYZ is Germany),
//   the call area of a /digit (UA1XYZ/9 looks up UA9, Asiatic Russia), or the call itself.
QString LookupCall(const QString &typed, const CountryLookup &lookup);
