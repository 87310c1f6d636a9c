// The decoder window: spectrum, waterfall and decoded text of the digital modes.
#pragma once

#include "SecondaryWindow.h"

class QComboBox;

class TForm4 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm4(Forms &forms, QWidget *parent = nullptr);

    QComboBox *ComboBox1;   // band box
};
