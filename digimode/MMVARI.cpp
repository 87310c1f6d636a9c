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

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTextBlock>
#include <QToolButton>
#include <QWheelEvent>

#include <stdexcept>

using errordisplay::guarded;

namespace {

constexpr int kPalette1 = 0;
constexpr int kPalette2 = 10;
constexpr int kSpans[4] = {500, 1000, 2000, 3000};
constexpr int kWheelNotch = 120;

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

// --- Creation, showing, closing ---------------------------------------------------------

void TForm4::FormCreate()
{
    // The view starts as the kept menu state says; a palette in the settings overrides both.
    if (N22->isChecked())
        XMMVView->setViewPalette(0, kPalette2);
    const OptionsIni ini;
    if (!ini.contains(optionskeys::kWaterfall, optionskeys::kPalette))
        return;
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
    TForm1 *logWindow = forms.Form1;
    logWindow->lbMode->setText(ModeLabelText(MMVARI->ChannelMode(0), modelabel::speedOf(CBSpeed->currentText())));
    reportlist::fill(reportlist::kTelegraphy, {logWindow->ComboBox1, logWindow->ComboBox2}, QStringLiteral("599"));
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
    // The panel shows what fits; the whole text is its tool tip.
    StatusPanel[4]->setText(message);
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
