#include "Log.h"

#include "ErrorDisplay.h"
#include "KeyboardLatin.h"
#include "ProgramFolder.h"
#include "QsoSearchModel.h"
#include "QsoStore.h"
#include "QsoTableModel.h"
#include "ReportList.h"
#include "Statements.h"
#include "WindowFonts.h"
#include "WindowPlacement.h"
#include "LogDate.h"
#include "LookupCall.h"
#include "OblastFill.h"
#include "SearchHighlight.h"

#include "ADIF.h"
#include "Cabrillo.h"
#include "DXCCPrefix.h"
#include "Edit.h"
#include "Info.h"
#include "MMVARI.h"
#include "Setting.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTableView>
#include <QTextStream>
#include <QTimer>

using errordisplay::guarded;

namespace {

const QColor kNavy(0, 0, 128);
const QColor kPink(248, 121, 164);
const QColor kLightGreen(130, 253, 157);

QTableView *makeGrid(QWidget *parent, const QString &name, const QList<int> &widths)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->setFixedWidth(12);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->setProperty("columnWidths", QVariant::fromValue(widths));
    return grid;
}

void applyColumnWidths(QTableView *grid)
{
    const QList<int> widths = grid->property("columnWidths").value<QList<int>>();
    for (int i = 0; i < widths.size(); ++i)
        grid->setColumnWidth(i, widths[i]);
}

void setBackground(QLineEdit *edit, const QColor &colour)
{
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, colour.isValid() ? colour : QApplication::palette(edit).color(QPalette::Base));
    edit->setPalette(p);
}

QLabel *addLabel(QWidget *parent, const QString &text, int x, int y, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

TForm1::TForm1(Forms &forms, QWidget *parent) : QMainWindow(parent), forms(forms)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ORVO Contest Logger v1.1"));
    // The log opens while the window is built, before the creation work.
    store_ = new QsoStore(QsoStore::defaultFileName(), this);
    buildWindow();
    buildMenus();
    FormCreate();
    windowplacement::restore(this);
}

TForm1::~TForm1() = default;

