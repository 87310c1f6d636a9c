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

namespace {
// PadToWidth's rule, appended to a line being built.
void appendPadded(QString &line, const QString &value, int width)
{
    line += value;
    const int missing = width - exporttext::length(value);
    if (missing > 0)
        line.resize(line.size() + missing, QLatin1Char(' '));
}
} // namespace

QString PadToWidth(const QString &value, int width)
{
    QString padded;
    appendPadded(padded, value, width);
    return padded;
}

QString qsoLine(const QsoRecord &record)
{
    using exporttext::oneLine;
    const QString freq = BandToFreq(oneLine(record.QSOBand));
    const QString date = DateToCabrillo(oneLine(record.data));
    const QLatin1Char blank(' ');
    QString line;
    line.reserve(96);
    line += QLatin1String("QSO: ");
    line += freq;
    line += blank;
    line += ModeToCabrillo(record.mode);
    line += blank;
    line += date;
    line += blank;
    line += TimeToHHMM(oneLine(record.time));
    line += blank;
    appendPadded(line, oneLine(record.call1), 14);
    appendPadded(line, oneLine(record.rst1), 3);
    line += blank;
    appendPadded(line, oneLine(record.nr1), 6);
    line += blank;
    appendPadded(line, oneLine(record.call2), 14);
    appendPadded(line, oneLine(record.rst2), 3);
    line += blank;
    appendPadded(line, oneLine(record.nr2), 6);
    return line;
}

} // namespace cabrillo
