// The decoder window's controls, menus and connections: what the window is made of, apart
// from what its handlers do (MMVARI.cpp).
#include "MMVARI.h"

#include "Engine.h"
#include "ErrorDisplay.h"
#include "XMMVBtn.h"
#include "XMMVLvl.h"
#include "XMMVView.h"

#include <QButtonGroup>
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
#include <QStatusBar>
#include <QToolButton>

using errordisplay::guarded;

namespace {

constexpr int kClientWidth = 627;
constexpr int kClientHeight = 434;

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

} // namespace

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
        else   // tells of sound device trouble in what room is left, however long the text
            StatusPanel[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
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
