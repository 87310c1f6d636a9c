// The program's folder: Options.ini, Russia.dom and the report lists lie there, and the
// exports are written there. It is the folder of the executable.
#pragma once

#include <QString>

namespace programfolder {

// With a trailing separator, so that a file name can be appended.
QString path();
QString file(const QString &name);
// Tests run from a build folder and point the program at a folder of their own.
void setPath(const QString &folder);

} // namespace programfolder
