#include "ADIF.h"

TForm5::TForm5(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form5"), QStringLiteral("ADIF"), parent)
{
    setClientSize(195, 121);
}
