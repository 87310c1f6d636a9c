#include "LogExport.h"

#include "AdifFormat.h"
#include "CabrilloFormat.h"
#include "ExportError.h"
#include "ExportText.h"
#include "ProgramFolder.h"
#include "QsoStore.h"
#include "QsoTableModel.h"
#include "WholeFile.h"

#include <QDir>
#include <QFileInfo>

namespace logexport {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// A stored value as the message shows it: short enough for a message box.
QString shown(const QString &value)
{
    if (value.trimmed().isEmpty())
        return QStringLiteral("(empty)");
    const QString line = exporttext::oneLine(value);
    return line.size() > 40 ? line.left(40) + QStringLiteral("...") : line;
}

[[noreturn]] void refuse(const QsoRecord &r, int row, const ConversionError &e)
{
    throw ExportError(QStringLiteral("The contact of %1 %2 heard %3 cannot be exported: %4. "
                                     "Correct it in the log, then export again.")
                          .arg(shown(r.data), shown(r.time), shown(r.call1), QString::fromUtf8(e.what())),
                      row);
}

// Calls line for every contact in id order, then leaves the current row on the last one.
template <class Line>
void walk(QsoStore &store, Line &&line)
{
    const QsoTableModel &table = store.table();
    const int count = table.rowCount();
    for (int row = 0; row < count; ++row) {
        const QsoRecord record = table.record(row);
        try {
            line(record);
        } catch (const ConversionError &e) {
            store.setCurrentRow(row);
            refuse(record, row, e);
        }
    }
    store.setCurrentRow(count - 1);
}

} // namespace

QString cabrilloLine(const QsoRecord &record, int row)
{
    try {
        return cabrillo::qsoLine(record);
    } catch (const ConversionError &e) {
        refuse(record, row, e);
    }
}

QByteArray cabrilloFile(const cabrillo::Header &header, QsoStore &store)
{
    QString text;
    text.reserve(qsizetype(store.recordCount() + 20) * 82);
    for (const QString &line : cabrillo::headerLines(header))
        text += line + QLatin1String("\r\n");
    walk(store, [&text](const QsoRecord &r) {
        text += cabrillo::qsoLine(r);
        text += QLatin1String("\r\n");
    });
    text += cabrillo::kEndOfLog + QLatin1String("\r\n");
    return text.toUtf8();
}

QByteArray adifFile(const QString &operatorCall, QsoStore &store)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(store.recordCount() + 1) * 220);
    for (const QByteArray &line : adif::headerLines())
        bytes += line + kLineEnd;
    walk(store, [&](const QsoRecord &r) {
        bytes += adif::recordLine(operatorCall, r);
        bytes += kLineEnd;
    });
    return bytes;
}

QString programFile(const QString &name, const QString &extension)
{
    const QString path = programfolder::file(name + extension);
    // A callsign such as DL/UA1XYZ would name a file in another folder, or none.
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        throw ExportError(QStringLiteral("Cannot write %1: the callsign \"%2\" holds a character that a file "
                                         "name cannot take (\"/\"). Change the callsign and save again.")
                              .arg(QDir::toNativeSeparators(path), shown(name)));
    return path;
}

void save(const QString &path, const QByteArray &content, const QString &what)
{
    const QString failure = wholefile::write(path, content);
    if (!failure.isEmpty())
        throw ExportError(QStringLiteral("Cannot write the %1 %2: %3")
                              .arg(what, QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), failure));
}

} // namespace logexport
