#include "ContestRules.h"

#include <QFrame>
#include <QVBoxLayout>

TForm10::TForm10(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form10"), QStringLiteral("Contest Rules"), parent)
{
    auto *layout = new QVBoxLayout(this);
    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(Panel1);
    resize(400, 300);
}
