// The contest rules window: an empty panel that nothing opens yet.
#pragma once

#include "SecondaryWindow.h"

class QFrame;

class TForm10 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm10(Forms &forms, QWidget *parent = nullptr);

    QFrame *Panel1;
};
