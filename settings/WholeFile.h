// Writing a file whole or not at all: the content goes to a temporary file beside it, which
// is renamed over the old one only when every byte was written.
#pragma once

#include <QByteArray>
#include <QString>

namespace wholefile {

// Empty on success; otherwise why the file could not be written, the old file being untouched.
QString write(const QString &path, const QByteArray &content);

} // namespace wholefile
