// The Cabrillo export window: the header fields, a preview of the header and one QSO line,
// and "Save Cabrillo", which writes the whole log to <program folder>/<CALLSIGN>.cbr.
#pragma once

#include "SecondaryWindow.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
namespace cabrillo {
struct Header;
}

class TForm3 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm3(Forms &forms, QWidget *parent = nullptr);

    QLineEdit *Edit1;          // CONTEST
    QLineEdit *Edit2;          // CALLSIGN, from the settings at every showing
    QComboBox *ComboBox4;      // CATEGORY-OPERATOR
    QComboBox *ComboBox1;      // CATEGORY-BAND
    QComboBox *ComboBox2;      // CATEGORY-MODE
    QLineEdit *Edit12;         // CATEGORY-TRANSMITTER
    QLineEdit *Edit3;          // CLAIMED-SCORE, the main window's score at every showing
    QLineEdit *Edit9;          // CREATED-BY, fixed
    QLineEdit *Edit7;          // EMAIL
    QLineEdit *Edit5;          // NAME
    QLineEdit *Edit8;          // LOCATION
    QPlainTextEdit *Memo2;     // ADDRESS, four lines used
    QLineEdit *Edit13;         // SOAPBOX
    QPushButton *BitBtn1;      // "Test"
    QPlainTextEdit *Memo4;     // the preview
    QPlainTextEdit *Memo1;     // the layout of a QSO line, fixed
    QPushButton *BitBtn2;      // "Save Cabrillo"

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void FormClose();
    void buildWindow();
    cabrillo::Header header() const;
};
