#include "CallCheck.h"

namespace {

bool isLetter(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Only the 7-bit letters change: an accented or Cyrillic letter stays what it is and is then
// refused as a bad character.
QString upperAscii(const QString &text)
{
    QString u = text;
    for (QChar &c : u)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return u;
}

} // namespace

bool HasBadChars(const QString &text)
{
    for (QChar c : text)
        if (!isLetter(c) && !isDigit(c) && c != QLatin1Char('/'))
            return true;
    return false;
}

bool IsCallShape(const QString &text)
{
    const qsizetype n = text.size();
    if (n <= 2)
        return false;
    qsizetype i = 0;
    if (isDigit(text[0])) {
        if (!isLetter(text[1]) || !isLetter(text[n - 1]))
            return false;
        i = 1;
    }
    while (i < n && isLetter(text[i]))
        ++i;
    if (i == n)
        return false;
    while (i < n && isDigit(text[i]))
        ++i;
    if (i == n)
        return false;
    while (i < n && isLetter(text[i]))
        ++i;
    return i == n;
}

bool ValidCall(const QString &call, QString &baseCall)
{
    baseCall = QStringLiteral("-");
    if (call.size() < 3 || call.size() > 16)
        return false;
    const QString u = upperAscii(call);
    const qsizetype n = u.size();
    if (HasBadChars(u) || u.startsWith(QLatin1Char('/')))
        return false;

    const QChar last = u[n - 1];
    if (u[n - 2] == QLatin1Char('/')) {
        if (last == QLatin1Char('A') || last == QLatin1Char('M') || last == QLatin1Char('P')) {
            baseCall = u;
            return true;
        }
        if (isDigit(last)) {
            QString v = u.left(n - 2);
            QChar areaDigit;
            for (QChar c : v)
                if (isDigit(c))
                    areaDigit = c;
            if (!areaDigit.isNull())
                v.truncate(v.indexOf(areaDigit));
            baseCall = v + last;
            return true;
        }
        return false;
    }

    QString w = u;
    if (u[n - 3] == QLatin1Char('/')) {
        if (u.endsWith(QLatin1String("MM")) || u.endsWith(QLatin1String("AM")))
            w.chop(3);
    } else if (n > 3 && u[n - 4] == QLatin1Char('/')) {
        if (u.endsWith(QLatin1String("QRP")))
            w.chop(4);
    }

    const qsizetype slash = w.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        const bool verdict = IsCallShape(w);
        if (verdict)
            baseCall = w;
        return verdict;
    }
    const QString a = w.left(slash);
    const QString b = w.mid(slash + 1);
    const bool verdict = IsCallShape(b) || IsCallShape(a);
    if (verdict)
        baseCall = b.size() < a.size() ? b : a;
    return verdict;
}