void TForm1::buildWindow()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);

    DBGridEh1 = makeGrid(client, QStringLiteral("DBGridEh1"), {66, 39, 34, 80, 56, 31, 46, 73, 32, 46});
    DBGridEh1->setGeometry(8, 0, 537, 153);
    DBGridEh1->setModel(&store_->table());
    DBGridEh1->setSelectionModel(&store_->cursor());
    DBGridEh1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridEh1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGridEh1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGridEh1->setContextMenuPolicy(Qt::CustomContextMenu);
    applyColumnWidths(DBGridEh1);

    DBGridEh2 = makeGrid(client, QStringLiteral("DBGridEh2"), {67, 38, 34, 80, 56, 31, 47, 73, 32, 46});
    DBGridEh2->setGeometry(8, 160, 537, 81);
    DBGridEh2->setModel(&store_->search());
    DBGridEh2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBGridEh2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGridEh2->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    DBGridEh2->setItemDelegate(new SearchHighlightDelegate(
        [this] { return qMakePair(Edit1->text(), Edit2->text()); }, DBGridEh2));
    applyColumnWidths(DBGridEh2);
    connect(&store_->search(), &QsoSearchModel::editFailed, this,
            [](const QString &message) { errordisplay::show(message); });

    const QFont dataFont = boldFont(QStringLiteral("Courier New"), 13, QFont::Monospace);
    auto valueLabel = [&](const QString &name, int x, int y) {
        QLabel *l = addLabel(client, QString(), x, y, dataFont);
        l->setObjectName(name);
        l->resize(90, 18);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        l->setPalette(p);
        return l;
    };
    addLabel(client, QStringLiteral("DXCC:"), 8, 248, dataFont);
    mDXCC = valueLabel(QStringLiteral("mDXCC"), 56, 248);
    addLabel(client, QStringLiteral("CQ:"), 128, 248, dataFont);
    mCQ = valueLabel(QStringLiteral("mCQ"), 160, 248);
    addLabel(client, QStringLiteral("ITU:"), 200, 248, dataFont);
    mITU = valueLabel(QStringLiteral("mITU"), 240, 248);
    addLabel(client, QStringLiteral("Continent:"), 280, 248, dataFont);
    mContinent = valueLabel(QStringLiteral("mContinent"), 368, 248);
    addLabel(client, QStringLiteral("Prefix:"), 408, 248, dataFont);
    mPrefix = valueLabel(QStringLiteral("mPrefix"), 472, 248);
    addLabel(client, QStringLiteral("Country:"), 8, 272, dataFont);
    mCountry = valueLabel(QStringLiteral("mCountry"), 80, 272);
    mCountry->resize(465, 18);

    const QFont clockFont = boldFont(QStringLiteral("Arial"), 20, QFont::SansSerif);
    auto group = [&](const QString &title, int x, int y, int w, int h) {
        auto *g = new QGroupBox(title, client);
        g->setGeometry(x, y, w, h);
        return g;
    };
    QGroupBox *timeGroup = group(QStringLiteral("Time"), 8, 296, 113, 49);
    lbTime = addLabel(timeGroup, QStringLiteral("00:00:00"), 8, 18, clockFont);
    lbTime->setObjectName(QStringLiteral("lbTime"));
    QGroupBox *dateGroup = group(QStringLiteral("Date"), 128, 296, 145, 49);
    lbDate = addLabel(dateGroup, QStringLiteral("01.01.2000"), 8, 18, clockFont);
    lbDate->setObjectName(QStringLiteral("lbDate"));

    QGroupBox *bandGroup = group(QStringLiteral("Band"), 280, 296, 217, 49);
    lbBand = addLabel(bandGroup, QStringLiteral("14"), 8, 18, clockFont);
    lbBand->setObjectName(QStringLiteral("lbBand"));
    lbBand->resize(52, 24);
    auto *divider = new QFrame(bandGroup);
    divider->setFrameShape(QFrame::VLine);
    divider->setGeometry(62, 14, 4, 32);
    auto bandButton = [&](const QString &name, const QString &caption, int x, int y) {
        auto *b = new QPushButton(caption, bandGroup);
        b->setObjectName(name);
        b->setGeometry(x, y, 40, 16);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    btn160 = bandButton(QStringLiteral("btn160"), QStringLiteral("1.8"), 70, 14);
    btn80 = bandButton(QStringLiteral("btn80"), QStringLiteral("3.5"), 118, 14);
    btn40 = bandButton(QStringLiteral("btn40"), QStringLiteral("7"), 166, 14);
    btn20 = bandButton(QStringLiteral("btn20"), QStringLiteral("14"), 70, 31);
    btn15 = bandButton(QStringLiteral("btn15"), QStringLiteral("21"), 118, 31);
    btn10 = bandButton(QStringLiteral("btn10"), QStringLiteral("28"), 166, 31);

    ModeGroup = group(QStringLiteral("Mode"), 56, 352, 145, 113);
    lbMode = addLabel(ModeGroup, QStringLiteral("CW"), 8, 18, clockFont);
    lbMode->setObjectName(QStringLiteral("lbMode"));
    lbMode->resize(129, 24);
    auto modeButton = [&](const QString &name, const QString &caption, int x, int y) {
        auto *b = new QPushButton(caption, ModeGroup);
        b->setObjectName(name);
        b->setGeometry(x, y, 41, 25);
        return b;
    };
    btnSSB = modeButton(QStringLiteral("btnSSB"), QStringLiteral("SSB"), 8, 72);
    btnCW = modeButton(QStringLiteral("btnCW"), QStringLiteral("CW"), 52, 72);
    btnDIGI = modeButton(QStringLiteral("btnDIGI"), QStringLiteral("DIGI"), 96, 72);

    const QFont entryFont = boldFont(QStringLiteral("Times New Roman"), 18, QFont::Serif);
    const QFont headingFont = boldFont(QStringLiteral("Arial"), 11, QFont::SansSerif);
    auto entryGroup = [&](const QString &title, int y, const QString &numberHeading, QLineEdit *&call,
                          QComboBox *&report, QLineEdit *&number, const QString &callName,
                          const QString &reportName, const QString &numberName) {
        QGroupBox *g = group(title, 256, y, 289, 65);
        addLabel(g, QStringLiteral("RS(T)"), 140, 14, headingFont);
        addLabel(g, numberHeading, 208, 14, headingFont);
        call = new QLineEdit(g);
        call->setObjectName(callName);
        call->setFont(entryFont);
        call->setGeometry(8, 28, 126, 30);
        report = new QComboBox(g);
        report->setObjectName(reportName);
        report->setEditable(true);
        report->setFont(entryFont);
        report->setGeometry(138, 28, 66, 30);
        report->addItems({"599", "589", "579", "569", "559"});
        report->setCurrentText(QStringLiteral("599"));
        number = new QLineEdit(g);
        number->setObjectName(numberName);
        number->setFont(entryFont);
        number->setGeometry(208, 28, 73, 30);
    };
    entryGroup(QStringLiteral("Heard Station"), 348, QStringLiteral("Number1"), Edit1, ComboBox1, Edit3,
               QStringLiteral("Edit1"), QStringLiteral("ComboBox1"), QStringLiteral("Edit3"));
    entryGroup(QStringLiteral("Worked Station"), 420, QStringLiteral("Number2"), Edit2, ComboBox2, Edit4,
               QStringLiteral("Edit2"), QStringLiteral("ComboBox2"), QStringLiteral("Edit4"));

    Button2 = new QPushButton(QStringLiteral("Clear"), client);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(256, 496, 81, 25);
    Button1 = new QPushButton(QStringLiteral("Save"), client);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(464, 496, 81, 25);

    const QFont panelFont = boldFont(QApplication::font().family(), 12, QFont::SansSerif);
    for (int i = 0; i < 4; ++i) {
        StatusPanel[i] = new QLabel(this);
        StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanel[i]->setFont(panelFont);
        StatusPanel[i]->setMinimumWidth(80);
        statusBar()->addWidget(StatusPanel[i]);
    }
    statusBar()->setSizeGripEnabled(false);

    QWidget::setTabOrder(Edit1, ComboBox1);
    QWidget::setTabOrder(ComboBox1, Edit3);
    QWidget::setTabOrder(Edit3, Edit2);
    QWidget::setTabOrder(Edit2, ComboBox2);
    QWidget::setTabOrder(ComboBox2, Edit4);
    QWidget::setTabOrder(Edit4, DBGridEh1);
    QWidget::setTabOrder(DBGridEh1, DBGridEh2);
    QWidget::setTabOrder(DBGridEh2, Button1);
    QWidget::setTabOrder(Button1, Button2);
    QWidget::setTabOrder(Button2, btnCW);
    QWidget::setTabOrder(btnCW, btnSSB);
    QWidget::setTabOrder(btnSSB, btnDIGI);

    client->setFixedSize(551, 545 - statusBar()->sizeHint().height());

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, guarded(this, &TForm1::Timer1Timer));
    Timer1->start();

    connect(Button1, &QPushButton::clicked, this, guarded(this, &TForm1::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TForm1::Button2Click));
    connect(Edit1, &QLineEdit::returnPressed, this, guarded(this, &TForm1::Edit1KeyPress));
    connect(Edit2, &QLineEdit::returnPressed, this, guarded(this, &TForm1::Edit2KeyPress));
    connect(Edit3, &QLineEdit::returnPressed, this, guarded(this, &TForm1::Edit3KeyPress));
    connect(Edit4, &QLineEdit::returnPressed, this, guarded(this, &TForm1::Edit4KeyPress));
    connect(Edit1, &QLineEdit::textChanged, this, guarded(this, &TForm1::Edit1Change));
    connect(Edit2, &QLineEdit::textChanged, this, guarded(this, &TForm1::Edit2Change));
    connect(btn160, &QPushButton::clicked, this, guarded(this, &TForm1::btn160Click));
    connect(btn80, &QPushButton::clicked, this, guarded(this, &TForm1::btn80Click));
    connect(btn40, &QPushButton::clicked, this, guarded(this, &TForm1::btn40Click));
    connect(btn20, &QPushButton::clicked, this, guarded(this, &TForm1::btn20Click));
    connect(btn15, &QPushButton::clicked, this, guarded(this, &TForm1::btn15Click));
    connect(btn10, &QPushButton::clicked, this, guarded(this, &TForm1::btn10Click));
    connect(btnSSB, &QPushButton::clicked, this, guarded(this, &TForm1::btnSSBClick));
    connect(btnCW, &QPushButton::clicked, this, guarded(this, &TForm1::btnCWClick));
    connect(btnDIGI, &QPushButton::clicked, this, guarded(this, &TForm1::btnDIGIClick));
    connect(DBGridEh1, &QTableView::doubleClicked, this, guarded(this, &TForm1::Editor));
}

