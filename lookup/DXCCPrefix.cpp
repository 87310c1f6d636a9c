#include "DXCCPrefix.h"

#include "CallCheck.h"
#include "ErrorDisplay.h"
#include "Setting.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A grid column without a width of its own gets the width a new grid column has.
constexpr int kDefaultWidth = 64;

struct GridColumn {
    QString field;
    int width = kDefaultWidth; // relative: the columns share the grid's width in these proportions
    QString caption = {};      // the field name when empty
    bool hidden = false;
    bool multiLine = false;    // long text: the whole of it in the cell's tool tip
};

const QList<GridColumn> kUniqueCallColumns{
    {"Callsign", 70}, {"ARRLPrefix", 74}, {"Prefix", 59}, {"Country", 71},
    {.field = "id", .hidden = true}, {"Continent", 76}, {"CQZone", 70}, {"ITUZone", 73},
    {"Latitude", 57}, {"Longitude", 65}, {"DXCC", 66}, {"StartDate", 68}, {"EndDate", 76},
    {"QSL"},
};

const QList<GridColumn> kSubdivisionColumns{
    {"Prefix", 45}, {"ARRLPrefix", 75, "DXCC prefix"}, {"DXCC", 68, "DXCC (Adif)"},
    {"Continent", 62}, {"Country", 69, "Province"}, {"CQZone", 60}, {"ITUZone", 60},
    {"Latitude", 52}, {"Longitude", 65}, {"StartDate"}, {"EndDate"},
    {.field = "Comment", .hidden = true}, {.field = "PrefixList", .width = 112, .multiLine = true},
    {.field = "id", .hidden = true}, {"TimeDiff", 69},
};

const QList<GridColumn> kCountryColumns{
    {"ARRLPrefix", 73, "DXCC Prefix"}, {"Country", 83}, {"DXCC", 78}, {"Continent", 72},
    {"CQZone", 46}, {"ITUZone", 49}, {"Latitude", 70}, {"Longitude", 77}, {"StartDate", 71},
    {"EndDate"}, {.field = "PrefixList", .width = 97, .multiLine = true}, {"Status", 40},
    {.field = "id", .hidden = true}, {"TimeDiff", 69},
};

// One prefix table as loaded, read-only: nothing writes the tables back to their files.
class PrefixTableModel : public QAbstractTableModel {
public:
    PrefixTableModel(const adoxml::Recordset &rows, const QList<GridColumn> &columns, QObject *parent)
        : QAbstractTableModel(parent), rows_(rows), columns_(columns)
    {
        for (const GridColumn &c : columns_)
            sources_.append(rows_.columnIndex(c.field));
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(rows_.rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(columns_.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rows_.rows.size() || sources_[index.column()] < 0)
            return {};
        const bool tip = role == Qt::ToolTipRole && columns_[index.column()].multiLine;
        if (role != Qt::DisplayRole && !tip)
            return {};
        return rows_.text(index.row(), sources_[index.column()]);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        const GridColumn &c = columns_.at(section);
        return c.caption.isEmpty() ? c.field : c.caption;
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    const adoxml::Recordset &rows_;
    QList<GridColumn> columns_;
    QList<int> sources_; // column of each grid column in the recordset, -1 when absent
};

// A grid whose columns fill its width: on every resize they are scaled to it in the
// proportions they have, so the operator's own widths keep their share.
class FittedGrid : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QTableView::resizeEvent(event);
        fitColumns();
    }

private:
    void fitColumns()
    {
        QHeaderView *header = horizontalHeader();
        const int available = viewport()->width();
        qint64 total = 0;
        for (int i = 0; i < header->count(); ++i)
            if (!header->isSectionHidden(i))
                total += header->sectionSize(i);
        if (available <= 0 || total <= 0 || total == available)
            return;
        // Edges are placed on the running sum, so rounding never adds up to a gap.
        qint64 before = 0;
        int placed = 0;
        for (int visual = 0; visual < header->count(); ++visual) {
            const int logical = header->logicalIndex(visual);
            if (header->isSectionHidden(logical))
                continue;
            before += header->sectionSize(logical);
            const int edge = int(before * available / total);
            header->resizeSection(logical, edge - placed);
            placed = edge;
        }
    }
};

QTableView *makeGrid(QWidget *page, const QString &name, const adoxml::Recordset &rows,
                     const QList<GridColumn> &columns)
{
    auto *grid = new FittedGrid(page);
    grid->setObjectName(name);
    grid->setModel(new PrefixTableModel(rows, columns, grid));

    QFont cells(QStringLiteral("Courier New"));
    cells.setStyleHint(QFont::TypeWriter);
    cells.setPixelSize(13);
    grid->setFont(cells);
    QFont headings(QStringLiteral("MS Sans Serif"));
    headings.setStyleHint(QFont::SansSerif);
    headings.setPixelSize(11);
    QHeaderView *header = grid->horizontalHeader();
    header->setFont(headings);
    header->setSectionsMovable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(18);

    grid->setFrameShape(QFrame::NoFrame);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    for (int i = 0; i < columns.size(); ++i) {
        grid->setColumnWidth(i, columns[i].width);
        grid->setColumnHidden(i, columns[i].hidden);
    }

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    return grid;
}

} // namespace

