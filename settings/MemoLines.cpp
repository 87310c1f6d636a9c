#include "MemoLines.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

namespace memolines {

QStringList shownLines(QPlainTextEdit *box)
{
    QTextDocument *document = box->document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    QStringList lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // The plain-text layout lays a block out on demand; asking for its rectangle does it.
        layout->blockBoundingRect(block);
        const QTextLayout *text = block.layout();
        if (!text || text->lineCount() == 0) {
            lines << block.text();
            continue;
        }
        for (int i = 0; i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            lines << block.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

void setLines(QPlainTextEdit *box, const QStringList &lines)
{
    box->setPlainText(lines.join(QLatin1Char('\n')));
}

} // namespace memolines
