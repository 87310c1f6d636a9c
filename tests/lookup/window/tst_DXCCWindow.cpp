// The DXCC window on the generated tables: its tabs and grids, the double-click that fills
// the settings window's contest fields, the tab it shows, and the grids following the lookup.
#include "AppFixture.h"
#include "DXCCPrefix.h"
#include "Log.h"
#include "Setting.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

QStringList headers(const QTableView *grid)
{
    QStringList out;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        out << grid->model()->headerData(i, Qt::Horizontal).toString();
    return out;
}

int visibleWidth(const QTableView *grid)
{
    int total = 0;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        if (!grid->isColumnHidden(i))
            total += grid->columnWidth(i);
    return total;
}

void doubleClickRow(QTableView *grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 1);
    grid->scrollTo(index);
    const QPoint at = grid->visualRect(index).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class DXCCWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> fx;
    Forms *forms = nullptr;
    TForm9 *w = nullptr;

    void showWindow()
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    QStringList contestFields() const
    {
        const TForm7 *s = forms->Form7;
        return {s->Edit6->text(), s->Edit7->text(), s->Edit8->text(), s->Edit9->text()};
    }

    void setContestFields(const QStringList &values)
    {
        TForm7 *s = forms->Form7;
        QLineEdit *const edits[] = {s->Edit6, s->Edit7, s->Edit8, s->Edit9};
        for (int i = 0; i < 4; ++i)
            edits[i]->setText(values[i]);
    }

    int countryRow(const QString &dxccPrefix) const
    {
        const adoxml::Recordset &t = w->lookup().table(PrefixTable::Country);
        for (int r = 0; r < t.rows.size(); ++r)
            if (w->lookup().value(PrefixTable::Country, r, "ARRLPrefix") == dxccPrefix)
                return r;
        return -1;
    }

    QTableView *grid(const QString &name) const { return w->findChild<QTableView *>(name); }

