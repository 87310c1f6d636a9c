// The decoder window: spectrum, waterfall and decoded text of the digital modes. It keeps the
// main window's band and mode in step with its own boxes and the engine, and sends a word of
// the decoded text into one of the main window's entry fields.
#pragma once

#include "RxText.h"
#include "SecondaryWindow.h"

#include <QList>

#include <memory>
#include <utility>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QToolButton;
class QWheelEvent;
class TMMVARI;
class TXMMVBtn;
class TXMMVLvl;
class TXMMVView;

class TForm4 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm4(Forms &forms, QWidget *parent = nullptr);
    ~TForm4() override;

    // The engine and what shows it
    TMMVARI *MMVARI;
    // Stands on the form for the engine, which has nothing to see: where the keyboard focus
    // goes after a choice, so that the next key or wheel turn does not change the box again.
    QWidget *MMVARIFocus;
    TXMMVView *XMMVView;
    TXMMVLvl *XMMVLvl;
    TXMMVBtn *XMMVBtn1;   // "FFT"
    TXMMVBtn *XMMVBtn2;   // "AFC"
    // Band, mode and speed. The main window's band buttons write ComboBox1's text, which runs
    // no handler: only the operator's changes do.
    QComboBox *ComboBox1;
    QComboBox *CBMode;
    QComboBox *CBSpeed;
    // Span "500" .. "3k" and the receive filters, widest first
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4;
    QToolButton *SpeedButton5, *SpeedButton6, *SpeedButton7, *SpeedButton8;
    QPushButton *Button1;   // "Clear RX Window"
    QPlainTextEdit *RxPanel;
    // Panels: receive carrier, clock offset, S/N, engine mode, device trouble
    QStatusBar *StatusBar1;
    QLabel *StatusPanel[5];
    QMenu *PopupMenu1;      // right click on the status bar
    QAction *GMSK1, *rttyL1, *rttyU1, *mfskL1, *mfskU1;
    QMenu *PopupMenu2;      // a word of the decoded text into the log
    QAction *N1, *N11, *RST1, *N2, *N21, *RST2;
    QMenuBar *MainMenu1;
    QAction *N12, *N22, *WaterAGC1, *N5;

    // The Sound window's choice: the engine's device, and the last device trouble forgotten
    // (a new one is told again).
    void setSoundDevice(const QString &id);

    // The engine handle read at each showing, for the view and the meter.
    int MMVARIHandle = 0;
    // The word taken by the last double-click in RxPanel.
    QString PickedWord;

public slots:
    void CBModeClick();
    void CBModeChange();
    void CBSpeedClick();
    void CBSpeedChange();
    void ComboBox1Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void XMMVBtn1LButtonClick();
    void XMMVBtn2LButtonClick();
    void GMSK1Click();
    void rttyL1Click();
    void rttyU1Click();
    void mfskL1Click();
    void mfskU1Click();
    void N12Click();
    void N22Click();
    void WaterAGC1Click();
    void N5Click();
    void Button1Click();
    void N1Click();
    void N11Click();
    void RST1Click();
    void N2Click();
    void N21Click();
    void RST2Click();

    void MMVARI_OnDrawFFT();
    void MMVARIRxChar(int nIndex, const QString &strChar, int wChar);
    void MMVARISpeed(int nIndex, double dblSpeed);
    void MMVARITiming(int nIndex, int dwTiming, int wUnit);
    void MMVARIDeviceError(const QString &message);

    void RxPanelDblClick();
    void RxPanelMouseDown(const QPoint &globalPos);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void buildMenus();
    void connectHandlers();
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormMouseWheelDown(int notches);
    void FormMouseWheelUp(int notches);
    void modeChange();
    void showPalette(int value);
    void applyStoredStates();
    QList<std::pair<QObject *, const char *>> storedProps() const;
    void restoreStates();
    void saveStates() const;
    void turnCarrier(QWheelEvent *event);
    void showReceivedEnd();
    bool isRxPanelPart(const QWidget *w) const;

    std::unique_ptr<RxText> rxText_;
    bool DblClickPending = false;
    QButtonGroup *spanButtons_;
    QButtonGroup *filterButtons_;
    // Wheel turns of less than a notch (touchpads) add up until they make one.
    int wheelRemainder_ = 0;
};
