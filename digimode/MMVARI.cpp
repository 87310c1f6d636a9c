#include "MMVARI.h"

#include "Engine.h"
#include "ErrorDisplay.h"
#include "Log.h"
#include "ModeLabel.h"
#include "OptionsIni.h"
#include "OptionsKeys.h"
#include "ReportList.h"
#include "Sound.h"
#include "XMMVBtn.h"
#include "XMMVLvl.h"
#include "XMMVView.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolButton>
#include <QWheelEvent>

#include <stdexcept>

using errordisplay::guarded;

namespace {

constexpr int kClientWidth = 627;
constexpr int kClientHeight = 434;
constexpr int kPalette1 = 0;
constexpr int kPalette2 = 10;
constexpr int kSpans[4] = {500, 1000, 2000, 3000};
constexpr int kWheelNotch = 120;

QLabel *addLabel(QWidget *parent, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// An editable box whose text is only what the operator or the code puts there: no item is
// added on Enter and no completion is typed ahead.
QComboBox *makeBox(QWidget *parent, const QString &name, const QRect &geometry, bool bold)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setGeometry(geometry);
    if (bold) {
        QFont f = box->font();
        f.setBold(true);
        box->setFont(f);
    }
    return box;
}

QToolButton *makeToolButton(QWidget *parent, const QString &name, const QRect &geometry, QButtonGroup *group)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setCheckable(true);
    b->setFocusPolicy(Qt::NoFocus);
    group->addButton(b);
    return b;
}

// The picture of a receive filter: a pass band that narrows from the first to the fourth.
QIcon filterIcon(int index)
{
    QPixmap picture(20, 12);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(QPen(Qt::black, 1));
    const int half = 8 - 2 * index;
    const QPoint shape[] = {{0, 11}, {8 - half, 11}, {10 - half, 2}, {10 + half, 2}, {12 + half, 11}, {19, 11}};
    p.drawPolyline(shape, 6);
    return QIcon(picture);
}

QString storeKey(const QObject *component, const char *property)
{
    return QStringLiteral("windows/Form4/%1.%2").arg(component->objectName(), QLatin1String(property));
}

} // namespace

