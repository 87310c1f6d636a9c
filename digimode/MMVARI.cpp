#include "MMVARI.h"

#include <QComboBox>

TForm4::TForm4(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form4"), QStringLiteral("MMVARI"), parent)
{
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->addItems({"1.8", "3.5", "7", "14", "21", "28"});
    ComboBox1->setCurrentText(QStringLiteral("1.8"));
    ComboBox1->move(40, 130);
    setClientSize(627, 434);
}
