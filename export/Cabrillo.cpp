#include "Cabrillo.h"

TForm3::TForm3(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form3"), QStringLiteral("Cabrillo"), parent)
{
    setClientSize(790, 644);
}
