// How far the generated tables and FindCountry agree with a plain reading of the Big CTY file
// (a call listed whole, else the longest listed prefix with its zone overrides) over every call
// of MASTER.SCP, on the entity and both zones. Lists the kinds of disagreement.
#include "CountryLookup.h"
#include "CtyFile.h"
#include "LookupCall.h"
#include "MasterCalls.h"
#include "TableGenerator.h"

#include <QMap>
#include <cstdio>

namespace {

struct Tally {
    int calls = 0;
    int agree = 0;
    QMap<QString, QStringList> kinds; // kind -> example calls
};

// `text` is what the lookup is given; the reading looks at the call whole first, then reads
// `text` (whole, then its longest prefix).
void compare(Tally &tally, CountryLookup &lookup, const cty::Reading &reading, const QList<cty::Entity> &entities,
             const QString &call, const QString &text)
{
    ++tally.calls;
    QString o[6];
    if (!text.isEmpty())
        lookup.FindCountry(text, o[0], o[1], o[2], o[3], o[4], o[5]);
    cty::Placement p = reading.listedWhole(call);
    if (p.entity < 0 && !text.isEmpty())
        p = reading.place(text);
    const QString entity = p.entity < 0 ? QString() : dxccPrefixOf(entities[p.entity]);
    const QString cq = p.entity < 0 ? QString() : QString::number(p.zones.cqZone);
    const QString itu = p.entity < 0 ? QString() : QString::number(p.zones.ituZone);
    if (o[0] == entity && o[2] == cq && o[3] == itu) {
        ++tally.agree;
        return;
    }
    QString kind;
    if (o[0] != entity)
        kind = QStringLiteral("entity %1 (%2) instead of %3").arg(o[0], o[1], entity);
    else
        kind = QStringLiteral("zones %1/%2 instead of %3/%4 (%5, %6)").arg(o[2], o[3], cq, itu, o[1], o[5]);
    tally.kinds[kind] << call;
}

void report(const char *title, const Tally &t)
{
    std::printf("%s: %d of %d calls agree (%.3f %%)\n", title, t.agree, t.calls, 100.0 * t.agree / t.calls);
    QList<QPair<qsizetype, QString>> kinds;
    for (auto it = t.kinds.cbegin(); it != t.kinds.cend(); ++it)
        kinds << qMakePair(it.value().size(), it.key());
    std::sort(kinds.begin(), kinds.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (const auto &[count, kind] : std::as_const(kinds))
        std::printf("  %5lld  %s   e.g. %s\n", qint64(count), qPrintable(kind),
                    qPrintable(t.kinds[kind].mid(0, 4).join(QStringLiteral(", "))));
}

} // namespace

int main()
{
    const QList<cty::Entity> entities = cty::readCtyFiles(QStringLiteral("/usr/share/hamradio-files/cty.dat"),
                                                          QStringLiteral("/usr/share/hamradio-files/cty.csv"));
    const cty::Reading reading(entities);
    CountryLookup lookup;
    const QStringList problems = lookup.load(QStringLiteral(ORVO_DIST_DIR));
    if (!problems.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problems.join('\n')));
        return 1;
    }
    Tally asTyped, portable;
    for (const QString &call : masterCalls()) {
        compare(asTyped, lookup, reading, entities, call, call);
        compare(portable, lookup, reading, entities, call, LookupCall(call, lookup));
    }
    report("FindCountry on the call as it stands", asTyped);
    report("FindCountry on what LookupCall gives", portable);
    return 0;
}
