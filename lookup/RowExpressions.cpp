#include "RowExpressions.h"

#include <QVarLengthArray>
#include <algorithm>

namespace {

// Reads the start of an anchored expression far enough to name the literal texts a match must
// begin with. Whatever it does not understand ends a literal run early, which only widens the
// set of calls the row is tried on: the reading may be coarse, never wrong.
class PrefixReader {
public:
    explicit PrefixReader(const QString &pattern) : p(pattern), n(pattern.size()) {}

    std::optional<QStringList> read()
    {
        if (!p.startsWith(QLatin1Char('^')) || !onlyPlainGroups())
            return std::nullopt;
        pos = 1;
        const QStringList prefixes = sequence();
        skipToDelimiter();
        // A "|" at the top level would leave the "^" to the first alternative only.
        if (failed || pos < n || prefixes.isEmpty() || prefixes.contains(QString()))
            return std::nullopt;
        return prefixes;
    }

private:
    static constexpr qsizetype kMaxPrefixes = 4096;

    static bool isSpecial(QChar c) { return QStringView(u"\\^$.|?*+()[]{}").contains(c); }
    bool quantifiedAt(qsizetype i) const
    {
        return i < n && (p[i] == QLatin1Char('?') || p[i] == QLatin1Char('*') || p[i] == QLatin1Char('{'));
    }

    // Option settings, named groups, comments, verbs, quoting and POSIX classes could change
    // what the simple scan below takes for a group or an alternative.
    bool onlyPlainGroups() const
    {
        if (p.contains(QLatin1String("\\Q")) || p.contains(QLatin1String("[:")) || p.contains(QLatin1String("(*")))
            return false;
        for (qsizetype i = p.indexOf(QLatin1String("(?")); i >= 0; i = p.indexOf(QLatin1String("(?"), i + 1)) {
            qsizetype backslashes = 0;
            while (i - backslashes > 0 && p[i - backslashes - 1] == QLatin1Char('\\'))
                ++backslashes;
            if (backslashes % 2 == 1)
                continue;
            const QStringView rest = QStringView(p).mid(i + 2);
            if (!rest.startsWith(u':') && !rest.startsWith(u'=') && !rest.startsWith(u'!')
                && !rest.startsWith(u"<=") && !rest.startsWith(u"<!"))
                return false;
        }
        return true;
    }

    void skipClass()
    {
        ++pos; // '['
        if (pos < n && p[pos] == QLatin1Char('^'))
            ++pos;
        if (pos < n && p[pos] == QLatin1Char(']'))
            ++pos;
        while (pos < n && p[pos] != QLatin1Char(']'))
            pos += p[pos] == QLatin1Char('\\') ? 2 : 1;
        ++pos;
    }

    // Moves to the "|" or ")" that ends the current alternative, or to the end.
    void skipToDelimiter()
    {
        int depth = 0;
        while (pos < n) {
            const QChar c = p[pos];
            if (c == QLatin1Char('\\')) {
                pos += 2;
            } else if (c == QLatin1Char('[')) {
                skipClass();
            } else if (c == QLatin1Char('(')) {
                ++depth;
                ++pos;
            } else if (c == QLatin1Char(')')) {
                if (depth == 0)
                    return;
                --depth;
                ++pos;
            } else if (c == QLatin1Char('|') && depth == 0) {
                return;
            } else {
                ++pos;
            }
        }
    }

    QStringList group(const QString &run)
    {
        QStringList alternatives;
        for (;;) {
            alternatives += sequence();
            skipToDelimiter();
            if (pos >= n) {
                failed = true;
                return {run};
            }
            const bool more = p[pos] == QLatin1Char('|');
            ++pos;
            if (!more)
                break;
        }
        if (quantifiedAt(pos) || alternatives.size() > kMaxPrefixes)
            return {run};
        QStringList prefixes;
        for (const QString &a : std::as_const(alternatives))
            prefixes << run + a;
        prefixes.removeDuplicates();
        return prefixes;
    }

