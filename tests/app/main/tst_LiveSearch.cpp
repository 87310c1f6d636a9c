// The duplicate search and country display while a callsign is typed, on a small log.
#include "AppFixture.h"
#include "Log.h"
#include "QsoStore.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
const QColor kPink(248, 121, 164);
const QColor kLightGreen(130, 253, 157);

QColor background(const QLineEdit *e)
{
    return e->palette().color(QPalette::Base);
}
} // namespace

class LiveSearchTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> fx;
    TForm1 *f = nullptr;
    QColor normal;

private slots:
    void init()
    {
        fx = std::make_unique<AppFixture>();
        {
            QsoStore store(fx->file(QsoStore::defaultFileName()));
            auto add = [&](const QString &c1, const QString &c2, const QString &band, const QString &mode) {
                QsoRecord r;
                r.call1 = c1;
                r.call2 = c2;
                r.QSOBand = band;
                r.mode = mode;
                r.nr1 = "1";
                store.append(r);
            };
            add("UA1AAA", "UA2BBB", "14", "CW");
            add("UA3CCC", "DL1ZZZ", "7", "SSB");
        }
        f = fx->start().Form1;
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        normal = QApplication::palette(f->Edit1).color(QPalette::Base);
    }
    void cleanup() { fx.reset(); }

    void heardCall_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("pink");
        QTest::addColumn<int>("count");
        QTest::newRow("call1 on this band and mode") << "ua1aaa" << true << 1;
        QTest::newRow("call1 only on another band") << "UA3CCC" << false << 0;
        QTest::newRow("call2 on any band") << "DL1ZZZ" << true << 1;
        QTest::newRow("partial call") << "UA1AA" << false << 0;
        QTest::newRow("a quote is searched literally") << "UA1'A" << false << 0;
    }
    void heardCall()
    {
        QFETCH(QString, typed);
        QFETCH(bool, pink);
        QFETCH(int, count);
        QTest::keyClicks(f->Edit1, typed);
        QCOMPARE(background(f->Edit1), pink ? kPink : normal);
        QCOMPARE(f->StatusPanel[2]->text(), QString("Heard %1").arg(count));
        QCOMPARE(f->DBGridEh2->model()->rowCount(), count);
    }

    void workedCallOnAnotherBand()
    {
        QTest::keyClicks(f->Edit2, "DL1ZZZ");
        QCOMPARE(background(f->Edit2), kLightGreen);
        QCOMPARE(f->StatusPanel[3]->text(), QString("Worked 1"));
        f->Edit2->setText("DL1ZZ");
        QCOMPARE(background(f->Edit2), normal);
    }

    void bandChangeKeepsTheOldResult()
    {
        QTest::keyClicks(f->Edit1, "UA1AAA");
        f->btn40->click();
        QCOMPARE(background(f->Edit1), kPink);
        QCOMPARE(f->StatusPanel[2]->text(), QString("Heard 1"));
        QTest::keyClick(f->Edit1, Qt::Key_Backspace);
        QTest::keyClicks(f->Edit1, "A");
        QCOMPARE(background(f->Edit1), normal);
        QCOMPARE(f->StatusPanel[2]->text(), QString("Heard 0"));
    }

    void countryDataFollowsTheCall()
    {
        QTest::keyClicks(f->Edit1, "UA9ABC");
        QCOMPARE(f->mDXCC->text(), QString("UA9"));
        // The subdivision's name stands for the country.
        QCOMPARE(f->mCountry->text(), QString("Chelyabinsk Oblast"));
        QCOMPARE(f->mPrefix->text(), QString("UA9A"));
        QVERIFY(!f->mCQ->text().isEmpty());
        QCOMPARE(f->mDXCC->palette().color(QPalette::WindowText), QColor(Qt::blue));
        f->Edit1->setText("DL/UA1XYZ");
        QCOMPARE(f->mDXCC->text(), QString("DL"));
        f->Edit3->setText("55");
        f->Edit1->clear();
        for (QLabel *l : {f->mDXCC, f->mCountry, f->mCQ, f->mITU, f->mContinent, f->mPrefix})
            QVERIFY(l->text().isEmpty());
        QCOMPARE(background(f->Edit1), normal);
        QCOMPARE(f->Edit3->text(), QString("55"));
    }

    void oblastFill()
    {
        f->Edit3->setText("12");
        f->Edit1->setText("UA1AAB");
        QCOMPARE(f->Edit3->text(), QString("12"));   // off until the menu turns it on
        f->RDRC2->trigger();
        QVERIFY(f->RDRC2->isChecked());
        f->Edit1->setText("UA1ABC");
        QCOMPARE(f->mPrefix->text(), QString("UA1A"));
        QCOMPARE(f->Edit3->text(), QString("SP"));
        f->Edit3->setText("599");
        f->Edit1->setText("DL1ABC");
        QCOMPARE(f->Edit3->text(), QString("599"));
    }

    void savedAndClearedFieldsRunTheSearch()
    {
        QTest::keyClicks(f->Edit1, "UA1AAA");
        QCOMPARE(f->StatusPanel[2]->text(), QString("Heard 1"));
        f->Button2->click();
        QCOMPARE(f->StatusPanel[2]->text(), QString("Heard 0"));
        QVERIFY(f->mDXCC->text().isEmpty());
    }

    void highlightPaintsTheHeardCallRed()
    {
        QTest::keyClicks(f->Edit1, "UA1AAA");
        QAbstractItemModel *model = f->DBGridEh2->model();
        const QModelIndex call1 = model->index(0, 3);
        QCOMPARE(call1.data().toString(), QString("UA1AAA"));
        QStyleOptionViewItem option;
        option.initFrom(f->DBGridEh2);
        option.rect = QRect(0, 0, 120, 20);
        QImage image(120, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            f->DBGridEh2->itemDelegate()->paint(&painter, option, call1);
        }
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        QVERIFY2(red > 10, "no red text painted");
    }
};

QTEST_MAIN(LiveSearchTest)
#include "tst_LiveSearch.moc"
