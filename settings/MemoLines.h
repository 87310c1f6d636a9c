// The lines of a multi-line box as the operator sees them: a line that the box wraps counts
// as two, as it does in the Cabrillo header.
#pragma once

#include <QStringList>

class QPlainTextEdit;

namespace memolines {

// Lays out what has not been laid out yet at the box's present width.
QStringList shownLines(QPlainTextEdit *box);
// Puts one line into the box for each text, empty ones included.
void setLines(QPlainTextEdit *box, const QStringList &lines);

} // namespace memolines
