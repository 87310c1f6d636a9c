// The ADIF export window.
#pragma once

#include "SecondaryWindow.h"

class TForm5 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm5(Forms &forms, QWidget *parent = nullptr);
};
