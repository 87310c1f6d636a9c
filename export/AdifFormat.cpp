#include "AdifFormat.h"

#include "CabrilloFormat.h"
#include "ExportError.h"
#include "ExportText.h"
#include "LogDate.h"

namespace adif {

QString DateToAdif(const QString &date)
{
    const QDate d = exporttext::storedDate(date);
    if (!d.isValid())
        throw ConversionError(QStringLiteral("the date \"%1\" is not a date in the form %2")
                                  .arg(date, logdate::format()));
    return d.toString(QStringLiteral("yyyyMMdd"));
}

namespace {
void appendField(QByteArray &out, const char *name, const QString &data)
{
    const QByteArray bytes = data.toUtf8();
    out += '<';
    out += name;
    out += ':';
    out += QByteArray::number(bytes.size());
    out += '>';
    out += bytes;
}
} // namespace

QByteArray field(const char *name, const QString &data)
{
    QByteArray out;
    appendField(out, name, data);
    return out;
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
    line.reserve(256);
    appendField(line, "OPERATOR", exporttext::oneLine(operatorCall));
    appendField(line, "CALL", stored(record.call1));
    appendField(line, "QSO_DATE", DateToAdif(stored(record.data)));
    appendField(line, "TIME_ON", cabrillo::TimeToHHMM(stored(record.time)));
    appendField(line, "FREQ", stored(record.QSOBand));
    appendField(line, "MODE", stored(record.mode));
    appendField(line, "RST_SENT", stored(record.rst1));
    appendField(line, "STX", stored(record.nr2));
    appendField(line, "RST_RCVD", stored(record.rst2));
    appendField(line, "SRX", stored(record.nr1));
    appendField(line, "COMMENT", call2);
    appendField(line, "QSLMSG", QStringLiteral("You WKD with ") + call2 + QStringLiteral(" . PSE QSL TU 73!."));
    line += "<EOR>";
    return line;
}

} // namespace adif
