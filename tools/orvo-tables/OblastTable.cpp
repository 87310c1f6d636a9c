#include "OblastTable.h"

#include "CtyFile.h"

#include <QFile>
#include <QRegularExpression>

namespace {

// One record of comma-separated values; a field in double quotes may hold commas, and "" is a
// quote inside it.
QStringList csvFields(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

} // namespace

QList<Oblast> readOblastTable(const QByteArray &data, const QString &fileName)
{
    static const QStringList header = {"code", "name", "entity", "cq_zone", "itu_zone", "prefixes", "notes"};
    static const QRegularExpression key(QStringLiteral("^UA(?:[0-9][A-Z]|2)$"));
    const QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    if (lines.isEmpty() || csvFields(lines[0].trimmed()) != header)
        throw cty::Error(QStringLiteral("%1: the first line must name the columns %2.")
                             .arg(fileName, header.join(QLatin1Char(','))));
    QList<Oblast> oblasts;
    for (int n = 1; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        const QStringList f = csvFields(line);
        auto fail = [&](const QString &why) {
            return cty::Error(QStringLiteral("%1, line %2: %3.").arg(fileName).arg(n + 1).arg(why));
        };
        if (f.size() != header.size())
            throw fail(QStringLiteral("%1 fields instead of %2").arg(f.size()).arg(header.size()));
        Oblast o;
        o.code = f[0].trimmed();
        o.name = f[1].trimmed();
        o.entity = f[2].trimmed();
        bool cqOk = false, ituOk = false;
        o.cqZone = f[3].toInt(&cqOk);
        o.ituZone = f[4].toInt(&ituOk);
        o.keys = f[5].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        o.notes = f[6].trimmed();
        if (o.code.size() != 2)
            throw fail(QStringLiteral("the code \"%1\" is not two characters").arg(o.code));
        if (!cqOk || !ituOk)
            throw fail(QStringLiteral("the zones are not numbers"));
        if (o.keys.isEmpty())
            throw fail(QStringLiteral("no keys"));
        for (const QString &k : std::as_const(o.keys))
            if (!key.match(k).hasMatch())
                throw fail(QStringLiteral("the key \"%1\" is neither UA + digit + letter nor UA2").arg(k));
        oblasts << o;
    }
    return oblasts;
}

QList<Oblast> readOblastTable(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw cty::Error(QStringLiteral("Cannot open %1: %2.").arg(path, f.errorString()));
    return readOblastTable(f.readAll(), path);
}
