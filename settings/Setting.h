// The settings window: station data for the Cabrillo header and the operator's contest data.
#pragma once

#include "SecondaryWindow.h"

class TForm7 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm7(Forms &forms, QWidget *parent = nullptr);
};
