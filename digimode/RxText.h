// The received-text box's rules, apart from its widget: what each decoded character does to
// the text, and which word the selection of a double-click yields for the log.
#pragma once

#include <QString>

#include <utility>

class QTextDocument;

class RxText {
public:
    // The box's text. The decoder's CR LF line end is one block break of the document, so
    // erasing a line end takes the pair at once.
    explicit RxText(QTextDocument &document) : document_(document) {}

    // One decoded character of a channel (OnRxChar): only channel 0 is shown, LF is dropped
    // (CR already made the line end), backspace erases. True when text was added.
    bool receive(int channel, const QString &strChar);

    // Adds s at the end of the text, wherever the operator's caret is; a lone CR is a line end.
    void AddRxText(const QString &s);
    // Erases the last character, a line end as a whole; an empty text stays empty.
    void DeleteRxChar();

    // The decoder's characters are bytes; 128 to 255 are shown as the Windows-1251 code page
    // has them, as the box of a Russian system shows them. A wide character outside that code
    // page becomes "?".
    static QString singleByte(const QString &wide);

    // "/", digits and the Latin letters: what callsigns, numbers and reports are made of.
    static bool isWordChar(QChar c);
    // The word a selection yields: trimmed, then the run of word characters that the last
    // character belongs to or follows ("UA1ABC," gives "UA1ABC", "A,B" gives "B").
    static QString wordOf(const QString &selection);
    // A single character is more likely a stray click than a word for the log.
    static bool isPickable(const QString &word) { return word.size() >= 2; }

    // What a double-click at position pos of a line selects, as [first, last): the run of
    // non-blank characters there with the blanks behind it, as a Windows edit box does, so
    // that a portable call "UA1ABC/P" is selected whole.
    static std::pair<qsizetype, qsizetype> selectionAt(const QString &line, qsizetype pos);

private:
    QTextDocument &document_;
};
