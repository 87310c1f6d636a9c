#include "RxText.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <iterator>

namespace {

// Windows-1251, bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F in order, and 0x98 is
// not assigned.
constexpr char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};
constexpr char16_t kCyrillicA = 0x0410;

QChar fromCp1251(char16_t byte)
{
    if (byte < 0x80)
        return QChar(byte);
    if (byte < 0xC0)
        return QChar(kCp1251High[byte - 0x80]);
    return QChar(char16_t(kCyrillicA + (byte - 0xC0)));
}

bool inCp1251(char16_t c)
{
    return c < 0x80 || (c >= kCyrillicA && c < kCyrillicA + 64)
        || std::find(std::begin(kCp1251High), std::end(kCp1251High), c) != std::end(kCp1251High);
}

// Blanks and control characters, and the line ends of a selection in a text box.
bool isTrimmed(QChar c)
{
    return c.unicode() <= 0x20 || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

QString trimmed(const QString &s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && isTrimmed(s[first]))
        ++first;
    while (last > first && isTrimmed(s[last - 1]))
        --last;
    return s.mid(first, last - first);
}

bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace

bool RxText::receive(int channel, const QString &strChar)
{
    if (channel != 0 || strChar == QLatin1String("\n"))
        return false;
    if (strChar == QLatin1String("\b")) {
        DeleteRxChar();
        return false;
    }
    AddRxText(singleByte(strChar));
    return true;
}

void RxText::AddRxText(const QString &s)
{
    QTextCursor end(&document_);
    end.movePosition(QTextCursor::End);
    if (s == QLatin1String("\r"))
        end.insertBlock();
    else
        end.insertText(s);
}

void RxText::DeleteRxChar()
{
    QTextCursor last(&document_);
    last.movePosition(QTextCursor::End);
    if (last.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor))
        last.removeSelectedText();
}

QString RxText::singleByte(const QString &wide)
{
    QString shown;
    shown.reserve(wide.size());
    for (QChar c : wide) {
        const char16_t code = c.unicode();
        shown += code < 0x100 ? fromCp1251(code) : (inCp1251(code) ? c : QChar(u'?'));
    }
    return shown;
}

bool RxText::isWordChar(QChar c)
{
    return c == u'/' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

QString RxText::wordOf(const QString &selection)
{
    const QString s = trimmed(selection);
    if (s.isEmpty())
        return {};
    // Walks back from the last character over the word characters before it, then forward
    // over the word characters after the start: a trailing comma or full stop is left out,
    // and of several words the last one is taken.
    qsizetype first = s.size() - 1;
    while (first > 0 && isWordChar(s[first - 1]))
        --first;
    qsizetype last = first;
    while (last + 1 < s.size() && isWordChar(s[last + 1]))
        ++last;
    return trimmed(s.mid(first, last - first + 1));
}

std::pair<qsizetype, qsizetype> RxText::selectionAt(const QString &line, qsizetype pos)
{
    pos = std::clamp<qsizetype>(pos, 0, line.size());
    qsizetype first = pos;
    while (first > 0 && !isBlank(line[first - 1]))
        --first;
    qsizetype last = pos;
    while (last < line.size() && !isBlank(line[last]))
        ++last;
    while (last < line.size() && isBlank(line[last]))
        ++last;
    return {first, last};
}