TForm9::TForm9(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form9"), QStringLiteral("DXCC and Prefix List"), parent)
{
    resize(928, 477);
    FormCreate();
    buildWindow();
}

void TForm9::FormCreate()
{
    loadProblems_ = lookup_.load(QString());
    if (!loadProblems_.isEmpty()) {
        // Reported once, after start-up has finished creating the windows.
        const QString message = QStringLiteral("The country lookup works without some of its data:\n\n")
            + loadProblems_.join(QLatin1Char('\n'));
        QTimer::singleShot(0, this, [message] { errordisplay::show(message); });
    }
}

void TForm9::buildWindow()
{
    RzPageControl1 = new QTabWidget(this);
    RzPageControl1->setObjectName(QStringLiteral("RzPageControl1"));
    auto page = [this](const QString &name, const QString &caption) {
        auto *p = new QWidget;
        p->setObjectName(name);
        RzPageControl1->addTab(p, caption);
        return p;
    };
    TabSheet1 = page(QStringLiteral("TabSheet1"), QStringLiteral("Unique Calllist"));
    TabSheet2 = page(QStringLiteral("TabSheet2"), QStringLiteral("Administrative Subdivision"));
    TabSheet3 = page(QStringLiteral("TabSheet3"), QStringLiteral("Country"));
    UniqueCallsGrid = makeGrid(TabSheet1, QStringLiteral("UniqueCallsGrid"),
                               lookup_.table(PrefixTable::UniqueCall), kUniqueCallColumns);
    AdministrativeGrid = makeGrid(TabSheet2, QStringLiteral("AdministrativeGrid"),
                                  lookup_.table(PrefixTable::Subdivision), kSubdivisionColumns);
    CountryGrid = makeGrid(TabSheet3, QStringLiteral("CountryGrid"), lookup_.table(PrefixTable::Country),
                           kCountryColumns);
    RzPageControl1->setCurrentWidget(TabSheet3);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RzPageControl1);

    connect(CountryGrid, &QAbstractItemView::doubleClicked, this,
            errordisplay::guarded(this, &TForm9::CountryGridDblClick));
}

QTableView *TForm9::gridOf(PrefixTable table) const
{
    switch (table) {
    case PrefixTable::Country:
        return CountryGrid;
    case PrefixTable::Subdivision:
        return AdministrativeGrid;
    case PrefixTable::UniqueCall:
        return UniqueCallsGrid;
    }
    return nullptr;
}

bool TForm9::ValidCall(const QString &call, QString &baseCall) const
{
    return ::ValidCall(call, baseCall);
}

void TForm9::FindCountry(const QString &call, QString &dxccPrefix, QString &country, QString &cqZone,
                         QString &ituZone, QString &continent, QString &prefix)
{
    lookup_.FindCountry(call, dxccPrefix, country, cqZone, ituZone, continent, prefix);
    followLookupCursors();
}

void TForm9::followLookupCursors()
{
    // The lookup runs on every keystroke of the heard call; hidden grids are left alone.
    cursorsMoved_ = true;
    if (!isVisible())
        return;
    cursorsMoved_ = false;
    for (PrefixTable table : kPrefixTables) {
        QTableView *grid = gridOf(table);
        const int row = lookup_.cursor(table);
        if (row < 0 || row >= grid->model()->rowCount())
            continue;
        // The column stays, so a grid scrolled sideways is not thrown back to its left edge.
        const QModelIndex index = grid->model()->index(row, std::max(grid->currentIndex().column(), 0));
        grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        grid->scrollTo(index);
    }
}

void TForm9::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    if (cursorsMoved_)
        followLookupCursors();
}

void TForm9::showCountryTab()
{
    RzPageControl1->setCurrentWidget(TabSheet3);
    show();
    raise();
    activateWindow();
}

void TForm9::CountryGridDblClick()
{
    const int row = CountryGrid->currentIndex().row();
    TForm7 *settings = forms.Form7;
    // The operator's own contest data are set once; a filled "CQ Zone" is kept.
    if (row >= 0 && settings->Edit7->text().isEmpty()) {
        settings->Edit6->setText(lookup_.value(PrefixTable::Country, row, QStringLiteral("ARRLPrefix")));
        settings->Edit7->setText(lookup_.value(PrefixTable::Country, row, QStringLiteral("CQZone")));
        settings->Edit8->setText(lookup_.value(PrefixTable::Country, row, QStringLiteral("ITUZone")));
        settings->Edit9->setText(lookup_.value(PrefixTable::Country, row, QStringLiteral("Continent")));
    }
    hide();
}