void TForm1::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    Cabrillo3ADIF1 = file->addAction(QStringLiteral("Cabrillo 3"));
    ADIF1 = file->addAction(QStringLiteral("ADIF"));
    QMenu *logbook = menuBar()->addMenu(QStringLiteral("Logbook"));
    N3 = logbook->addAction(QStringLiteral("Delete all records"));
    QMenu *setting = menuBar()->addMenu(QStringLiteral("Setting"));
    N1 = setting->addAction(QStringLiteral("General"));
    DXCCandPrefixList1 = setting->addAction(QStringLiteral("DXCC and Province"));
    MMVARI2 = menuBar()->addAction(QStringLiteral("MMVARI"));
    Info1 = menuBar()->addAction(QStringLiteral("Info"));
    QMenu *oblast = menuBar()->addMenu(QStringLiteral("Auto RU Oblast"));
    RDRC2 = oblast->addAction(QStringLiteral("RU Oblast"));
    // Its check mark is the on/off state of the oblast fill; it starts unchecked at every run.
    RDRC2->setCheckable(true);
    RDRC2->setObjectName(QStringLiteral("RDRC2"));

    // Every window is shown with a plain non-modal show.
    auto shows = [this](QAction *action, auto windowOf) {
        connect(action, &QAction::triggered, this, [this, windowOf] {
            errordisplay::run([&] {
                QWidget *w = windowOf();
                w->show();
                w->raise();
                w->activateWindow();
            });
        });
    };
    shows(Cabrillo3ADIF1, [this] { return static_cast<QWidget *>(forms.Form3); });
    shows(ADIF1, [this] { return static_cast<QWidget *>(forms.Form5); });
    shows(N1, [this] { return static_cast<QWidget *>(forms.Form7); });
    shows(DXCCandPrefixList1, [this] { return static_cast<QWidget *>(forms.Form9); });
    shows(MMVARI2, [this] { return static_cast<QWidget *>(forms.Form4); });
    shows(Info1, [this] { return static_cast<QWidget *>(forms.Form6); });
    connect(N3, &QAction::triggered, this, guarded(this, &TForm1::D2Click));

    PopupMenu1 = new QMenu(this);
    D1 = PopupMenu1->addAction(QStringLiteral("Delete"));
    D2 = PopupMenu1->addAction(QStringLiteral("Delete All"));
    E1 = PopupMenu1->addAction(QStringLiteral("Edit"));
    connect(D1, &QAction::triggered, this, guarded(this, &TForm1::D1Click));
    connect(D2, &QAction::triggered, this, guarded(this, &TForm1::D2Click));
    connect(E1, &QAction::triggered, this, guarded(this, &TForm1::Editor));
    connect(DBGridEh1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(DBGridEh1->viewport()->mapToGlobal(at)); });

    mnuModes = new QMenu(this);
    mnuModes->setObjectName(QStringLiteral("mnuModes"));
    auto modeEntry = [this](QMenu *menu, const QString &name) {
        QAction *a = menu->addAction(name);
        a->setObjectName(name + QLatin1Char('1'));
        connect(a, &QAction::triggered, this, [this, name] { errordisplay::run([&] { setMode(name); }); });
        return a;
    };
    RTTY1 = modeEntry(mnuModes, QStringLiteral("RTTY"));
    QMenu *bpsk = mnuModes->addMenu(QStringLiteral("BPSK"));
    BPSK311 = modeEntry(bpsk, QStringLiteral("BPSK31"));
    BPSK631 = modeEntry(bpsk, QStringLiteral("BPSK63"));
    BPSK1251 = modeEntry(bpsk, QStringLiteral("BPSK125"));
    QMenu *qpsk = mnuModes->addMenu(QStringLiteral("QPSK"));
    QPSK311 = modeEntry(qpsk, QStringLiteral("QPSK31"));
    QPSK631 = modeEntry(qpsk, QStringLiteral("QPSK63"));
    QPSK1251 = modeEntry(qpsk, QStringLiteral("QPSK125"));
    QPSK2501 = modeEntry(qpsk, QStringLiteral("QPSK250"));
    MFSK161 = modeEntry(mnuModes, QStringLiteral("MFSK16"));
}

