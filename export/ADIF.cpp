#include "ADIF.h"

#include "ErrorDisplay.h"
#include "Log.h"
#include "LogExport.h"
#include "OptionsIni.h"
#include "OptionsKeys.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TForm5::TForm5(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form5"), QStringLiteral("ADIF"), parent)
{
    setClientSize(195, 121);

    QFont bold = font();
    bold.setBold(true);
    Label1 = new QLabel(QStringLiteral("Your Call"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(bold);
    Label1->setGeometry(8, 8, 179, 20);

    QFont callFont = bold;
    callFont.setPixelSize(13);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFont(callFont);
    Edit1->setGeometry(8, 32, 179, 26);

    Button1 = new QPushButton(QStringLiteral("Save ADIF"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(8, 76, 179, 32);
    connect(Button1, &QPushButton::clicked, this, errordisplay::guarded(this, &TForm5::Button1Click));
}

void TForm5::showEvent(QShowEvent *event)
{
    // A spontaneous show is the window coming back from the task bar, not a new showing.
    if (!event->spontaneous())
        FormShow();
    SecondaryWindow::showEvent(event);
}

void TForm5::FormShow()
{
    Edit1->setText(OptionsIni().value(optionskeys::kDirectories, optionskeys::kCallsign));
}

void TForm5::Button1Click()
{
    const QByteArray content = logexport::adifFile(Edit1->text(), forms.Form1->store());
    logexport::save(logexport::programFile(Edit1->text(), QStringLiteral(".adi")), content,
                    QStringLiteral("ADIF file"));
    close();
}
