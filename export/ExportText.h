// Stored texts made fit for a line-based export file.
#pragma once

#include <QDate>
#include <QString>

namespace exporttext {

// Every line break inside the text (CR LF, CR, LF, vertical tab, form feed, the Unicode line
// and paragraph separators) becomes one blank, so a value never splits its line in the file.
QString oneLine(const QString &text);
// Without the blanks and control characters at either end; blanks inside stay.
QString trimmed(const QString &text);
// The stored date read as the log writes it (logdate::fromText); invalid when it is none. The
// last text read is remembered: a contest log's contacts share a few dates, and reading the
// system's date format is the dearest step of an export.
QDate storedDate(const QString &text);
// Characters as a reader of the file counts them: a pair of surrogates is one.
int length(const QString &text);

} // namespace exporttext
