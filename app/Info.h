// The information window: the program's name and version.
#pragma once

#include "SecondaryWindow.h"

class QLabel;
class QPushButton;

class TForm6 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm6(Forms &forms, QWidget *parent = nullptr);

    QLabel *Label1;
    QPushButton *Button1;
};
