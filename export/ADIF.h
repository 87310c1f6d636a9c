// The ADIF export window: the operator's callsign and "Save ADIF", which writes the whole log
// to <program folder>/<Your Call>.adi.
#pragma once

#include "SecondaryWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm5 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm5(Forms &forms, QWidget *parent = nullptr);

    QLabel *Label1;        // "Your Call"
    QLineEdit *Edit1;      // the operator's callsign, from the settings at every showing
    QPushButton *Button1;  // "Save ADIF"

public slots:
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
};
