#include "WholeFile.h"

#include <QSaveFile>

namespace wholefile {

QString write(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile loses the error of a short write at commit (a full
    // disk) and renames the truncated file over the old one. Unbuffered, write() returns
    // what reached the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const qint64 written = file.write(content);
    if (written != content.size()) {
        const QString reason = file.error() != QFileDevice::NoError && written < 0
            ? file.errorString()
            : QStringLiteral("only %1 of %2 bytes could be written (is the disk full?)").arg(written).arg(content.size());
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace wholefile