void TForm1::FormCreate()
{
    for (QLineEdit *edit : {Edit1, Edit2, Edit3, Edit4})
        keyboardlatin::makeUpperCaseLatin(edit);
    store_->runSearch(statements::S2, {{QStringLiteral("heard"), Edit1->text()}});

    OblastList.clear();
    QFile oblasts(programfolder::file(QStringLiteral("Russia.dom")));
    if (oblasts.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&oblasts);
        while (!in.atEnd())
            OblastList.append(in.readLine());
    }
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        errordisplay::run([this] { FormShow(); });
    }
}

void TForm1::FormShow()
{
    Edit1->setFocus();
    store_->setCurrentRow(store_->recordCount() - 1);
    if (store_->currentRow() >= 0)
        DBGridEh1->scrollTo(store_->table().index(store_->currentRow(), 0));
    showRecordCount();
    showSearchCounts();
    UpdateScore();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    windowplacement::save(this);
    OblastList.clear();
    event->accept();
    // The other windows are hidden, never closed: closing the main window ends the run.
    QCoreApplication::quit();
}

void TForm1::Timer1Timer()
{
    for (QLabel *l : {lbTime, lbDate}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, kNavy);
        l->setPalette(p);
    }
    lbTime->setText(QDateTime::currentDateTimeUtc().toString(QStringLiteral("HH:mm:ss")));
    lbDate->setText(logdate::toText(QDate::currentDate()));
    lbDate->adjustSize();
    lbTime->adjustSize();
}

