// The Sound window: which sound device the decoder window's engine receives from. A choice
// takes effect at once and is not kept: each run starts with the system's default device.
#pragma once

#include "SecondaryWindow.h"

class QComboBox;
class QPlainTextEdit;

class TForm8 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm8(Forms &forms, QWidget *parent = nullptr);

    QComboBox *ComboBox1;     // "-1" the default device, "0" the first card, ...
    QPlainTextEdit *Memo1;    // the legend

public slots:
    void ComboBox1Change();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
};
