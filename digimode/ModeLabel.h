// The main window's mode label as the decoder window gives it, and the speed box's numbers:
// both spelt with a point whatever the locale, as the box's items are.
#pragma once

#include <QString>

// "bpsk" at 31.25 baud gives "BPSK31", "mfsk-U" at 15.625 "MFSK16", either RTTY sideband
// "RTTY". The speed is rounded after adding 0.01, so that 62.5 gives 63, not 62.
QString ModeLabelText(const QString &engineMode, double speed);

namespace modelabel {

// The speed a box text stands for; throws std::runtime_error "'<text>' is not a valid
// floating point value" for anything but a finite decimal number.
double speedOf(const QString &text);

// A speed as the box shows it: the shortest decimal form ("62.5", "125").
QString speedText(double speed);

} // namespace modelabel
