#include "TableGenerator.h"

#include "PrefixExpression.h"
#include "PrefixTables.h"

#include <QDir>
#include <QLocale>
#include <QMap>
#include <QSaveFile>
#include <algorithm>

namespace {

// Russian stations put R, RA-RZ, U or UA-UI before the call-area digit.
QStringList russianPrefixLetters()
{
    QStringList letters = {QStringLiteral("R"), QStringLiteral("U")};
    for (char c = 'A'; c <= 'Z'; ++c)
        letters << QStringLiteral("R") + QLatin1Char(c);
    for (char c = 'A'; c <= 'I'; ++c)
        letters << QStringLiteral("U") + QLatin1Char(c);
    return letters;
}

adoxml::Column columnFor(const QString &field)
{
    adoxml::Column c;
    c.name = field;
    if (field == QLatin1String("id") || field == QLatin1String("DXCC") || field == QLatin1String("CQZone")
        || field == QLatin1String("ITUZone"))
        c.type = QStringLiteral("int");
    else if (field == QLatin1String("Latitude") || field == QLatin1String("Longitude")
             || field == QLatin1String("TimeDiff"))
        c.type = QStringLiteral("float");
    else if (field == QLatin1String("StartDate") || field == QLatin1String("EndDate"))
        c.type = QStringLiteral("dateTime");
    c.isLong = field == QLatin1String("PrefixList") || field == QLatin1String("Comment");
    c.nullable = field != QLatin1String("id");
    return c;
}

QString number(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

// Rows are filled by field name; a field left out is null.
class TableBuilder {
public:
    explicit TableBuilder(PrefixTable table) : fields(prefixTableFields(table))
    {
        for (const QString &f : fields)
            result.columns << columnFor(f);
    }
    void add(QHash<QString, QString> values)
    {
        values.insert(QStringLiteral("id"), QString::number(result.rows.size() + 1));
        adoxml::Row row;
        for (const QString &f : fields)
            row << (values.contains(f) ? adoxml::Value(values.value(f)) : std::nullopt);
        result.rows << row;
    }
    adoxml::Recordset result;

private:
    QStringList fields;
};

struct Group {
    int entity;
    cty::Zones zones;
};

} // namespace

QString dxccPrefixOf(const cty::Entity &entity)
{
    return entity.primaryPrefix == QLatin1String("UA") ? QStringLiteral("UA1") : entity.primaryPrefix;
}

GeneratedTables generateTables(const QList<cty::Entity> &entities, const QList<Oblast> &oblasts)
{
    GeneratedTables out;

    // A country row per entity and set of zones: the entity's own first, then its overrides.
    QList<Group> groups;
    QMap<QString, int> groupOfPrefix;
    QMap<QString, int> entityOfPrefix;
    for (int i = 0; i < entities.size(); ++i) {
        const int first = int(groups.size());
        groups << Group{i, entities[i].zones};
        for (const cty::Entry &e : entities[i].entries) {
            if (e.exact || entityOfPrefix.contains(e.text))
                continue;
            auto g = std::find_if(groups.begin() + first, groups.end(),
                                  [&](const Group &x) { return x.zones == e.zones; });
            if (g == groups.end()) {
                groups << Group{i, e.zones};
                g = groups.end() - 1;
            }
            groupOfPrefix.insert(e.text, int(g - groups.begin()));
            entityOfPrefix.insert(e.text, i);
        }
    }

    TableBuilder countries(PrefixTable::Country);
    for (int g = 0; g < groups.size(); ++g) {
        const cty::Entity &e = entities[groups[g].entity];
        QString expression = prefixExpression(groupOfPrefix, g, {QString()});
        if (expression.isEmpty()) {
            // An entity known only by whole calls: its row names them, so that it still places
            // them should the unique-call table be missing.
            QStringList calls;
            for (const cty::Entry &x : e.entries)
                if (x.exact)
                    calls << x.text;
            if (calls.isEmpty())
                continue;
            expression = exactCallsExpression(calls);
        }
        countries.add({{"ARRLPrefix", dxccPrefixOf(e)},
                       {"Country", e.name},
                       {"DXCC", QString::number(e.dxcc)},
                       {"Continent", groups[g].zones.continent},
                       {"CQZone", QString::number(groups[g].zones.cqZone)},
                       {"ITUZone", QString::number(groups[g].zones.ituZone)},
                       {"Latitude", number(e.latitude)},
                       {"Longitude", number(e.longitude)},
                       {"PrefixList", expression},
                       {"Status", "Active"},
                       {"TimeDiff", number(e.utcOffset)}});
    }
    out.countries = countries.result;

    TableBuilder uniques(PrefixTable::UniqueCall);
    for (const cty::Entity &e : entities) {
        for (const cty::Entry &x : e.entries) {
            if (!x.exact)
                continue;
            uniques.add({{"Callsign", exactCallsExpression({x.text})},
                         {"ARRLPrefix", dxccPrefixOf(e)},
                         {"Prefix", dxccPrefixOf(e)},
                         {"Country", e.name},
                         {"Continent", x.zones.continent},
                         {"CQZone", QString::number(x.zones.cqZone)},
                         {"ITUZone", QString::number(x.zones.ituZone)},
                         {"Latitude", number(e.latitude)},
                         {"Longitude", number(e.longitude)},
                         {"DXCC", QString::number(e.dxcc)}});
        }
    }
    out.uniqueCalls = uniques.result;

    // An oblast key stands for the calls with its call-area digit and first suffix letter (UA2:
    // all of Kaliningrad) that the country file gives to the oblast's entity; zones are the
    // oblast's own.
    const QStringList letters = russianPrefixLetters();
    TableBuilder subdivisions(PrefixTable::Subdivision);
    QStringList domLines;
    QStringList shortKeyLines;
    for (const Oblast &o : oblasts) {
        const auto e = std::find_if(entities.begin(), entities.end(),
                                    [&](const cty::Entity &x) { return x.name == o.entity; });
        if (e == entities.end())
            throw cty::Error(QStringLiteral("The oblast %1 (%2) belongs to \"%3\", which the country file "
                                            "does not list.")
                                 .arg(o.code, o.name, o.entity));
        const int entity = int(e - entities.begin());
        for (const QString &key : o.keys) {
            QStringList roots;
            for (const QString &l : letters)
                roots << l + key.mid(2);
            const QString expression = prefixExpression(entityOfPrefix, entity, roots);
            if (expression.isEmpty()) {
                out.warnings << QStringLiteral("No call of %1 has the key %2 of %3 (%4); the key is left out.")
                                    .arg(o.entity, key, o.code, o.name);
                continue;
            }
            subdivisions.add({{"Prefix", key},
                              {"ARRLPrefix", dxccPrefixOf(*e)},
                              {"DXCC", QString::number(e->dxcc)},
                              {"Continent", e->zones.continent},
                              {"Country", o.name},
                              {"CQZone", QString::number(o.cqZone)},
                              {"ITUZone", QString::number(o.ituZone)},
                              {"Comment", o.notes},
                              {"PrefixList", expression}});
            (key.size() == 4 ? domLines : shortKeyLines) << key + QLatin1Char(' ') + o.code;
        }
    }
    out.subdivisions = subdivisions.result;
    // The oblast fill finds a line by substring search and takes the last line that holds the
    // prefix: "UA2" also occurs in "UA2A MA", so the short keys must come last.
    out.russiaDom = (domLines + shortKeyLines).join(QLatin1Char('\n')) + QLatin1Char('\n');
    return out;
}

void writeTables(const GeneratedTables &tables, const QString &folder)
{
    const QDir dir(folder);
    adoxml::writeFile(dir.filePath(prefixTableFile(PrefixTable::Country)), tables.countries);
    adoxml::writeFile(dir.filePath(prefixTableFile(PrefixTable::Subdivision)), tables.subdivisions);
    adoxml::writeFile(dir.filePath(prefixTableFile(PrefixTable::UniqueCall)), tables.uniqueCalls);
    QSaveFile dom(dir.filePath(QStringLiteral("Russia.dom")));
    if (!dom.open(QIODevice::WriteOnly) || dom.write(tables.russiaDom.toUtf8()) < 0 || !dom.commit())
        throw adoxml::Error(QStringLiteral("Cannot write %1: %2.").arg(dom.fileName(), dom.errorString()));
}
