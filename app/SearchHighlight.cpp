#include "SearchHighlight.h"

#include "QsoColumns.h"
#include "QsoRecord.h"

namespace searchhighlight {

QColor colourFor(const QString &fieldName, const QString &cellText, const QString &heard, const QString &worked)
{
    if (heard.isEmpty() && worked.isEmpty())
        return {};
    const QString cell = cellText.trimmed();
    const bool call1 = fieldName == QLatin1String("call1");
    const bool call2 = fieldName == QLatin1String("call2");
    QColor colour;
    if (call1 && cell == heard)
        colour = Qt::red;
    if (call2 && cell == heard)
        colour = Qt::blue;
    if ((call1 || call2) && cell == worked)
        colour = Qt::blue;
    return colour;
}

} // namespace searchhighlight

SearchHighlightDelegate::SearchHighlightDelegate(EntryTexts entryTexts, QObject *parent)
    : QStyledItemDelegate(parent), entryTexts_(std::move(entryTexts))
{
}

void SearchHighlightDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const auto [heard, worked] = entryTexts_();
    const QString field = QsoRecord::fieldNames().value(qsocolumns::grid().value(index.column()).field);
    const QColor colour = searchhighlight::colourFor(field, index.data().toString(), heard, worked);
    if (!colour.isValid())
        return;
    option->font.setBold(true);
    option->palette.setColor(QPalette::Text, colour);
    option->palette.setColor(QPalette::HighlightedText, colour);
}
