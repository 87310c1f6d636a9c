#include "AdifFormat.h"

#include "CabrilloFormat.h"
#include "ExportError.h"
#include "ExportText.h"
#include "LogDate.h"

namespace adif {

QString DateToAdif(const QString &date)
{
    const QDate d = logdate::fromText(date);
    if (!d.isValid())
        throw ConversionError(QStringLiteral("the date \"%1\" is not a date in the form %2")
                                  .arg(date, logdate::format()));
    return d.toString(QStringLiteral("yyyyMMdd"));
}

QByteArray field(const char *name, const QString &data)
{
    const QByteArray bytes = data.toUtf8();
    return '<' + QByteArray(name) + ':' + QByteArray::number(bytes.size()) + '>' + bytes;
}

QByteArrayList headerLines()
{
    return {field("PROGRAMID", QStringLiteral("ORVO log")), field("PROGRAMVERSION", QStringLiteral("1.0")),
            field("ADIF_VER", QStringLiteral("2.0")), QByteArrayLiteral("<EOH>")};
}

QByteArray recordLine(const QString &operatorCall, const QsoRecord &record)
{
    auto stored = [](const QString &value) { return exporttext::trimmed(exporttext::oneLine(value)); };
    const QString call2 = stored(record.call2);
    QByteArray line;
    line.reserve(200);
    line += field("OPERATOR", exporttext::oneLine(operatorCall));
    line += field("CALL", stored(record.call1));
    line += field("QSO_DATE", DateToAdif(stored(record.data)));
    line += field("TIME_ON", cabrillo::TimeToHHMM(stored(record.time)));
    line += field("FREQ", stored(record.QSOBand));
    line += field("MODE", stored(record.mode));
    line += field("RST_SENT", stored(record.rst1));
    line += field("STX", stored(record.nr2));
    line += field("RST_RCVD", stored(record.rst2));
    line += field("SRX", stored(record.nr1));
    line += field("COMMENT", call2);
    line += field("QSLMSG", QStringLiteral("You WKD with ") + call2 + QStringLiteral(" . PSE QSL TU 73!."));
    line += "<EOR>";
    return line;
}

} // namespace adif
