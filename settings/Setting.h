// The settings window: station data for the Cabrillo header and the operator's contest data,
// kept in Options.ini, section "Directories". Loaded once when the window is created and
// written only by "OK".
#pragma once

#include "SecondaryWindow.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class TForm7 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm7(Forms &forms, QWidget *parent = nullptr);

    QGroupBox *GroupBox1;       // "Cabrillo setting"
    QLineEdit *Edit1;           // CALLSIGN
    QLineEdit *Edit2;           // NAME
    QLineEdit *Edit3;           // LOCATION
    QLineEdit *Edit4;           // EMAIL
    QPlainTextEdit *Memo1;      // ADDRESS1 to ADDRESS4, one shown line each
    QLineEdit *Edit5;           // SOAPBOX
    QGroupBox *GroupBox2;       // "Contest setting"
    QLineEdit *Edit6;           // myDXCCPrefix; the DXCC window fills Edit6 to Edit9
    QToolButton *SpeedButton1;  // "..."
    QLineEdit *Edit7;           // myCQZone
    QLineEdit *Edit8;           // myITUZone
    QLineEdit *Edit9;           // myContinent
    QPushButton *BitBtn1;       // "OK"

public slots:
    void BitBtn1Click();
    void SpeedButton1Click();

private:
    // Runs once, at creation: the fields show the file as it was at program start.
    void FormShow();
    void buildWindow();
};
