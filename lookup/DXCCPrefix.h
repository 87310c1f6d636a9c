// The DXCC window: the prefix tables and the country lookup.
#pragma once

#include "SecondaryWindow.h"

class TForm9 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm9(Forms &forms, QWidget *parent = nullptr);
};
