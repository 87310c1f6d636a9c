#include "LookupCall.h"

#include "CallCheck.h"
#include "CountryLookup.h"

#include <QStringList>

QString LookupCall(const QString &typed, const CountryLookup &lookup)
{
    QString base;
    if (!ValidCall(typed, base))
        return typed;
    // The check passed, so the text holds only 7-bit letters, digits and slashes.
    const QString call = typed.toUpper();
    if (lookup.isUniqueCall(call))
        return call;
    if (call.endsWith(QLatin1String("/MM")) || call.endsWith(QLatin1String("/AM")))
        return {};
    static const QStringList operatingSuffixes = {
        QStringLiteral("A"),  QStringLiteral("M"),   QStringLiteral("P"),    QStringLiteral("LH"),
        QStringLiteral("LGT"), QStringLiteral("QRPP"), QStringLiteral("AG"), QStringLiteral("YL"),
        QStringLiteral("JOTA"), QStringLiteral("YOTA")};
    const qsizetype slash = call.lastIndexOf(QLatin1Char('/'));
    if (slash > 0 && operatingSuffixes.contains(call.mid(slash + 1)))
        return LookupCall(call.left(slash), lookup);
    return base;
}
