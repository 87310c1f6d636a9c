#include "Edit.h"

TForm2::TForm2(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form2"), QStringLiteral("Edit"), parent)
{
    setClientSize(250, 395);
}
