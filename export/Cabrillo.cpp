#include "Cabrillo.h"

#include "CabrilloHeader.h"
#include "ErrorDisplay.h"
#include "ExportError.h"
#include "Log.h"
#include "LogExport.h"
#include "MemoLines.h"
#include "OptionsIni.h"
#include "QsoStore.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

constexpr int kRowHeight = 22;
constexpr int kRowStep = 26;

// The layout of a QSO line, as the operator reads it under the preview.
const QStringList kTemplate{
    QStringLiteral("1234567890123456789012345678901234567890123456789012345678901234567890123456789"),
    QString::fromUtf8("                              --------переданный------ -------принятый---------"),
    QStringLiteral("QSO: freq  mo date       time call          rst exch   call          rst exch  "),
    QStringLiteral("**** ***** ** ********** **** ************* *** ****** ************* *** ******"),
    QStringLiteral("QSO: 28009 CW 2008-09-23 0711 UA1XYZ        599 001    UA2XYZ        599 001   "),
};

QFont courier(int pixels)
{
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixels);
    return font;
}

void label(QWidget *parent, const QString &tag, int x, int y, int width)
{
    auto *l = new QLabel(tag, parent);
    l->setGeometry(x, y, width, kRowHeight);
}

QComboBox *list(QWidget *parent, const QString &objectName, const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setEditable(true);
    box->addItems(items);
    // The operator picks or types a value; none is chosen at first.
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    return box;
}

QLineEdit *edit(QWidget *parent, const QString &objectName, const QString &text = QString())
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(objectName);
    return e;
}

QPlainTextEdit *memo(QWidget *parent, const QString &objectName)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(objectName);
    return m;
}

} // namespace

