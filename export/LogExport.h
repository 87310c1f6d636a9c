// The whole log as a Cabrillo or ADIF file: every contact of the table view in id order, and
// the file written whole or not at all. The windows and orvo-export both go through here.
#pragma once

#include "CabrilloHeader.h"

#include <QByteArray>
#include <QString>

struct QsoRecord;
class QsoStore;

namespace logexport {

// The QSO line of the contact at row; a value that cannot be converted throws ExportError
// naming the contact (date, time, heard call) and its row.
QString cabrilloLine(const QsoRecord &record, int row);

// The file's bytes: UTF-8, no byte-order mark, CR LF after every line. Walking the log moves
// the store's current row: to the last contact when every one converted, to the contact that
// stopped the export (ExportError with its row) otherwise.
QByteArray cabrilloFile(const cabrillo::Header &header, QsoStore &store);
QByteArray adifFile(const QString &operatorCall, QsoStore &store);

// The program's folder, the name and the extension: where the windows write an export named
// after the callsign. Throws ExportError when the name would lead out of that folder.
QString programFile(const QString &name, const QString &extension);

// Writes content to a temporary file beside path and renames it over path, so that a failure
// leaves an old file as it was. what names the kind of file in the message ("Cabrillo file").
void save(const QString &path, const QByteArray &content, const QString &what);

} // namespace logexport
