// The Cabrillo export window.
#pragma once

#include "SecondaryWindow.h"

class TForm3 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm3(Forms &forms, QWidget *parent = nullptr);
};