    // The literal texts that start every match of the sequence at `pos`.
    QStringList sequence()
    {
        QString run;
        while (pos < n) {
            const QChar c = p[pos];
            QChar literal;
            qsizetype length = 1;
            if (c == QLatin1Char('\\')) {
                if (pos + 1 >= n || p[pos + 1].isLetterOrNumber() || p[pos + 1].unicode() >= 128)
                    break;
                literal = p[pos + 1];
                length = 2;
            } else if (c == QLatin1Char('(')) {
                const bool capturing = pos + 1 < n && p[pos + 1] != QLatin1Char('?');
                const bool plain = pos + 2 < n && p[pos + 1] == QLatin1Char('?') && p[pos + 2] == QLatin1Char(':');
                if (!capturing && !plain)
                    break;
                pos += capturing ? 1 : 3;
                return group(run);
            } else if (isSpecial(c)) {
                break;
            } else {
                literal = c;
            }
            if (quantifiedAt(pos + length))
                break;
            run += literal;
            pos += length;
            if (pos < n && p[pos] == QLatin1Char('+'))
                break;
        }
        return {run};
    }

    const QString &p;
    const qsizetype n;
    qsizetype pos = 0;
    bool failed = false;
};

// "^K1ABC$" and the like: letters, digits and escaped punctuation between optional anchors can
// only be valid. Most rows of a unique-call table look so; leaving their compilation to their
// first use keeps the load short (the engine compiles each expression to machine code).
bool isPlainLiteral(const QString &pattern)
{
    qsizetype i = pattern.startsWith(QLatin1Char('^')) ? 1 : 0;
    const qsizetype end = pattern.size() - (pattern.endsWith(QLatin1Char('$')) ? 1 : 0);
    if (i >= end)
        return false;
    for (; i < end; ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\\')) {
            if (++i >= end || pattern[i].isLetterOrNumber() || pattern[i].unicode() >= 128)
                return false;
        } else if (!(c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('/')))) {
            return false;
        }
    }
    return true;
}

QString problemText(const QString &pattern, const QRegularExpression &re)
{
    if (pattern.isEmpty())
        return QStringLiteral("the expression is empty");
    return QStringLiteral("the expression is not valid: %1 at offset %2")
        .arg(re.errorString())
        .arg(re.patternErrorOffset());
}

} // namespace

std::optional<QStringList> anchoredLiteralPrefixes(const QString &pattern)
{
    return PrefixReader(pattern).read();
}

RowExpressions::RowExpressions(const QStringList &rowPatterns, Scan scan)
    : mode(scan), patterns(rowPatterns)
{
    usable.reserve(patterns.size());
    if (mode == Scan::Indexed)
        compiled.reserve(patterns.size());
    QHash<QString, QList<int>> rowsByText;
    for (int row = 0; row < patterns.size(); ++row) {
        const QString &pattern = patterns[row];
        QRegularExpression re(pattern);
        const bool ok = isPlainLiteral(pattern) || (!pattern.isEmpty() && re.isValid());
        usable << ok;
        if (!ok)
            badRows << Problem{row, problemText(pattern, re)};
        if (mode == Scan::Literal)
            continue;
        compiled << re;
        if (!ok)
            continue;
        if (const auto prefixes = anchoredLiteralPrefixes(pattern)) {
            for (const QString &prefix : *prefixes)
                rowsByText[prefix] << row;
        } else {
            alwaysTried << row;
        }
    }
    for (auto it = rowsByText.cbegin(); it != rowsByText.cend(); ++it) {
        prefixStore << it.key();
        QList<int> rows = it.value();
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        rowsByPrefix.insert(QStringView(prefixStore.constLast()), rows);
        if (!prefixLengths.contains(int(it.key().size())))
            prefixLengths << int(it.key().size());
    }
    std::sort(prefixLengths.begin(), prefixLengths.end());
}

QList<int> RowExpressions::candidates(const QString &call) const
{
    QList<int> rows = alwaysTried;
    const QStringView view(call);
    for (int length : prefixLengths) {
        if (length > call.size())
            break;
        const auto it = rowsByPrefix.constFind(view.left(length));
        if (it != rowsByPrefix.constEnd())
            rows += *it;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void RowExpressions::forEachMatch(const QString &call,
                                  const std::function<bool(int, const QString &)> &visit) const
{
    if (mode == Scan::Literal) {
        for (int row = 0; row < patterns.size(); ++row) {
            if (!usable[row])
                continue;
            const QRegularExpression re(patterns[row]);
            const QRegularExpressionMatch m = re.match(call);
            if (m.hasMatch() && visit(row, m.captured(0)))
                return;
        }
        return;
    }
    for (int row : candidates(call)) {
        const QRegularExpressionMatch m = compiled[row].match(call);
        if (m.hasMatch() && visit(row, m.captured(0)))
            return;
    }
}
