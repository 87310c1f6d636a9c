#include "ExportText.h"

#include "LogDate.h"

#include <algorithm>

namespace exporttext {

namespace {
bool breaksLine(QChar c)
{
    switch (c.unicode()) {
    case u'\n': case u'\v': case u'\f': case u'\r': case 0x0085: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}
} // namespace

QString oneLine(const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), breaksLine))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!breaksLine(text[i])) {
            out += text[i];
            continue;
        }
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        out += u' ';
    }
    return out;
}

QString trimmed(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

QDate storedDate(const QString &text)
{
    thread_local QString lastText;
    thread_local QDate lastDate;
    if (text != lastText) {
        lastDate = logdate::fromText(text);
        lastText = text;
    }
    return lastDate;
}

int length(const QString &text)
{
    int n = 0;
    for (const QChar c : text)
        if (!c.isLowSurrogate())
            ++n;
    return n;
}

} // namespace exporttext
