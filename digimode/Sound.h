// The Sound window: which sound device the decoder receives from.
#pragma once

#include "SecondaryWindow.h"

class TForm8 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm8(Forms &forms, QWidget *parent = nullptr);
};
