#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &overridden()
{
    static QString folder;
    return folder;
}
} // namespace

namespace programfolder {

QString path()
{
    const QString folder = overridden().isEmpty() ? QCoreApplication::applicationDirPath() : overridden();
    return QDir(folder).absolutePath() + QLatin1Char('/');
}

QString file(const QString &name)
{
    return path() + name;
}

void setPath(const QString &folder)
{
    overridden() = folder;
}

} // namespace programfolder
