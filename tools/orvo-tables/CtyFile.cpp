#include "CtyFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace cty {

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open %1: %2.").arg(path, f.errorString()));
    return f.readAll();
}

int toInt(const QString &text, const QString &fileName, const QString &what)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        throw Error(QStringLiteral("%1: %2 \"%3\" is not a number.").arg(fileName, what, text.trimmed()));
    return v;
}

double toDouble(const QString &text, const QString &fileName, const QString &what)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok)
        throw Error(QStringLiteral("%1: %2 \"%3\" is not a number.").arg(fileName, what, text.trimmed()));
    return v == 0 ? 0.0 : v; // no "-0" from a negated zero
}

// An entry is a prefix, or "=" and a whole call, followed by overrides: (CQ zone), [ITU zone],
// <latitude/longitude>, {continent}, ~time offset~.
Entry readEntry(const QString &text, const Entity &entity, const QString &fileName)
{
    static const QRegularExpression shape(
        QStringLiteral("^(=?)([A-Z0-9/]+)((?:\\(\\d+\\)|\\[\\d+\\]|<[^>]*>|\\{[A-Z]{2}\\}|~[^~]*~)*)$"));
    static const QRegularExpression cq(QStringLiteral("\\((\\d+)\\)"));
    static const QRegularExpression itu(QStringLiteral("\\[(\\d+)\\]"));
    static const QRegularExpression continent(QStringLiteral("\\{([A-Z]{2})\\}"));
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch())
        throw Error(QStringLiteral("%1: the entry \"%2\" of %3 is not a prefix or call the file format knows.")
                        .arg(fileName, text, entity.name));
    Entry e;
    e.exact = !m.captured(1).isEmpty();
    e.text = m.captured(2);
    e.zones = entity.zones;
    const QString overrides = m.captured(3);
    if (const auto o = cq.match(overrides); o.hasMatch())
        e.zones.cqZone = o.captured(1).toInt();
    if (const auto o = itu.match(overrides); o.hasMatch())
        e.zones.ituZone = o.captured(1).toInt();
    if (const auto o = continent.match(overrides); o.hasMatch())
        e.zones.continent = o.captured(1);
    return e;
}

} // namespace

QList<Entity> readCtyDat(const QByteArray &data, const QString &fileName)
{
    QList<Entity> entities;
    const QStringList records = QString::fromUtf8(data).split(QLatin1Char(';'));
    for (const QString &record : records) {
        if (record.trimmed().isEmpty())
            continue;
        const QStringList f = record.split(QLatin1Char(':'));
        if (f.size() != 9)
            throw Error(QStringLiteral("%1: the record \"%2\" does not have the eight fields of an entity "
                                       "and its prefix list.")
                            .arg(fileName, record.trimmed().left(60)));
        Entity e;
        e.name = f[0].trimmed();
        e.zones.cqZone = toInt(f[1], fileName, e.name + QStringLiteral(": CQ zone"));
        e.zones.ituZone = toInt(f[2], fileName, e.name + QStringLiteral(": ITU zone"));
        e.zones.continent = f[3].trimmed();
        e.latitude = toDouble(f[4], fileName, e.name + QStringLiteral(": latitude"));
        e.longitude = -toDouble(f[5], fileName, e.name + QStringLiteral(": longitude"));
        e.utcOffset = -toDouble(f[6], fileName, e.name + QStringLiteral(": time offset"));
        e.primaryPrefix = f[7].trimmed();
        if (e.primaryPrefix.startsWith(QLatin1Char('*'))) {
            e.waeOnly = true;
            e.primaryPrefix.remove(0, 1);
        }
        for (const QString &item : f[8].split(QLatin1Char(','))) {
            const QString text = item.simplified().remove(QLatin1Char(' '));
            if (!text.isEmpty())
                e.entries << readEntry(text, e, fileName);
        }
        if (e.entries.isEmpty())
            throw Error(QStringLiteral("%1: %2 lists no prefix and no call.").arg(fileName, e.name));
        entities << e;
    }
    if (entities.isEmpty())
        throw Error(QStringLiteral("%1 holds no entities.").arg(fileName));
    return entities;
}

QHash<QString, int> readCtyCsvNumbers(const QByteArray &data, const QString &fileName)
{
    QHash<QString, int> numbers;
    const QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const QStringList f = line.split(QLatin1Char(','));
        if (f.size() < 10)
            throw Error(QStringLiteral("%1: the line \"%2\" does not have the ten fields of an entity.")
                            .arg(fileName, line.trimmed().left(60)));
        numbers.insert(f[0].trimmed(), toInt(f[2], fileName, f[1] + QStringLiteral(": DXCC number")));
    }
    return numbers;
}

QList<Entity> readCtyFiles(const QString &datPath, const QString &csvPath)
{
    QList<Entity> entities = readCtyDat(readAll(datPath), datPath);
    const QHash<QString, int> numbers = readCtyCsvNumbers(readAll(csvPath), csvPath);
    for (Entity &e : entities) {
        const QString key = (e.waeOnly ? QStringLiteral("*") : QString()) + e.primaryPrefix;
        if (!numbers.contains(key))
            throw Error(QStringLiteral("%1 has no DXCC number for %2 (%3) of %4. Use the cty.csv of the "
                                       "same release.")
                            .arg(csvPath, e.name, key, datPath));
        e.dxcc = numbers.value(key);
    }
    return entities;
}

Reading::Reading(const QList<Entity> &entities)
{
    for (int i = 0; i < entities.size(); ++i) {
        for (const Entry &e : entities[i].entries) {
            // A call listed twice belongs to the entity listed first.
            QHash<QString, Placement> &map = e.exact ? exactCalls : prefixes;
            if (!map.contains(e.text))
                map.insert(e.text, Placement{i, e.zones});
            if (!e.exact)
                longestPrefixLength = std::max(longestPrefixLength, int(e.text.size()));
        }
    }
}

Placement Reading::longestPrefix(const QString &text) const
{
    for (qsizetype k = std::min<qsizetype>(text.size(), longestPrefixLength); k > 0; --k) {
        const auto it = prefixes.constFind(text.left(k));
        if (it != prefixes.constEnd())
            return *it;
    }
    return {};
}

Placement Reading::listedWhole(const QString &call) const
{
    return exactCalls.value(call);
}

Placement Reading::place(const QString &call) const
{
    const Placement whole = listedWhole(call);
    return whole.entity >= 0 ? whole : longestPrefix(call);
}

} // namespace cty
