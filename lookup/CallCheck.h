// The callsign check: whether a typed text has the form of an amateur callsign, and its base
// call, the part that names the station's country.
#pragma once

#include <QString>

// True when the text holds a character other than A-Z, 0-9 and "/"; false for the empty text.
bool HasBadChars(const QString &text);

// True for [digit] letters digits letters, e.g. UA1XYZ, K1A, 2E0XYZ, 3DA0XY.
bool IsCallShape(const QString &text);

// Sets baseCall ("-" when the call is refused) and returns the verdict.
// The one-character suffixes keep a base call and are accepted: /A, /M and /P (the base call
// keeps the suffix) and /digit (the digit replaces the call area: UA1XYZ/3 gives UA3). They are
// the everyday portable forms, so a check that refused them would refuse real stations.
bool ValidCall(const QString &call, QString &baseCall);