TForm3::TForm3(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form3"), QStringLiteral("Cabrillo"), parent)
{
    setClientSize(790, 644);
    buildWindow();
}

void TForm3::buildWindow()
{
    using namespace cabrillo;
    const Header initial;

    Edit1 = edit(this, QStringLiteral("Edit1"), initial.contest);
    Edit2 = edit(this, QStringLiteral("Edit2"), initial.callsign);
    ComboBox4 = list(this, QStringLiteral("ComboBox4"),
                     {QStringLiteral("SINGLE-OP"), QStringLiteral("MULTI-OP"), QStringLiteral("MULTI-OP-2"),
                      QStringLiteral("CHECKLOG")});
    ComboBox1 = list(this, QStringLiteral("ComboBox1"),
                     {QStringLiteral("ALL"), QStringLiteral("160M"), QStringLiteral("80M"), QStringLiteral("40M"),
                      QStringLiteral("20M"), QStringLiteral("15M"), QStringLiteral("10M")});
    ComboBox2 = list(this, QStringLiteral("ComboBox2"),
                     {QStringLiteral("SSB"), QStringLiteral("CW"), QStringLiteral("DIGI"), QStringLiteral("MIXED")});
    Edit12 = edit(this, QStringLiteral("Edit12"), initial.categoryTransmitter);
    Edit3 = edit(this, QStringLiteral("Edit3"), initial.claimedScore);
    Edit9 = edit(this, QStringLiteral("Edit9"), initial.createdBy);
    Edit9->setReadOnly(true);
    Edit9->setEnabled(false);
    Edit7 = edit(this, QStringLiteral("Edit7"), initial.email);

    const std::pair<const QString &, QWidget *> left[] = {
        {tag::kContest, Edit1},        {tag::kCallsign, Edit2},      {tag::kCategoryOperator, ComboBox4},
        {tag::kCategoryBand, ComboBox1}, {tag::kCategoryMode, ComboBox2}, {tag::kCategoryTransmitter, Edit12},
        {tag::kClaimedScore, Edit3},   {tag::kCreatedBy, Edit9},     {tag::kEmail, Edit7},
    };
    int y = 8;
    for (const auto &[tag, control] : left) {
        label(this, tag, 8, y, 164);
        control->setGeometry(174, y, 192, kRowHeight);
        y += kRowStep;
    }

    Edit5 = edit(this, QStringLiteral("Edit5"), initial.name);
    label(this, tag::kName, 376, 8, 84);
    Edit5->setGeometry(460, 8, 230, kRowHeight);
    Memo2 = memo(this, QStringLiteral("Memo2"));
    label(this, tag::kAddress, 376, 34, 84);
    Memo2->setGeometry(460, 34, 230, 100);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo2->setTabChangesFocus(true);
    Edit8 = edit(this, QStringLiteral("Edit8"), initial.location);
    label(this, tag::kLocation, 376, 142, 84);
    Edit8->setGeometry(460, 142, 230, kRowHeight);
    Edit13 = edit(this, QStringLiteral("Edit13"), initial.soapbox);
    label(this, tag::kSoapbox, 376, 168, 84);
    Edit13->setGeometry(460, 168, 230, kRowHeight);

    BitBtn1 = new QPushButton(QStringLiteral("Test"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(704, 8, 78, 28);

    Memo4 = memo(this, QStringLiteral("Memo4"));
    Memo4->setGeometry(8, 248, 774, 260);
    Memo4->setReadOnly(true);
    Memo4->setFont(courier(13));
    Memo4->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo4->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo4->setPlainText(kStartOfLog);

    Memo1 = memo(this, QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 516, 774, 84);
    Memo1->setReadOnly(true);
    Memo1->setFont(courier(11));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setPlainText(kTemplate.join(QLatin1Char('\n')));

    BitBtn2 = new QPushButton(QStringLiteral("Save Cabrillo"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(652, 608, 130, 28);

    connect(BitBtn1, &QPushButton::clicked, this, errordisplay::guarded(this, &TForm3::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, errordisplay::guarded(this, &TForm3::BitBtn2Click));
}

cabrillo::Header TForm3::header() const
{
    cabrillo::Header h;
    h.contest = Edit1->text();
    h.callsign = Edit2->text();
    h.categoryOperator = ComboBox4->currentText();
    h.categoryBand = ComboBox1->currentText();
    h.categoryMode = ComboBox2->currentText();
    h.categoryTransmitter = Edit12->text();
    h.claimedScore = Edit3->text();
    h.location = Edit8->text();
    h.createdBy = Edit9->text();
    h.email = Edit7->text();
    h.name = Edit5->text();
    h.address = memolines::shownLines(Memo2);
    h.soapbox = Edit13->text();
    return h;
}

void TForm3::showEvent(QShowEvent *event)
{
    // A spontaneous show is the window coming back from the task bar, not a new showing.
    if (!event->spontaneous())
        errordisplay::run([this] { FormShow(); });
    SecondaryWindow::showEvent(event);
}

void TForm3::closeEvent(QCloseEvent *event)
{
    FormClose();
    SecondaryWindow::closeEvent(event);
}

void TForm3::FormShow()
{
    // The panel reads "Score n": the number follows the first blank.
    const QString score = forms.Form1->StatusPanel[1]->text();
    const qsizetype blank = score.indexOf(QLatin1Char(' '));
    Edit3->setText(blank < 0 ? score : score.mid(blank + 1));

    const cabrillo::Header station = cabrillo::stationFromOptions(OptionsIni());
    Edit2->setText(station.callsign);
    Edit7->setText(station.email);
    Edit5->setText(station.name);
    Edit8->setText(station.location);
    memolines::setLines(Memo2, station.address);
    Edit13->setText(station.soapbox);
}

void TForm3::FormClose()
{
    Memo4->setPlainText(cabrillo::kStartOfLog);
}

void TForm3::BitBtn1Click()
{
    Memo4->setPlainText(cabrillo::headerLines(header()).join(QLatin1Char('\n')));
    const QsoStore &store = forms.Form1->store();
    if (store.currentRow() < 0)
        throw ExportError(store.recordCount() == 0
                              ? QStringLiteral("There is no QSO line to show: the log is empty.")
                              : QStringLiteral("There is no QSO line to show: select a contact in the log."));
    Memo4->appendPlainText(logexport::cabrilloLine(store.currentRecord(), store.currentRow()));
    Memo4->appendPlainText(cabrillo::kEndOfLog);
}

void TForm3::BitBtn2Click()
{
    const QByteArray content = logexport::cabrilloFile(header(), forms.Form1->store());
    logexport::save(logexport::programFile(Edit2->text(), QStringLiteral(".cbr")), content,
                    QStringLiteral("Cabrillo file"));
    close();
}