void TForm1::UpdateScore()
{
    StatusPanel[1]->setText(QStringLiteral("Score %1").arg(store_->score()));
}

void TForm1::showRecordCount()
{
    StatusPanel[0]->setText(QStringLiteral("QSO %1").arg(store_->recordCount()));
}

void TForm1::showSearchCounts()
{
    StatusPanel[2]->setText(QStringLiteral("Heard %1").arg(store_->searchCount()));
    StatusPanel[3]->setText(QStringLiteral("Worked %1").arg(store_->searchCount()));
}

void TForm1::Button1Click()
{
    // A field of blanks counts as empty: it would store an empty callsign or number.
    for (QLineEdit *required : {Edit1, Edit3, Edit2}) {
        if (required->text().trimmed().isEmpty()) {
            QMessageBox::warning(this, QStringLiteral("Warning"), QStringLiteral("Please check all values."));
            required->setFocus();
            return;
        }
    }
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    QsoRecord r;
    r.call1 = Edit1->text().trimmed();
    r.rst1 = ComboBox1->currentText().trimmed();
    r.nr1 = Edit3->text().trimmed();
    r.time = utc.toString(QStringLiteral("HH:mm"));
    r.data = logdate::toText(QDate::currentDate());
    r.call2 = Edit2->text().trimmed();
    r.rst2 = ComboBox2->currentText().trimmed();
    r.nr2 = Edit4->text().trimmed();
    r.mode = lbMode->text().trimmed();
    r.QSOBand = lbBand->text().trimmed();
    store_->append(r);
    DBGridEh1->scrollTo(store_->table().index(store_->currentRow(), 0));
    showRecordCount();
    UpdateScore();
    for (QLineEdit *edit : {Edit1, Edit3, Edit2, Edit4})
        edit->clear();
    Edit1->setFocus();
}

void TForm1::Button2Click()
{
    for (QLineEdit *edit : {Edit1, Edit2, Edit3, Edit4})
        edit->clear();
    Edit1->setFocus();
}

void TForm1::Edit1KeyPress()
{
    Edit3->setFocus();
}

void TForm1::Edit3KeyPress()
{
    Edit2->setFocus();
}

void TForm1::Edit2KeyPress()
{
    Edit4->setFocus();
}

void TForm1::Edit4KeyPress()
{
    Button1Click();
}

