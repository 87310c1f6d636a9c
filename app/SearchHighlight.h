// The highlight of the search grid: the heard call's own cells bold red, every other cell
// holding the heard or the worked call bold blue. Drawn from the entry fields as they are
// when the cell is painted, whichever search filled the grid.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <functional>

namespace searchhighlight {

// The colour of a cell's text, or an invalid colour for a cell drawn normally. fieldName
// is the cell's column ("call1", "call2", ...); the cell text is compared trimmed, the
// entry texts exactly. The later of the tests wins: a call1 cell equal to both calls is blue.
QColor colourFor(const QString &fieldName, const QString &cellText, const QString &heard, const QString &worked);

} // namespace searchhighlight

class SearchHighlightDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using EntryTexts = std::function<QPair<QString, QString>()>;   // heard, worked
    SearchHighlightDelegate(EntryTexts entryTexts, QObject *parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    EntryTexts entryTexts_;
};