private slots:
    void init()
    {
        fx = std::make_unique<AppFixture>();
        forms = &fx->start();
        w = forms->Form9;
        QVERIFY(w->loadProblems().isEmpty());
    }
    void cleanup()
    {
        fx.reset();
        forms = nullptr;
        w = nullptr;
    }

    void tabsInOrderWithCountryFirstShown()
    {
        QCOMPARE(w->windowTitle(), QString("DXCC and Prefix List"));
        QCOMPARE(w->size(), QSize(928, 477));
        QCOMPARE(w->RzPageControl1->count(), 3);
        const QList<QPair<QWidget *, QTableView *>> pages{
            {w->TabSheet1, w->UniqueCallsGrid}, {w->TabSheet2, w->AdministrativeGrid}, {w->TabSheet3, w->CountryGrid}};
        const QStringList captions{"Unique Calllist", "Administrative Subdivision", "Country"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(w->RzPageControl1->widget(i), pages[i].first);
            QCOMPARE(w->RzPageControl1->tabText(i), captions[i]);
            QCOMPARE(pages[i].second->parentWidget(), pages[i].first);
        }
        forms->Form1->DXCCandPrefixList1->trigger();
        QVERIFY(w->isVisible());
        QCOMPARE(w->RzPageControl1->currentWidget(), w->TabSheet3);
    }

    void columns_data()
    {
        QTest::addColumn<QString>("gridName");
        QTest::addColumn<int>("table");
        QTest::addColumn<QStringList>("fieldsShown"); // grid order, hidden ones included
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<QStringList>("hidden");
        QTest::newRow("unique calls") << "UniqueCallsGrid" << int(PrefixTable::UniqueCall)
            << QStringList{"Callsign", "ARRLPrefix", "Prefix", "Country", "id", "Continent", "CQZone", "ITUZone",
                           "Latitude", "Longitude", "DXCC", "StartDate", "EndDate", "QSL"}
            << QStringList{"Callsign", "ARRLPrefix", "Prefix", "Country", "id", "Continent", "CQZone", "ITUZone",
                           "Latitude", "Longitude", "DXCC", "StartDate", "EndDate", "QSL"}
            << QStringList{"id"};
        QTest::newRow("subdivisions") << "AdministrativeGrid" << int(PrefixTable::Subdivision)
            << QStringList{"Prefix", "ARRLPrefix", "DXCC", "Continent", "Country", "CQZone", "ITUZone", "Latitude",
                           "Longitude", "StartDate", "EndDate", "Comment", "PrefixList", "id", "TimeDiff"}
            << QStringList{"Prefix", "DXCC prefix", "DXCC (Adif)", "Continent", "Province", "CQZone", "ITUZone",
                           "Latitude", "Longitude", "StartDate", "EndDate", "Comment", "PrefixList", "id", "TimeDiff"}
            << QStringList{"Comment", "id"};
        QTest::newRow("countries") << "CountryGrid" << int(PrefixTable::Country)
            << QStringList{"ARRLPrefix", "Country", "DXCC", "Continent", "CQZone", "ITUZone", "Latitude", "Longitude",
                           "StartDate", "EndDate", "PrefixList", "Status", "id", "TimeDiff"}
            << QStringList{"DXCC Prefix", "Country", "DXCC", "Continent", "CQZone", "ITUZone", "Latitude",
                           "Longitude", "StartDate", "EndDate", "PrefixList", "Status", "id", "TimeDiff"}
            << QStringList{"id"};
    }
    void columns()
    {
        QFETCH(QString, gridName);
        QFETCH(int, table);
        QFETCH(QStringList, fieldsShown);
        QFETCH(QStringList, headings);
        QFETCH(QStringList, hidden);
        QTableView *g = grid(gridName);
        QVERIFY(g);
        QCOMPARE(headers(g), headings);
        const auto t = PrefixTable(table);
        const int rows = int(w->lookup().table(t).rows.size());
        QCOMPARE(g->model()->rowCount(), rows);
        for (int c = 0; c < fieldsShown.size(); ++c) {
            QCOMPARE(g->isColumnHidden(c), hidden.contains(fieldsShown[c]));
            for (int r : {0, rows / 2, rows - 1})
                QCOMPARE(g->model()->index(r, c).data().toString(), w->lookup().value(t, r, fieldsShown[c]));
        }
    }

    void gridsAreReadOnlyRowGridsInFixedFonts()
    {
        for (QTableView *g : {w->UniqueCallsGrid, w->AdministrativeGrid, w->CountryGrid}) {
            QVERIFY(!(g->model()->flags(g->model()->index(0, 0)) & Qt::ItemIsEditable));
            QCOMPARE(g->editTriggers(), QAbstractItemView::NoEditTriggers);
            QCOMPARE(g->selectionBehavior(), QAbstractItemView::SelectRows);
            QVERIFY(g->horizontalHeader()->sectionsMovable());
            QCOMPARE(g->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
            QCOMPARE(g->font().family(), QString("Courier New"));
            QCOMPARE(g->font().pixelSize(), 13);
            QCOMPARE(g->horizontalHeader()->font().pixelSize(), 11);
        }
    }

    void columnsFillTheWidth()
    {
        showWindow();
        QTableView *g = w->CountryGrid;
        QCOMPARE(visibleWidth(g), g->viewport()->width());
        // Relative widths: "Country" (83) is wider than "CQZone" (46).
        QVERIFY(g->columnWidth(1) > g->columnWidth(4));

        // The operator widens a column; a narrower window keeps it wider than before.
        const int share = g->columnWidth(1) * 1000 / visibleWidth(g);
        g->horizontalHeader()->resizeSection(1, g->columnWidth(1) * 3);
        w->resize(640, 400);
        QTRY_COMPARE(visibleWidth(g), g->viewport()->width());
        QVERIFY(g->columnWidth(1) * 1000 / visibleWidth(g) > share);

        w->RzPageControl1->setCurrentWidget(w->TabSheet1);
        QTRY_COMPARE(visibleWidth(w->UniqueCallsGrid), w->UniqueCallsGrid->viewport()->width());
    }

    void doubleClickOnACountry_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        // The generated tables follow Big CTY: Germany is in CQ zone 14, ITU zone 28, Europe.
        QTest::newRow("CQ Zone empty") << QStringList{"UA", "", "29", "EU"} << QStringList{"DL", "14", "28", "EU"};
        QTest::newRow("CQ Zone filled") << QStringList{"UA", "16", "", ""} << QStringList{"UA", "16", "", ""};
    }
    void doubleClickOnACountry()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        setContestFields(before);
        w->showCountryTab();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const int row = countryRow("DL");
        QVERIFY(row >= 0);
        doubleClickRow(w->CountryGrid, row);
        QCOMPARE(w->CountryGrid->currentIndex().row(), row);
        QCOMPARE(contestFields(), after);
        QVERIFY(!w->isVisible());
        // Copied only into the window's fields: nothing is saved before its "OK".
        QVERIFY(!QFile::exists(fx->file("Options.ini")));
    }

    void doubleClickElsewhereDoesNothing_data()
    {
        QTest::addColumn<QString>("gridName");
        QTest::newRow("unique calls") << "UniqueCallsGrid";
        QTest::newRow("subdivisions") << "AdministrativeGrid";
    }
    void doubleClickElsewhereDoesNothing()
    {
        QFETCH(QString, gridName);
        const QStringList before{"", "", "", ""};
        setContestFields(before);
        showWindow();
        QTableView *g = grid(gridName);
        w->RzPageControl1->setCurrentWidget(g->parentWidget());
        doubleClickRow(g, 0);
        QVERIFY(w->isVisible());
        QCOMPARE(contestFields(), before);
    }

    void theMenuKeepsTheTabTheButtonShowsCountry()
    {
        QAction *menu = forms->Form1->DXCCandPrefixList1;
        menu->trigger();
        w->RzPageControl1->setCurrentWidget(w->TabSheet1);
        w->close();
        QVERIFY(!w->isVisible());

        menu->trigger();
        QVERIFY(w->isVisible());
        QCOMPARE(w->RzPageControl1->currentWidget(), w->TabSheet1);
        w->close();

        w->showCountryTab();
        QVERIFY(w->isVisible());
        QCOMPARE(w->RzPageControl1->currentWidget(), w->TabSheet3);
    }

    void gridsFollowTheLookup()
    {
        showWindow();
        TForm1 *f = forms->Form1;
        f->Edit1->setText("DL1ABC");
        QCOMPARE(w->lookup().value(PrefixTable::Country, w->CountryGrid->currentIndex().row(), "ARRLPrefix"),
                 QString("DL"));
        for (PrefixTable t : kPrefixTables) {
            const QTableView *g = t == PrefixTable::Country ? w->CountryGrid
                : t == PrefixTable::Subdivision             ? w->AdministrativeGrid
                                                            : w->UniqueCallsGrid;
            QCOMPARE(g->currentIndex().row(), w->lookup().cursor(t));
            QVERIFY(g->selectionModel()->isRowSelected(g->currentIndex().row(), {}));
        }

        // Hidden, the grids stay; shown again, they catch up with the lookups made meanwhile.
        w->close();
        const int germany = w->CountryGrid->currentIndex().row();
        f->Edit1->setText("F5ABC");
        QCOMPARE(w->CountryGrid->currentIndex().row(), germany);
        showWindow();
        QCOMPARE(w->CountryGrid->currentIndex().row(), w->lookup().cursor(PrefixTable::Country));
        QCOMPARE(w->lookup().value(PrefixTable::Country, w->CountryGrid->currentIndex().row(), "ARRLPrefix"),
                 QString("F"));
    }
};

QTEST_MAIN(DXCCWindowTest)
#include "tst_DXCCWindow.moc"
