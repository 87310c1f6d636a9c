// The report lists beside the program: "rst59.dat" for phone, "rst599.dat" for CW and the
// digital modes, one report per line.
#pragma once

#include <QStringList>

class QComboBox;

namespace reportlist {

inline const char *const kPhone = "rst59.dat";
inline const char *const kTelegraphy = "rst599.dat";

// The lines of the list in the program's folder; a missing file throws with the text
// "Cannot open file <path>".
QStringList load(const char *fileName);

// Loads the list into each box in turn and then sets each box's text to text. The file is
// read before any box changes, so a missing file leaves every box as it was.
void fill(const char *fileName, std::initializer_list<QComboBox *> boxes, const QString &text);

} // namespace reportlist
