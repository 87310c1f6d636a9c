#include "DXCCPrefix.h"

#include "CallCheck.h"
#include "ErrorDisplay.h"

#include <QTimer>

TForm9::TForm9(Forms &forms, QWidget *parent)
    : SecondaryWindow(forms, QStringLiteral("Form9"), QStringLiteral("DXCC and Prefix List"), parent)
{
    resize(928, 477);
    FormCreate();
}

void TForm9::FormCreate()
{
    loadProblems_ = lookup_.load(QString());
    if (!loadProblems_.isEmpty()) {
        // Reported once, after start-up has finished creating the windows.
        const QString message = QStringLiteral("The country lookup works without some of its data:\n\n")
            + loadProblems_.join(QLatin1Char('\n'));
        QTimer::singleShot(0, this, [message] { errordisplay::show(message); });
    }
}

bool TForm9::ValidCall(const QString &call, QString &baseCall) const
{
    return ::ValidCall(call, baseCall);
}

void TForm9::FindCountry(const QString &call, QString &dxccPrefix, QString &country, QString &cqZone,
                         QString &ituZone, QString &continent, QString &prefix)
{
    lookup_.FindCountry(call, dxccPrefix, country, cqZone, ituZone, continent, prefix);
}
