#include "Sound.h"

#include "Engine.h"
#include "ErrorDisplay.h"
#include "MMVARI.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShowEvent>

using errordisplay::guarded;

TForm8::TForm8(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form8"), QStringLiteral("Sound"), parent)
{
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setCompleter(nullptr);
    for (int id = -1; id <= 10; ++id)
        ComboBox1->addItem(QString::number(id));
    ComboBox1->setGeometry(8, 8, 137, 22);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QStringLiteral("-1  Windows default\n0   First soundcard\n1   Second soundcard\n"));
    Memo1->setGeometry(8, 40, 137, 65);

    // Typed or picked, every change goes to the engine at once, a partial one too.
    connect(ComboBox1, &QComboBox::textActivated, this, guarded(this, &TForm8::ComboBox1Change));
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, guarded(this, &TForm8::ComboBox1Change));
    setClientSize(200, 115);
}

void TForm8::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        errordisplay::run([this] { FormShow(); });
    SecondaryWindow::showEvent(event);
}

void TForm8::FormShow()
{
    ComboBox1->setCurrentText(forms.Form4->MMVARI->strSoundID());
}

void TForm8::ComboBox1Change()
{
    forms.Form4->setSoundDevice(ComboBox1->currentText());
}