void TForm1::Edit1Change()
{
    const QString heard = Edit1->text();
    store_->runSearch(statements::S3, {{QStringLiteral("heard"), heard},
                                       {QStringLiteral("mode"), lbMode->text()},
                                       {QStringLiteral("band"), lbBand->text()}});
    const bool found = !heard.isEmpty()
        && (heard == store_->searchFirst(QStringLiteral("call1")) || heard == store_->searchFirst(QStringLiteral("call2")));
    setBackground(Edit1, found ? kPink : QColor());
    StatusPanel[2]->setText(QStringLiteral("Heard %1").arg(store_->searchCount()));
    if (heard.isEmpty()) {
        showCountryData({});
        return;
    }
    showCountryData(lookUpCountry(heard));
    if (RDRC2->isChecked()) {
        const std::optional<QString> number = oblastfill::numberFor(mDXCC->text(), mPrefix->text(), OblastList);
        if (number)
            Edit3->setText(*number);
    }
}

QStringList TForm1::lookUpCountry(const QString &heard)
{
    // Portable forms are looked up by the part that names the country (DL/UA1XYZ is
    // Germany, UA1XYZ/9 Asiatic Russia); a maritime mobile is in no country.
    const QString subject = LookupCall(heard, forms.Form9->lookup());
    QStringList data(6);
    if (!subject.isEmpty())
        forms.Form9->FindCountry(subject, data[0], data[1], data[2], data[3], data[4], data[5]);
    return data;
}

void TForm1::showCountryData(const QStringList &data)
{
    QLabel *const labels[] = {mDXCC, mCountry, mCQ, mITU, mContinent, mPrefix};
    for (int i = 0; i < 6; ++i) {
        QPalette p = labels[i]->palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        labels[i]->setPalette(p);
        labels[i]->setText(data.value(i));
    }
}

void TForm1::Edit2Change()
{
    store_->runSearch(statements::S4, {{QStringLiteral("worked"), Edit2->text()},
                                       {QStringLiteral("mode"), lbMode->text()},
                                       {QStringLiteral("band"), lbBand->text()}});
    setBackground(Edit2, store_->searchFirst(QStringLiteral("call2")).isEmpty() ? QColor() : kLightGreen);
    StatusPanel[3]->setText(QStringLiteral("Worked %1").arg(store_->searchCount()));
}

void TForm1::setBand(const QString &band)
{
    lbBand->setText(band);
    forms.Form4->ComboBox1->setCurrentText(band);
}

void TForm1::btn160Click() { setBand(btn160->text()); }
void TForm1::btn80Click() { setBand(btn80->text()); }
void TForm1::btn40Click() { setBand(btn40->text()); }
void TForm1::btn20Click() { setBand(btn20->text()); }
void TForm1::btn15Click() { setBand(btn15->text()); }
void TForm1::btn10Click() { setBand(btn10->text()); }

void TForm1::setMode(const QString &mode)
{
    lbMode->setText(mode);
}

void TForm1::btnSSBClick()
{
    setMode(btnSSB->text());
    reportlist::fill(reportlist::kPhone, {ComboBox1, ComboBox2}, QStringLiteral("59"));
}

void TForm1::btnCWClick()
{
    setMode(btnCW->text());
    reportlist::fill(reportlist::kTelegraphy, {ComboBox1, ComboBox2}, QStringLiteral("599"));
}

void TForm1::btnDIGIClick()
{
    const QPoint at(frameGeometry().x() + ModeGroup->x() + btnDIGI->x() + 60,
                    frameGeometry().y() + ModeGroup->y() + btnDIGI->y() + 30);
    mnuModes->popup(at);
    reportlist::fill(reportlist::kTelegraphy, {ComboBox1, ComboBox2}, QStringLiteral("599"));
}

void TForm1::D1Click()
{
    store_->deleteCurrent();
    showRecordCount();
    showSearchCounts();
    UpdateScore();
}

void TForm1::D2Click()
{
    const int count = store_->recordCount();
    // One click would otherwise empty the whole log; an empty one has nothing to lose.
    if (count > 0
        && QMessageBox::question(this, QStringLiteral("Delete all"),
                                 QStringLiteral("Delete all %1 records?").arg(count),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        store_->deleteAll();
    }
    showRecordCount();
    showSearchCounts();
    UpdateScore();
}

void TForm1::Editor()
{
    forms.Form2->show();
    forms.Form2->raise();
    forms.Form2->activateWindow();
}
