#include "PrefixExpression.h"

#include <QSet>
#include <algorithm>

namespace {

// What may follow a prefix: the rest of a callsign, portable parts included.
const QString kCallTail = QStringLiteral("[0-9A-Z/]*");

QString literal(const QString &text)
{
    QString out;
    for (QChar c : text) {
        if (QStringView(u"\\^$.|?*+()[]{}").contains(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

// The label of the longest listed prefix of `text` (text itself included), -1 when none.
int labelOfLongest(const QMap<QString, int> &labels, const QString &text)
{
    for (qsizetype k = text.size(); k > 0; --k) {
        const auto it = labels.constFind(text.left(k));
        if (it != labels.constEnd())
            return *it;
    }
    return -1;
}

// Listed prefixes longer than `text` that begin with it; the map's order keeps them together.
template<typename F>
void forEachExtension(const QMap<QString, int> &labels, const QString &text, F f)
{
    for (auto it = labels.lowerBound(text); it != labels.constEnd() && it.key().startsWith(text); ++it)
        if (it.key().size() > text.size())
            f(it.key(), *it);
}

// Of a sorted list, the texts that no other text of the list begins.
QStringList shortestOnly(QStringList texts)
{
    std::sort(texts.begin(), texts.end());
    QStringList kept;
    for (const QString &t : std::as_const(texts))
        if (kept.isEmpty() || !t.startsWith(kept.constLast()))
            kept << t;
    return kept;
}

// A compact alternation of texts none of which begins another, grouped by first character:
// {A9, A0, N} gives "A[09]|N".
QString alternation(const QStringList &texts)
{
    QMap<QChar, QStringList> byFirst;
    for (const QString &t : texts)
        byFirst[t[0]] << t.mid(1);
    QString singles;
    QStringList parts;
    for (auto it = byFirst.cbegin(); it != byFirst.cend(); ++it) {
        if (it.value().contains(QString())) {
            singles += literal(QString(it.key()));
            continue;
        }
        const QString rest = alternation(it.value());
        const bool grouped = it.value().size() > 1 && rest.contains(QLatin1Char('|'));
        parts << literal(QString(it.key())) + (grouped ? QStringLiteral("(?:%1)").arg(rest) : rest);
    }
    if (singles.size() == 1)
        parts.prepend(singles);
    else if (!singles.isEmpty())
        parts.prepend(QStringLiteral("[%1]").arg(singles));
    return parts.join(QLatin1Char('|'));
}

} // namespace

QString prefixExpression(const QMap<QString, int> &labels, int target, const QStringList &roots)
{
    QStringList starts;
    for (const QString &root : roots) {
        if (!root.isEmpty() && labelOfLongest(labels, root) == target)
            starts << root;
        forEachExtension(labels, root, [&](const QString &prefix, int label) {
            if (label == target)
                starts << prefix;
        });
    }
    starts = QSet<QString>(starts.begin(), starts.end()).values();
    std::sort(starts.begin(), starts.end());

    // Each start refuses the longer prefixes of other labels; a start that an earlier, shorter
    // one already covers (no refused prefix lies between them) adds nothing.
    QMap<QString, QStringList> refusals;
    for (const QString &s : std::as_const(starts)) {
        QStringList refused;
        forEachExtension(labels, s, [&](const QString &prefix, int label) {
            if (label != target)
                refused << prefix;
        });
        refusals.insert(s, shortestOnly(refused));
    }
    QStringList alternatives;
    QStringList kept;
    for (const QString &s : std::as_const(starts)) {
        const bool covered = std::any_of(kept.cbegin(), kept.cend(), [&](const QString &k) {
            return s.startsWith(k)
                && std::none_of(refusals[k].cbegin(), refusals[k].cend(),
                                [&](const QString &r) { return s.startsWith(r); });
        });
        if (covered)
            continue;
        kept << s;
        QStringList rests;
        for (const QString &r : std::as_const(refusals[s]))
            rests << r.mid(s.size());
        alternatives << literal(s) + (rests.isEmpty() ? QString() : QStringLiteral("(?!%1)").arg(alternation(rests)));
    }
    if (alternatives.isEmpty())
        return {};
    return QStringLiteral("^(?:%1)%2$").arg(alternatives.join(QLatin1Char('|')), kCallTail);
}

QString exactCallsExpression(const QStringList &calls)
{
    QStringList alternatives;
    for (const QString &c : calls)
        alternatives << literal(c);
    if (alternatives.size() == 1)
        return QStringLiteral("^%1$").arg(alternatives[0]);
    return QStringLiteral("^(?:%1)$").arg(alternatives.join(QLatin1Char('|')));
}
