#include "Setting.h"

TForm7::TForm7(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form7"), QStringLiteral("Setting"), parent)
{
    setClientSize(449, 266);
}