TForm4::TForm4(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form4"), QStringLiteral("MMVARI"), parent)
{
    MMVARI = new TMMVARI(this);
    MMVARI->setObjectName(QStringLiteral("MMVARI"));
    MMVARI->setSampleRate(11025);
    MMVARI->setStrSoundID(QStringLiteral("-1"));
    buildMenus();
    buildWindow();
    connectHandlers();
    restoreStates();
    errordisplay::run([this] { FormCreate(); });
}

TForm4::~TForm4()
{
    // At program end the window may still be open: its states are kept all the same.
    saveStates();
}

void TForm4::buildMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *waterfall = MainMenu1->addMenu(QStringLiteral("Waterfall"));
    QMenu *palette = waterfall->addMenu(QStringLiteral("Palette"));
    N12 = palette->addAction(QStringLiteral("Palette 1"));
    N12->setObjectName(QStringLiteral("N12"));
    N22 = palette->addAction(QStringLiteral("Palette 2"));
    N22->setObjectName(QStringLiteral("N22"));
    WaterAGC1 = waterfall->addAction(QStringLiteral("Water AGC"));
    WaterAGC1->setObjectName(QStringLiteral("WaterAGC1"));
    for (QAction *a : {N12, N22, WaterAGC1})
        a->setCheckable(true);
    N12->setChecked(true);
    N5 = MainMenu1->addAction(QStringLiteral("Soundcard"));
    N5->setObjectName(QStringLiteral("N5"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto modeItem = [this](const QString &caption, const QString &name) {
        QAction *a = PopupMenu1->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    GMSK1 = modeItem(QStringLiteral("bpsk"), QStringLiteral("GMSK1"));
    rttyL1 = modeItem(QStringLiteral("rtty-L"), QStringLiteral("rttyL1"));
    rttyU1 = modeItem(QStringLiteral("rtty-U"), QStringLiteral("rttyU1"));
    mfskL1 = modeItem(QStringLiteral("mfsk-L"), QStringLiteral("mfskL1"));
    mfskU1 = modeItem(QStringLiteral("mfsk-U"), QStringLiteral("mfskU1"));

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    auto wordItem = [this](const QString &caption, const QString &name) {
        QAction *a = PopupMenu2->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    N1 = wordItem(QStringLiteral("Heard Station"), QStringLiteral("N1"));
    N11 = wordItem(QStringLiteral("Number"), QStringLiteral("N11"));
    RST1 = wordItem(QStringLiteral("RST"), QStringLiteral("RST1"));
    PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N6"));
    N2 = wordItem(QStringLiteral("Worked Station"), QStringLiteral("N2"));
    N21 = wordItem(QStringLiteral("Number"), QStringLiteral("N21"));
    RST2 = wordItem(QStringLiteral("RST"), QStringLiteral("RST2"));
}

void TForm4::buildWindow()
{
    const int menuHeight = MainMenu1->sizeHint().height();
    MainMenu1->setGeometry(0, 0, kClientWidth, menuHeight);
    auto *client = new QWidget(this);
    client->setGeometry(0, menuHeight, kClientWidth, kClientHeight);

    XMMVLvl = new TXMMVLvl(client);
    XMMVLvl->setObjectName(QStringLiteral("XMMVLvl"));
    XMMVLvl->setGeometry(2, 0, 20, 122);
    auto *viewPanel = new QFrame(client);
    viewPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    viewPanel->setLineWidth(1);
    viewPanel->setGeometry(24, 0, 588, 122);
    XMMVView = new TXMMVView(viewPanel);
    XMMVView->setObjectName(QStringLiteral("XMMVView"));
    XMMVView->setGeometry(1, 1, 586, 120);

    addLabel(client, QStringLiteral("Band:"), 4, 131);
    ComboBox1 = makeBox(client, QStringLiteral("ComboBox1"), {46, 128, 72, 22}, false);
    ComboBox1->addItems({"1.8", "3.5", "7", "14", "21", "28"});
    ComboBox1->setCurrentText(QStringLiteral("1.8"));
    addLabel(client, QStringLiteral("Mode:"), 4, 155);
    CBMode = makeBox(client, QStringLiteral("CBMode"), {46, 152, 72, 22}, true);
    addLabel(client, QStringLiteral("Speed:"), 4, 179);
    CBSpeed = makeBox(client, QStringLiteral("CBSpeed"), {46, 176, 72, 22}, true);
    CBSpeed->addItems({"15.625", "31.25", "45.45", "62.5", "75", "125"});
    CBSpeed->setCurrentText(QString());

    MMVARIFocus = new QWidget(client);
    MMVARIFocus->setObjectName(QStringLiteral("MMVARIFocus"));
    MMVARIFocus->setGeometry(4, 204, 22, 17);
    MMVARIFocus->setFocusPolicy(Qt::StrongFocus);
    XMMVBtn2 = new TXMMVBtn(client);
    XMMVBtn2->setObjectName(QStringLiteral("XMMVBtn2"));
    XMMVBtn2->setCaption(QStringLiteral("AFC"));
    XMMVBtn2->setGeometry(30, 202, 42, 21);
    // The button shows what the engine does from the start.
    XMMVBtn2->setState(MMVARI->ChannelAfc(0) == 1);
    XMMVBtn1 = new TXMMVBtn(client);
    XMMVBtn1->setObjectName(QStringLiteral("XMMVBtn1"));
    XMMVBtn1->setCaption(QStringLiteral("FFT"));
    XMMVBtn1->setGeometry(76, 202, 42, 21);

    auto *bpf = new QGroupBox(QStringLiteral("BPF"), client);
    bpf->setGeometry(4, 226, 114, 46);
    filterButtons_ = new QButtonGroup(this);
    QToolButton **filters[] = {&SpeedButton5, &SpeedButton6, &SpeedButton7, &SpeedButton8};
    for (int i = 0; i < 4; ++i) {
        *filters[i] = makeToolButton(bpf, QStringLiteral("SpeedButton%1").arg(5 + i), {6 + 26 * i, 18, 24, 22},
                                     filterButtons_);
        (*filters[i])->setIcon(filterIcon(i));
    }
    SpeedButton5->setChecked(true);

    auto *span = new QGroupBox(QStringLiteral("Freq "), client);
    span->setGeometry(4, 276, 114, 46);
    spanButtons_ = new QButtonGroup(this);
    QToolButton **spans[] = {&SpeedButton1, &SpeedButton2, &SpeedButton3, &SpeedButton4};
    const char *captions[] = {"500", "1k", "2k", "3k"};
    for (int i = 0; i < 4; ++i) {
        *spans[i] = makeToolButton(span, QStringLiteral("SpeedButton%1").arg(1 + i), {6 + 26 * i, 18, 24, 22},
                                   spanButtons_);
        (*spans[i])->setText(QLatin1String(captions[i]));
    }
    SpeedButton4->setChecked(true);

    Button1 = new QPushButton(QStringLiteral("Clear RX Window"), client);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(4, 328, 114, 25);

    RxPanel = new QPlainTextEdit(client);
    RxPanel->setObjectName(QStringLiteral("RxPanel"));
    RxPanel->setGeometry(kClientWidth - 503 - 2, 124, 503, 285);
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    courier.setPixelSize(13);
    RxPanel->setFont(courier);
    // Hours of decoding would otherwise pile up one undo step per character.
    RxPanel->setUndoRedoEnabled(false);
    rxText_ = std::make_unique<RxText>(*RxPanel->document());

    StatusBar1 = new QStatusBar(client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int i = 0; i < 5; ++i) {
        StatusPanel[i] = new QLabel(StatusBar1);
        StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanel[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusPanel[i]->setMinimumWidth(100);
        if (i < 4)
            StatusPanel[i]->setMaximumWidth(100);
        // The last panel tells of sound device trouble and takes what room is left for it.
        StatusBar1->addWidget(StatusPanel[i], i < 4 ? 0 : 1);
    }
    const int barHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, kClientHeight - barHeight, kClientWidth, barHeight);

    setClientSize(kClientWidth, menuHeight + kClientHeight);
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
}

void TForm4::connectHandlers()
{
    connect(MMVARI, &TMMVARI::OnDrawFFT, this, guarded(this, &TForm4::MMVARI_OnDrawFFT));
    connect(MMVARI, &TMMVARI::OnRxChar, this, guarded(this, &TForm4::MMVARIRxChar));
    connect(MMVARI, &TMMVARI::OnSpeed, this, guarded(this, &TForm4::MMVARISpeed));
    connect(MMVARI, &TMMVARI::OnTiming, this, guarded(this, &TForm4::MMVARITiming));
    connect(MMVARI, &TMMVARI::OnDeviceError, this, guarded(this, &TForm4::MMVARIDeviceError));

    // A pick runs the click handling and then the change handling; typing only the change.
    connect(CBMode, &QComboBox::textActivated, this, [this] {
        errordisplay::run([this] {
            CBModeClick();
            CBModeChange();
        });
    });
    connect(CBMode->lineEdit(), &QLineEdit::textEdited, this, guarded(this, &TForm4::CBModeChange));
    connect(CBSpeed, &QComboBox::textActivated, this, [this] {
        errordisplay::run([this] {
            CBSpeedClick();
            CBSpeedChange();
        });
    });
    connect(CBSpeed->lineEdit(), &QLineEdit::textEdited, this, guarded(this, &TForm4::CBSpeedChange));
    connect(ComboBox1, &QComboBox::textActivated, this, guarded(this, &TForm4::ComboBox1Change));
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, guarded(this, &TForm4::ComboBox1Change));

    const std::pair<QToolButton *, void (TForm4::*)()> buttons[] = {
        {SpeedButton1, &TForm4::SpeedButton1Click}, {SpeedButton2, &TForm4::SpeedButton2Click},
        {SpeedButton3, &TForm4::SpeedButton3Click}, {SpeedButton4, &TForm4::SpeedButton4Click},
        {SpeedButton5, &TForm4::SpeedButton5Click}, {SpeedButton6, &TForm4::SpeedButton6Click},
        {SpeedButton7, &TForm4::SpeedButton7Click}, {SpeedButton8, &TForm4::SpeedButton8Click}};
    for (const auto &[button, handler] : buttons)
        connect(button, &QToolButton::clicked, this, guarded(this, handler));
    connect(XMMVBtn1, &TXMMVBtn::OnLButtonClick, this, guarded(this, &TForm4::XMMVBtn1LButtonClick));
    connect(XMMVBtn2, &TXMMVBtn::OnLButtonClick, this, guarded(this, &TForm4::XMMVBtn2LButtonClick));
    connect(Button1, &QPushButton::clicked, this, guarded(this, &TForm4::Button1Click));

    const std::pair<QAction *, void (TForm4::*)()> actions[] = {
        {GMSK1, &TForm4::GMSK1Click},         {rttyL1, &TForm4::rttyL1Click}, {rttyU1, &TForm4::rttyU1Click},
        {mfskL1, &TForm4::mfskL1Click},       {mfskU1, &TForm4::mfskU1Click}, {N12, &TForm4::N12Click},
        {N22, &TForm4::N22Click},             {WaterAGC1, &TForm4::WaterAGC1Click}, {N5, &TForm4::N5Click},
        {N1, &TForm4::N1Click},               {N11, &TForm4::N11Click},       {RST1, &TForm4::RST1Click},
        {N2, &TForm4::N2Click},               {N21, &TForm4::N21Click},       {RST2, &TForm4::RST2Click}};
    for (const auto &[action, handler] : actions)
        connect(action, &QAction::triggered, this, guarded(this, handler));

    connect(StatusBar1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(StatusBar1->mapToGlobal(at)); });
}

// --- Creation, showing, closing ---------------------------------------------------------

void TForm4::FormCreate()
{
    const OptionsIni ini;
    if (!ini.contains(optionskeys::kWaterfall, optionskeys::kPalette)) {
        // Without a palette in the settings the view follows the kept menu state.
        if (N22->isChecked())
            XMMVView->setViewPalette(0, kPalette2);
        return;
    }
    const QString text = ini.value(optionskeys::kWaterfall, optionskeys::kPalette);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw std::runtime_error(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    XMMVView->setViewPalette(0, value);
    showPalette(value);
}

void TForm4::showEvent(QShowEvent *event)
{
    // A spontaneous show is the window coming back from the task bar, not a new showing.
    if (!event->spontaneous())
        errordisplay::run([this] { FormShow(); });
    SecondaryWindow::showEvent(event);
}

void TForm4::FormShow()
{
    applyStoredStates();
    MMVARIHandle = MMVARI->dwHandle();
    XMMVView->setWType(1);
    XMMVBtn1->setState(false);   // "FFT" is down only while the spectrum is shown
    const bool starting = !MMVARI->bActive();
    MMVARI->setBActive(true);
    // The engine does not announce the speed it starts with; the mode label needs it.
    if (starting)
        MMVARISpeed(0, MMVARI->ChannelSpeed(0));
    // Each showing lists the engine's modes once, not once more.
    CBMode->clear();
    for (int i = 0; i < MMVARI->wModeMax(); ++i)
        CBMode->addItem(MMVARI->ModeNameAt(i));
    CBMode->setCurrentText(MMVARI->ChannelMode(0));
    ComboBox1->setCurrentText(forms.Form1->lbBand->text());
    RxPanel->clear();
    modeChange();
    forms.Form1->ComboBox1->setCurrentText(QStringLiteral("599"));
    forms.Form1->ComboBox2->setCurrentText(QStringLiteral("599"));
}

void TForm4::hideEvent(QHideEvent *event)
{
    saveStates();
    SecondaryWindow::hideEvent(event);
}

void TForm4::closeEvent(QCloseEvent *event)
{
    // A settings file that cannot be written is told, and the window closes all the same.
    errordisplay::run([this] { FormClose(); });
    SecondaryWindow::closeEvent(event);
}

void TForm4::FormClose()
{
    OptionsIni().write(optionskeys::kWaterfall,
                       {{optionskeys::kPalette, QString::number(XMMVView->ViewPalette(0))}});
}

// --- Kept button and menu states ----------------------------------------------------------

QList<std::pair<QObject *, const char *>> TForm4::storedProps() const
{
    // In the order the states have always been kept: SpeedButton7 last.
    return {{SpeedButton1, "Down"}, {SpeedButton2, "Down"}, {SpeedButton3, "Down"}, {SpeedButton4, "Down"},
            {SpeedButton5, "Down"}, {SpeedButton6, "Down"}, {SpeedButton8, "Down"}, {N12, "Checked"},
            {N22, "Checked"},       {WaterAGC1, "Checked"}, {SpeedButton7, "Down"}};
}

void TForm4::restoreStates()
{
    QSettings settings;
    for (const auto &[component, name] : storedProps()) {
        const QVariant value = settings.value(storeKey(component, name));
        // A button of a group stays down when told to go up: another one goes down instead.
        if (value.isValid())
            component->setProperty("checked", value.toBool());
    }
}

void TForm4::saveStates() const
{
    QSettings settings;
    for (const auto &[component, name] : storedProps())
        settings.setValue(storeKey(component, name), component->property("checked").toBool());
}

void TForm4::applyStoredStates()
{
    const QList<QAbstractButton *> spans = spanButtons_->buttons();
    for (int i = 0; i < spans.size(); ++i)
        if (spans[i]->isChecked())
            XMMVView->setWWidthFreq(kSpans[i]);
    const QList<QAbstractButton *> filters = filterButtons_->buttons();
    for (int i = 0; i < filters.size(); ++i)
        if (filters[i]->isChecked())
            MMVARI->setNBPF(i);
    XMMVView->setBWaterAGC(WaterAGC1->isChecked());
}

void TForm4::showPalette(int value)
{
    N12->setChecked(value != kPalette2);
    N22->setChecked(value == kPalette2);
}

// --- Band, mode and speed -----------------------------------------------------------------

void TForm4::modeChange()
{
    TForm1 *log = forms.Form1;
    log->lbMode->setText(ModeLabelText(MMVARI->ChannelMode(0), modelabel::speedOf(CBSpeed->currentText())));
    reportlist::fill(reportlist::kTelegraphy, {log->ComboBox1, log->ComboBox2}, QStringLiteral("599"));
}

void TForm4::CBModeClick()
{
    MMVARI->setChannelMode(0, CBMode->currentText());
    MMVARIFocus->setFocus();
}

void TForm4::CBModeChange()
{
    modeChange();
}

void TForm4::CBSpeedClick()
{
    MMVARI->setChannelSpeed(0, modelabel::speedOf(CBSpeed->currentText()));
    MMVARIFocus->setFocus();
}

void TForm4::CBSpeedChange()
{
    forms.Form1->lbMode->setText(ModeLabelText(MMVARI->ChannelMode(0), modelabel::speedOf(CBSpeed->currentText())));
}

void TForm4::ComboBox1Change()
{
    forms.Form1->lbBand->setText(ComboBox1->currentText());
    MMVARIFocus->setFocus();
}

// --- Span, filter, view and engine buttons ----------------------------------------------------

void TForm4::SpeedButton1Click() { XMMVView->setWWidthFreq(kSpans[0]); }
void TForm4::SpeedButton2Click() { XMMVView->setWWidthFreq(kSpans[1]); }
void TForm4::SpeedButton3Click() { XMMVView->setWWidthFreq(kSpans[2]); }
void TForm4::SpeedButton4Click() { XMMVView->setWWidthFreq(kSpans[3]); }
void TForm4::SpeedButton5Click() { MMVARI->setNBPF(0); }
void TForm4::SpeedButton6Click() { MMVARI->setNBPF(1); }
void TForm4::SpeedButton7Click() { MMVARI->setNBPF(2); }
void TForm4::SpeedButton8Click() { MMVARI->setNBPF(3); }

void TForm4::XMMVBtn1LButtonClick()
{
    XMMVView->setWType(XMMVBtn1->State() ? 0 : 1);
}

void TForm4::XMMVBtn2LButtonClick()
{
    MMVARI->setChannelAfc(0, XMMVBtn2->State() ? 1 : 0);
}

void TForm4::GMSK1Click() { MMVARI->setChannelMode(0, GMSK1->text()); }
void TForm4::rttyL1Click() { MMVARI->setChannelMode(0, rttyL1->text()); }
void TForm4::rttyU1Click() { MMVARI->setChannelMode(0, rttyU1->text()); }
void TForm4::mfskL1Click() { MMVARI->setChannelMode(0, mfskL1->text()); }
void TForm4::mfskU1Click() { MMVARI->setChannelMode(0, mfskU1->text()); }

void TForm4::N12Click()
{
    XMMVView->setViewPalette(0, kPalette1);
    N22->setChecked(false);
    N12->setChecked(true);
}

void TForm4::N22Click()
{
    XMMVView->setViewPalette(0, kPalette2);
    N12->setChecked(false);
    N22->setChecked(true);
}

void TForm4::WaterAGC1Click()
{
    // The click has already turned the check mark over.
    XMMVView->setBWaterAGC(WaterAGC1->isChecked());
}

void TForm4::N5Click()
{
    QWidget *sound = forms.Form8;
    sound->show();
    sound->raise();
    sound->activateWindow();
}

// --- The wheel tunes the carrier --------------------------------------------------------------

void TForm4::FormMouseWheelDown(int notches)
{
    MMVARI->setChannelCarrier(0, MMVARI->ChannelCarrier(0) - notches);
}

void TForm4::FormMouseWheelUp(int notches)
{
    MMVARI->setChannelCarrier(0, MMVARI->ChannelCarrier(0) + notches);
}

void TForm4::turnCarrier(QWheelEvent *event)
{
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    errordisplay::run([&] {
        if (notches > 0)
            FormMouseWheelUp(notches);
        else if (notches < 0)
            FormMouseWheelDown(-notches);
    });
    event->accept();
}

void TForm4::wheelEvent(QWheelEvent *event)
{
    turnCarrier(event);
}

bool TForm4::isRxPanelPart(const QWidget *w) const
{
    return w == RxPanel || RxPanel->isAncestorOf(w);
}

bool TForm4::eventFilter(QObject *watched, QEvent *event)
{
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w->window() != this)
        return false;   // the popup list of a box, a menu
    if (event->type() == QEvent::Wheel && !isRxPanelPart(w)) {
        // Over the boxes too, which would otherwise step through their lists unseen by the
        // handlers; the received text keeps its scrolling.
        turnCarrier(static_cast<QWheelEvent *>(event));
        return true;
    }
    if (w == RxPanel->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            const QTextCursor at = RxPanel->cursorForPosition(mouse->position().toPoint());
            const QTextBlock line = at.block();
            const auto [first, last] = RxText::selectionAt(line.text(), at.positionInBlock());
            QTextCursor selection(line);
            selection.setPosition(line.position() + int(first));
            selection.setPosition(line.position() + int(last), QTextCursor::KeepAnchor);
            RxPanel->setTextCursor(selection);
            RxPanel->setCursorWidth(1);
            errordisplay::run([&] {
                RxPanelDblClick();
                RxPanelMouseDown(mouse->globalPosition().toPoint());
            });
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            RxPanel->setCursorWidth(1);
            errordisplay::run([&] { RxPanelMouseDown(static_cast<QMouseEvent *>(event)->globalPosition().toPoint()); });
        }
    }
    if (w == RxPanel && (event->type() == QEvent::FocusIn || event->type() == QEvent::KeyPress))
        RxPanel->setCursorWidth(1);
    return false;
}

// --- The engine's events --------------------------------------------------------------------

void TForm4::MMVARI_OnDrawFFT()
{
    XMMVView->RedrawFromEngine(MMVARIHandle);
    XMMVLvl->RedrawLevel(MMVARIHandle, 0);
    StatusPanel[2]->setText(QStringLiteral("S/N=%1db").arg(MMVARI->ChannelSignalToNoise(0)));
    StatusPanel[0]->setText(QStringLiteral("RX:%1Hz").arg(MMVARI->ChannelCarrier(0)));
    const QString mode = MMVARI->ChannelMode(0);
    StatusPanel[3]->setText(mode);
    // Rewriting an unchanged text would move the caret of the box sixteen times a second.
    if (CBMode->currentText() != mode)
        CBMode->setCurrentText(mode);
}

void TForm4::MMVARIRxChar(int nIndex, const QString &strChar, int)
{
    if (rxText_->receive(nIndex, strChar))
        showReceivedEnd();
}

void TForm4::showReceivedEnd()
{
    RxPanel->moveCursor(QTextCursor::End);
    RxPanel->setCursorWidth(0);
}

void TForm4::MMVARISpeed(int nIndex, double dblSpeed)
{
    if (nIndex == 0)
        CBSpeed->setCurrentText(modelabel::speedText(dblSpeed));
}

void TForm4::MMVARITiming(int, int dwTiming, int wUnit)
{
    if (wUnit == 0)
        StatusPanel[1]->setText(QStringLiteral("%1ppm").arg(dwTiming));
}

void TForm4::setSoundDevice(const QString &id)
{
    StatusPanel[4]->clear();
    StatusPanel[4]->setToolTip(QString());
    MMVARI->setStrSoundID(id);
}

void TForm4::MMVARIDeviceError(const QString &message)
{
    StatusPanel[4]->setText(StatusPanel[4]->fontMetrics().elidedText(message, Qt::ElideRight,
                                                                     StatusPanel[4]->width() - 6));
    StatusPanel[4]->setToolTip(message);
}

// --- Received text and the word for the log -------------------------------------------------

void TForm4::Button1Click()
{
    RxPanel->clear();
}

void TForm4::RxPanelDblClick()
{
    DblClickPending = true;
}

void TForm4::RxPanelMouseDown(const QPoint &globalPos)
{
    if (!DblClickPending)
        return;
    const QString selection = RxPanel->textCursor().selectedText();
    DblClickPending = false;
    const QString word = RxText::wordOf(selection);
    if (word.isEmpty())
        return;
    PickedWord = word;
    if (RxText::isPickable(PickedWord))
        PopupMenu2->popup(globalPos + QPoint(5, 5));
}

void TForm4::N1Click() { forms.Form1->Edit1->setText(PickedWord); }
void TForm4::N11Click() { forms.Form1->Edit3->setText(PickedWord); }
void TForm4::RST1Click() { forms.Form1->ComboBox1->setCurrentText(PickedWord); }
void TForm4::N2Click() { forms.Form1->Edit2->setText(PickedWord); }
void TForm4::N21Click() { forms.Form1->Edit4->setText(PickedWord); }
void TForm4::RST2Click() { forms.Form1->ComboBox2->setCurrentText(PickedWord); }
