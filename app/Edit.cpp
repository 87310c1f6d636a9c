#include "Edit.h"

#include "ErrorDisplay.h"
#include "KeyboardLatin.h"
#include "Log.h"
#include "LogDate.h"
#include "QsoColumns.h"
#include "QsoStore.h"
#include "QsoTableModel.h"
#include "ReportList.h"
#include "WindowFonts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMetaProperty>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <stdexcept>

namespace {

const char *const kShownText = "orvoShownText";

// The text a bound field holds: a line edit's text, a box's current text.
QVariant fieldText(const QWidget *field)
{
    return field->metaObject()->userProperty().read(field);
}

// A field writes its text back only when the operator changed it since the row was shown.
// A field may show a stored text differently from how it is stored (the callsign fields put
// a lower-case call into capitals); such a row is not changed unless the field is edited.
class ChangedFieldsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        QStyledItemDelegate::setEditorData(editor, index);
        // A box's list opens, and its arrow keys move, from the item it shows.
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            const int item = box->findText(box->currentText());
            if (item >= 0)
                box->setCurrentIndex(item);
        }
        editor->setProperty(kShownText, fieldText(editor));
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (fieldText(editor) != editor->property(kShownText))
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

TForm2::TForm2(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form2"), QStringLiteral("Edit"), parent)
{
    setClientSize(250, 395);
    buildWindow();

    mapper_ = new QDataWidgetMapper(this);
    mapper_->setModel(&table());
    mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    mapper_->setItemDelegate(new ChangedFieldsDelegate(mapper_));
    const QList<QPair<QWidget *, QString>> bindings{
        {DateEdit, "data"},        {BandBox, "QSOBand"},        {TimeEdit, "time"},
        {DBComboBoxEh3, "mode"},   {HeardEdit, "call1"},        {HeardReportBox, "rst1"},
        {HeardNumberEdit, "nr1"},  {WorkedEdit, "call2"},       {WorkedReportBox, "rst2"},
        {WorkedNumberEdit, "nr2"},
    };
    for (const auto &[field, name] : bindings) {
        mapper_->addMapping(field, qsocolumns::ofField(name));
        fields_.append(field);
    }

    QsoStore &store = forms.Form1->store();
    connect(&store.cursor(), &QItemSelectionModel::currentRowChanged, this, &TForm2::scheduleFollow);
    // Deleting the current row may leave the cursor on the same row number.
    connect(&table(), &QAbstractItemModel::rowsRemoved, this, &TForm2::scheduleFollow);
    connect(&table(), &QAbstractItemModel::modelReset, this, &TForm2::scheduleFollow);

    connect(BitBtn1, &QPushButton::clicked, this, errordisplay::guarded(this, &TForm2::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, errordisplay::guarded(this, &TForm2::BitBtn2Click));
    // Only the operator's change of the mode reloads the reports, not the showing of a row.
    connect(DBComboBoxEh3, &QComboBox::textActivated, this, errordisplay::guarded(this, &TForm2::DBComboBoxEh3Change));
    connect(DBComboBoxEh3->lineEdit(), &QLineEdit::textEdited, this,
            errordisplay::guarded(this, &TForm2::DBComboBoxEh3Change));
}

void TForm2::buildWindow()
{
    auto label = [this](const QString &text, int x, int y) {
        auto *l = new QLabel(text, this);
        l->move(x, y);
        l->adjustSize();
    };
    auto lineEdit = [this](const QString &name, int x, int y, int w, int h) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setGeometry(x, y, w, h);
        return e;
    };
    auto box = [this](const QString &name, const QStringList &items, int x, int y, int w, int h) {
        auto *b = new QComboBox(this);
        b->setObjectName(name);
        b->setEditable(true);
        b->setInsertPolicy(QComboBox::NoInsert);
        b->addItems(items);
        b->setGeometry(x, y, w, h);
        return b;
    };
    const QStringList reports{"599", "589", "579", "569", "559"};
    const QFont callFont = boldFont(QStringLiteral("Times New Roman"), 32, QFont::Serif);
    const QFont numberFont = boldFont(QStringLiteral("Times New Roman"), 24, QFont::Serif);

    label(QStringLiteral("Date"), 16, 28);
    DateEdit = lineEdit(QStringLiteral("DateEdit"), 72, 24, 105, 21);
    DateEdit->setPlaceholderText(logdate::format());

    label(QStringLiteral("Band"), 16, 48);
    BandBox = box(QStringLiteral("BandBox"), {"1.8", "3.5", "7", "14", "21", "28"}, 16, 64, 57, 21);
    label(QStringLiteral("Time"), 80, 48);
    TimeEdit = lineEdit(QStringLiteral("TimeEdit"), 80, 64, 57, 21);
    label(QStringLiteral("Mode"), 144, 48);
    DBComboBoxEh3 = box(QStringLiteral("DBComboBoxEh3"),
                        {"CW", "SSB", "RTTY", "BPSK31", "BPSK63", "BPSK125", "MFSK16"}, 144, 64, 89, 21);

    label(QStringLiteral("Heard"), 16, 88);
    HeardEdit = lineEdit(QStringLiteral("HeardEdit"), 16, 104, 217, 46);
    HeardEdit->setFont(callFont);
    label(QStringLiteral("RST"), 16, 160);
    HeardReportBox = box(QStringLiteral("HeardReportBox"), reports, 16, 176, 105, 34);
    label(QStringLiteral("NR"), 136, 160);
    HeardNumberEdit = lineEdit(QStringLiteral("HeardNumberEdit"), 136, 176, 97, 34);
    HeardNumberEdit->setFont(numberFont);

    label(QStringLiteral("Worked"), 16, 216);
    WorkedEdit = lineEdit(QStringLiteral("WorkedEdit"), 16, 232, 217, 46);
    WorkedEdit->setFont(callFont);
    label(QStringLiteral("RST"), 16, 288);
    WorkedReportBox = box(QStringLiteral("WorkedReportBox"), reports, 16, 304, 105, 34);
    label(QStringLiteral("NR"), 128, 288);
    WorkedNumberEdit = lineEdit(QStringLiteral("WorkedNumberEdit"), 128, 304, 105, 34);
    WorkedNumberEdit->setFont(numberFont);

    // Callsigns arrive in Latin capitals whatever keyboard layout is active, as in the entry.
    keyboardlatin::makeUpperCaseLatin(HeardEdit);
    keyboardlatin::makeUpperCaseLatin(WorkedEdit);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(24, 352, 89, 25);
    BitBtn2 = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(136, 352, 89, 25);

    const QList<QWidget *> tabOrder{HeardNumberEdit, HeardReportBox, WorkedEdit, WorkedNumberEdit,
                                    WorkedReportBox, DateEdit,       TimeEdit,   DBComboBoxEh3,
                                    BitBtn1,         BitBtn2,        BandBox,    HeardEdit};
    for (int i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QsoTableModel &TForm2::table()
{
    return forms.Form1->store().table();
}

int TForm2::shownRow() const
{
    return DateEdit->isEnabled() ? mapper_->currentIndex() : -1;
}

void TForm2::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    // A window restored from the task bar keeps what the operator typed.
    if (event->spontaneous())
        return;
    errordisplay::run([this] { showRow(forms.Form1->store().currentRow()); });
    HeardNumberEdit->setFocus();
}

void TForm2::closeEvent(QCloseEvent *event)
{
    errordisplay::run([this] { dropChange(); });
    SecondaryWindow::closeEvent(event);
}

void TForm2::scheduleFollow()
{
    if (!isVisible() || followScheduled_)
        return;
    // After the change of row has finished: a deleted row is gone by then, and a click in the
    // grid has selected its row before the cursor may be sent back.
    followScheduled_ = true;
    QTimer::singleShot(0, this, [this] { errordisplay::run([this] { followCursor(); }); });
}

void TForm2::followCursor()
{
    followScheduled_ = false;
    if (!isVisible())
        return;
    QsoStore &store = forms.Form1->store();
    const int row = store.currentRow();
    const int shown = shownRow();
    if (row >= 0 && row == shown)
        return;
    if (shown >= 0) {
        try {
            postChange();
        } catch (...) {
            store.setCurrentRow(shown);
            throw;
        }
    }
    showRow(row);
}

void TForm2::showRow(int row)
{
    const bool bound = row >= 0;
    for (QWidget *field : fields_)
        field->setEnabled(bound);
    if (bound) {
        mapper_->setCurrentIndex(row);
        return;
    }
    // No current row: nothing to show and nothing to change.
    for (QWidget *field : fields_)
        field->metaObject()->userProperty().write(field, QString());
}

void TForm2::checkDate(int row) const
{
    const QString text = DateEdit->text();
    if (text == forms.Form1->store().table().record(row).data)
        return;
    if (QLocale::system().toDate(text, logdate::format()).isValid())
        return;
    throw std::runtime_error(QStringLiteral("\"%1\" is not a date in the form %2 (for example %3). "
                                            "The contact is not changed: correct the date, or press "
                                            "\"Отмена\" to drop the change.")
                                 .arg(text, logdate::format(), logdate::toText(QDate::currentDate()))
                                 .toStdString());
}

void TForm2::postChange()
{
    const int row = shownRow();
    if (row < 0)
        return;
    checkDate(row);
    mapper_->submit();
    if (!table().isModified(row)) {
        table().revertRow(row);
        return;
    }
    table().submitRow(row);
    // The score counts nr2; a claimed score read from the panel must not lag behind the log.
    forms.Form1->UpdateScore();
}

void TForm2::dropChange()
{
    const int row = shownRow();
    if (row < 0)
        return;
    table().revertRow(row);
    mapper_->revert();
}

void TForm2::BitBtn1Click()
{
    postChange();
    hide();
}

void TForm2::BitBtn2Click()
{
    dropChange();
    hide();
}

void TForm2::DBComboBoxEh3Change()
{
    const QString mode = DBComboBoxEh3->currentText();
    if (mode == QLatin1String("SSB"))
        reportlist::fill(reportlist::kPhone, {HeardReportBox, WorkedReportBox}, QStringLiteral("59"));
    else if (mode == QLatin1String("CW") || mode == QLatin1String("RTTY"))
        reportlist::fill(reportlist::kTelegraphy, {HeardReportBox, WorkedReportBox}, QStringLiteral("599"));
}
