#include "DXCCPrefix.h"

TForm9::TForm9(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form9"), QStringLiteral("DXCC and Prefix List"), parent)
{
    resize(928, 477);
}
