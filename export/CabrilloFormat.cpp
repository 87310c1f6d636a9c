#include "CabrilloFormat.h"

#include "ExportError.h"
#include "ExportText.h"
#include "LogDate.h"

#include <QHash>
#include <cmath>

namespace cabrillo {

QString BandToFreq(const QString &band)
{
    bool ok = false;
    // QString::toDouble reads the C locale's form whatever the system's locale: "." always.
    const double mhz = band.toDouble(&ok);
    if (!ok || !std::isfinite(mhz))
        throw ConversionError(QStringLiteral("the band \"%1\" is not a number").arg(band));
    const double khz = mhz * 1000;
    const QString text = QString::number(khz, 'g', 15);
    return khz < 8000 ? QLatin1Char(' ') + text : text;
}

QString ModeToCabrillo(const QString &mode)
{
    static const QHash<QString, QString> codes{
        {QStringLiteral("CW"), QStringLiteral("CW")},     {QStringLiteral("SSB"), QStringLiteral("PH")},
        {QStringLiteral("RTTY"), QStringLiteral("RY")},   {QStringLiteral("BPSK31"), QStringLiteral("PS")},
        {QStringLiteral("BPSK63"), QStringLiteral("PM")}, {QStringLiteral("BPSK125"), QStringLiteral("PO")},
    };
    return codes.value(mode, QStringLiteral("DG"));
}

QString DateToCabrillo(const QString &date)
{
    const QDate d = exporttext::storedDate(date);
    if (!d.isValid())
        throw ConversionError(QStringLiteral("the date \"%1\" is not a date in the form %2")
                                  .arg(date, logdate::format()));
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString TimeToHHMM(const QString &time)
{
    QString t = time;
    if (t.size() >= 3)
        t.remove(2, 1);
    return t;
}

QString PadToWidth(const QString &value, int width)
{
    const int length = exporttext::length(value);
    return length >= width ? value : value + QString(width - length, QLatin1Char(' '));
}

QString qsoLine(const QsoRecord &record)
{
    using exporttext::oneLine;
    const QString freq = BandToFreq(oneLine(record.QSOBand));
    const QString date = DateToCabrillo(oneLine(record.data));
    const QLatin1Char blank(' ');
    return QStringLiteral("QSO: ") + freq + blank + ModeToCabrillo(record.mode) + blank + date + blank
        + TimeToHHMM(oneLine(record.time)) + blank + PadToWidth(oneLine(record.call1), 14)
        + PadToWidth(oneLine(record.rst1), 3) + blank + PadToWidth(oneLine(record.nr1), 6) + blank
        + PadToWidth(oneLine(record.call2), 14) + PadToWidth(oneLine(record.rst2), 3) + blank
        + PadToWidth(oneLine(record.nr2), 6);
}

} // namespace cabrillo
