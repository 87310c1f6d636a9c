// How the log writes and reads the date of a contact: the system's short date format,
// with the year widened to four digits so that a stored date keeps its century.
#pragma once

#include <QDate>
#include <QString>

namespace logdate {

QString format();                       // e.g. "dd.MM.yyyy" or "M/d/yyyy"
QString toText(const QDate &date);
// Reads a stored date in the log's format; also the ISO form and day.month.year, which
// older logs and other programs write. An invalid QDate when the text is none of these.
QDate fromText(const QString &text);

} // namespace logdate
