// The fields of an ADIF 2.0 file, one line per contact. The file is UTF-8 and every length
// counts the bytes of the data as written, so that a reader that counts bytes, as ADIF
// readers do, takes exactly the data.
#pragma once

#include "QsoRecord.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace adif {

// The stored date as "yyyymmdd"; throws ConversionError for a text that is no date.
QString DateToAdif(const QString &date);

// "<NAME:length>data".
QByteArray field(const char *name, const QString &data);

// PROGRAMID, PROGRAMVERSION, ADIF_VER and "<EOH>", one a line.
QByteArrayList headerLines();

// The record of one contact. operatorCall is written as given; the stored values are trimmed
// first (blanks and control characters at either end). The reports and numbers pair
// crosswise: RST_SENT rst1 with STX nr2, RST_RCVD rst2 with SRX nr1. A line break inside a
// value becomes a blank. Throws ConversionError for a date that cannot be converted.
QByteArray recordLine(const QString &operatorCall, const QsoRecord &record);

} // namespace adif
