#include "Info.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TForm6::TForm6(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form6"), QStringLiteral("Info"), parent)
{
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("ORVO Contest Logger v1.1\n\nA contest log for short-wave listeners."), this);
    Label1->setAlignment(Qt::AlignCenter);
    QFont f = Label1->font();
    f.setBold(true);
    Label1->setFont(f);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    layout->addWidget(Label1);
    layout->addWidget(Button1, 0, Qt::AlignCenter);
    connect(Button1, &QPushButton::clicked, this, &QWidget::close);
    setClientSize(300, 140);
}
