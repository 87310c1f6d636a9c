#include "Sound.h"

TForm8::TForm8(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form8"), QStringLiteral("Sound"), parent)
{
    setClientSize(200, 115);
}
