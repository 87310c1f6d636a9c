#include "MasterCalls.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>

QStringList masterCalls(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Cannot open %s: %s\n", qPrintable(path), qPrintable(f.errorString()));
        std::exit(1);
    }
    QStringList calls;
    while (!f.atEnd()) {
        const QString line = QString::fromLatin1(f.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            calls << line;
    }
    return calls;
}
