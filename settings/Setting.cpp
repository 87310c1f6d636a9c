#include "Setting.h"

#include "DXCCPrefix.h"
#include "ErrorDisplay.h"
#include "MemoLines.h"
#include "OptionsIni.h"
#include "OptionsKeys.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using namespace optionskeys;

namespace {

constexpr int kRowHeight = 21;

QLineEdit *field(QWidget *group, const QString &objectName, const QString &caption, int labelWidth, int y,
                 int width)
{
    auto *label = new QLabel(caption, group);
    label->setGeometry(8, y, labelWidth, kRowHeight);
    auto *edit = new QLineEdit(group);
    edit->setObjectName(objectName);
    edit->setGeometry(8 + labelWidth, y, width, kRowHeight);
    return edit;
}

} // namespace

TForm7::TForm7(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form7"), QStringLiteral("Setting"), parent)
{
    setClientSize(449, 266);
    buildWindow();
    FormShow();
}

void TForm7::buildWindow()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(0, 0, 449, 266);

    GroupBox1 = new QGroupBox(QStringLiteral("Cabrillo setting"), panel);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 265, 225);
    Edit1 = field(GroupBox1, QStringLiteral("Edit1"), QStringLiteral("CALLSIGN:"), 68, 18, 181);
    Edit2 = field(GroupBox1, QStringLiteral("Edit2"), QStringLiteral("NAME:"), 68, 42, 181);
    Edit3 = field(GroupBox1, QStringLiteral("Edit3"), QStringLiteral("LOCATION:"), 68, 66, 181);
    Edit4 = field(GroupBox1, QStringLiteral("Edit4"), QStringLiteral("EMAIL:"), 68, 90, 181);
    auto *addressLabel = new QLabel(QStringLiteral("ADRESS:"), GroupBox1);
    addressLabel->setGeometry(8, 114, 68, kRowHeight);
    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(76, 114, 181, 78);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab leaves the box for the next field instead of typing a tab into the address.
    Memo1->setTabChangesFocus(true);
    Edit5 = field(GroupBox1, QStringLiteral("Edit5"), QStringLiteral("SOAPBOX:"), 68, 196, 181);

    GroupBox2 = new QGroupBox(QStringLiteral("Contest setting"), panel);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(280, 8, 161, 122);
    Edit6 = field(GroupBox2, QStringLiteral("Edit6"), QStringLiteral("Your DXCC"), 64, 18, 54);
    SpeedButton1 = new QToolButton(GroupBox2);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("..."));
    SpeedButton1->setGeometry(128, 18, 23, kRowHeight);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    Edit7 = field(GroupBox2, QStringLiteral("Edit7"), QStringLiteral("CQ Zone"), 64, 42, 81);
    Edit8 = field(GroupBox2, QStringLiteral("Edit8"), QStringLiteral("ITU Zone"), 64, 66, 81);
    Edit9 = field(GroupBox2, QStringLiteral("Edit9"), QStringLiteral("Continent"), 64, 90, 81);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), panel);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(187, 237, 75, 26);

    QWidget *order[] = {Edit1, Edit2, Edit3, Edit4, Memo1, Edit5, BitBtn1, Edit6, Edit7, Edit8, Edit9};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(BitBtn1, &QPushButton::clicked, this, errordisplay::guarded(this, &TForm7::BitBtn1Click));
    connect(SpeedButton1, &QToolButton::clicked, this, errordisplay::guarded(this, &TForm7::SpeedButton1Click));
}

void TForm7::FormShow()
{
    const OptionsIni ini;
    auto read = [&ini](const QString &key) { return ini.value(kDirectories, key); };
    Edit1->setText(read(kCallsign));
    Edit4->setText(read(kEmail));
    Edit2->setText(read(kName));
    Edit3->setText(read(kLocation));
    memolines::setLines(Memo1, {read(kAddress[0]), read(kAddress[1]), read(kAddress[2]), read(kAddress[3])});
    Edit5->setText(read(kSoapbox));
    Edit6->setText(read(kMyDxccPrefix));
    Edit7->setText(read(kMyCqZone));
    Edit8->setText(read(kMyItuZone));
    Edit9->setText(read(kMyContinent));
}

void TForm7::BitBtn1Click()
{
    // Each line the box shows is one address line, a wrapped part included; lines after the
    // fourth are not kept.
    const QStringList shown = memolines::shownLines(Memo1);
    auto address = [&shown](int i) { return i < shown.size() ? shown[i] : QString(); };
    OptionsIni ini;
    ini.write(kDirectories, {{kCallsign, Edit1->text()},
                             {kEmail, Edit4->text()},
                             {kName, Edit2->text()},
                             {kLocation, Edit3->text()},
                             {kAddress[0], address(0)},
                             {kAddress[1], address(1)},
                             {kAddress[2], address(2)},
                             {kAddress[3], address(3)},
                             {kSoapbox, Edit5->text()},
                             {kMyDxccPrefix, Edit6->text()},
                             {kMyCqZone, Edit7->text()},
                             {kMyItuZone, Edit8->text()},
                             {kMyContinent, Edit9->text()}});
    close();
}

void TForm7::SpeedButton1Click()
{
    forms.Form9->showCountryTab();
}
