// The edit dialog of the current contact.
#pragma once

#include "SecondaryWindow.h"

class TForm2 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm2(Forms &forms, QWidget *parent = nullptr);
};
