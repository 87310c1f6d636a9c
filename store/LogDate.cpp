#include "LogDate.h"

#include <QLocale>
#include <QRegularExpression>

namespace logdate {

QString format()
{
    QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
    // A lone "yy" (not already "yyyy") becomes "yyyy".
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    f.replace(twoDigitYear, QStringLiteral("yyyy"));
    return f;
}

QString toText(const QDate &date)
{
    return QLocale::system().toString(date, format());
}

QDate fromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    // Some stored dates carry a time part after the date; only the date counts.
    static const QRegularExpression timePart(QStringLiteral("\\s+\\d{1,2}:\\d{2}(:\\d{2})?$"));
    const QString datePart = QString(trimmed).remove(timePart);
    for (const QString &candidate : {trimmed, datePart}) {
        QDate d = QLocale::system().toDate(candidate, format());
        if (!d.isValid())
            d = QDate::fromString(candidate, Qt::ISODate);
        if (!d.isValid())
            d = QDate::fromString(candidate, QStringLiteral("dd.MM.yyyy"));
        if (d.isValid())
            return d;
    }
    return {};
}

} // namespace logdate
