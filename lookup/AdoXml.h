// Recordsets in the XML persistence format of Microsoft ADO: the format of the prefix tables.
// The reader takes what ADO and other producers write; the writer writes what ADO reads back.
#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <stdexcept>

namespace adoxml {

// A file that cannot be opened, read or written; the text names the file and what went wrong.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

struct Column {
    QString name;                          // the field's name (rs:name where the file aliases it)
    QString type = QStringLiteral("string"); // the XDR type: string, int, float, dateTime, ...
    int maxLength = 0;                     // strings: 0 = as long as the longest value
    bool isLong = false;                   // long text (memo), no length limit
    bool nullable = true;
};

// A field that is null (an absent attribute) holds no value; it reads as the empty text.
using Value = std::optional<QString>;
using Row = QList<Value>;

struct Recordset {
    QList<Column> columns;
    QList<Row> rows;

    // Field names compare without regard to case, as ADO compares them. -1 when absent.
    int columnIndex(const QString &name) const;
    // The field's text: the value as the file writes it, the empty text for null.
    QString text(int row, int column) const;
};

// The current view of the file: ordinary rows, pending inserts, and updated rows with their new
// values; pending deletes are left out. Columns the cursor engine hid are not fields.
Recordset read(const QByteArray &data, const QString &fileName);
Recordset readFile(const QString &path);

// UTF-8 without a byte-order mark or declaration, plain rows in rs:data, null as a missing
// attribute, nullability written explicitly.
QByteArray write(const Recordset &recordset);
void writeFile(const QString &path, const Recordset &recordset);

} // namespace adoxml
