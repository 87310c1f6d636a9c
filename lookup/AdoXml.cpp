#include "AdoXml.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <climits>

namespace adoxml {

namespace {

// Prefixes are the producer's choice; the namespaces are what identify the vocabulary.
const QString kSchemaNs = QStringLiteral("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882");
const QString kTypesNs = QStringLiteral("uuid:C2F41010-65B3-11d1-A29F-00AA00C14882");
const QString kRowsetNs = QStringLiteral("urn:schemas-microsoft-com:rowset");
const QString kRowNs = QStringLiteral("#RowsetSchema");

bool isTrue(QStringView v)
{
    return v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || v == QLatin1String("1")
        || v == QLatin1String("-1");
}

struct ColumnDefinition {
    Column column;
    QString xmlName;
    int number = 0;
    bool hidden = false;
    bool nullableSet = false;
    bool maybeNullFalse = false;
};

class Reader {
public:
    Reader(const QByteArray &data, const QString &fileName) : xml(data), file(fileName) {}

    Recordset run()
    {
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (is(kSchemaNs, "Schema") && !haveSchema)
                readSchema();
            else if (is(kRowsetNs, "data") && !haveData)
                readData();
        }
        if (xml.hasError())
            throw Error(QStringLiteral("The file %1 is not a readable ADO XML recordset: %2 "
                                       "(line %3, column %4).")
                            .arg(file, xml.errorString())
                            .arg(xml.lineNumber())
                            .arg(xml.columnNumber()));
        if (!haveData)
            throw Error(QStringLiteral("The file %1 holds no ADO XML recordset: it has no rs:data "
                                       "element.")
                            .arg(file));
        return std::move(result);
    }

private:
    bool is(const QString &ns, const char *localName) const
    {
        return xml.namespaceUri() == ns && xml.name() == QLatin1String(localName);
    }

    void readSchema()
    {
        bool haveElementType = false;
        while (xml.readNextStartElement()) {
            if (is(kSchemaNs, "ElementType") && !haveElementType) {
                haveElementType = true;
                readElementType();
            } else if (is(kSchemaNs, "AttributeType")) {
                freeDefinitions << readAttributeType();
            } else {
                xml.skipCurrentElement();
            }
        }
        finishSchema();
    }

    void readElementType()
    {
        const QString name = xml.attributes().value(QLatin1String("name")).toString();
        if (!name.isEmpty())
            rowName = name;
        while (xml.readNextStartElement()) {
            if (is(kSchemaNs, "AttributeType"))
                inlineDefinitions << readAttributeType();
            else if (is(kSchemaNs, "attribute")) {
                references << xml.attributes().value(QLatin1String("type")).toString();
                xml.skipCurrentElement();
            } else {
                // s:extends in either spelling, and the child row types of a hierarchical file.
                xml.skipCurrentElement();
            }
        }
    }

    void readTypeAttributes(ColumnDefinition &d)
    {
        for (const QXmlStreamAttribute &a : xml.attributes()) {
            const QStringView n = a.name();
            const QStringView v = a.value();
            if (a.namespaceUri() == kTypesNs) {
                if (n == QLatin1String("type"))
                    d.column.type = v.toString();
                else if (n == QLatin1String("maxLength"))
                    d.column.maxLength = int(std::min<qint64>(v.toLongLong(), INT_MAX));
            } else if (a.namespaceUri() == kRowsetNs) {
                if (n == QLatin1String("name"))
                    d.column.name = v.toString();
                else if (n == QLatin1String("number"))
                    d.number = v.toInt();
                else if (n == QLatin1String("hidden"))
                    d.hidden = isTrue(v);
                else if (n == QLatin1String("long"))
                    d.column.isLong = isTrue(v);
                else if (n == QLatin1String("nullable"))
                    d.nullableSet = d.nullableSet || isTrue(v);
                else if (n == QLatin1String("maybenull"))
                    d.maybeNullFalse = !isTrue(v);
            } else if (a.namespaceUri().isEmpty() && n == QLatin1String("name")) {
                d.xmlName = v.toString();
            }
        }
    }

    ColumnDefinition readAttributeType()
    {
        ColumnDefinition d;
        readTypeAttributes(d);
        while (xml.readNextStartElement()) {
            if (is(kSchemaNs, "datatype"))
                readTypeAttributes(d);
            xml.skipCurrentElement();
        }
        if (d.column.name.isEmpty())
            d.column.name = d.xmlName;
        d.column.nullable = d.nullableSet || !d.maybeNullFalse;
        return d;
    }

    void finishSchema()
    {
        haveSchema = true;
        QList<ColumnDefinition> ordered;
        if (!references.isEmpty()) {
            // Referenced definitions are found without regard to case, as ADO finds them.
            const QList<ColumnDefinition> all = freeDefinitions + inlineDefinitions;
            for (const QString &ref : std::as_const(references)) {
                const auto it = std::find_if(all.begin(), all.end(), [&](const ColumnDefinition &d) {
                    return d.xmlName.compare(ref, Qt::CaseInsensitive) == 0;
                });
                if (it != all.end())
                    ordered << *it;
            }
        } else {
            ordered = inlineDefinitions;
            const bool numbered = std::all_of(ordered.begin(), ordered.end(),
                                              [](const ColumnDefinition &d) { return d.number > 0; });
            if (numbered)
                std::stable_sort(ordered.begin(), ordered.end(),
                                 [](const ColumnDefinition &a, const ColumnDefinition &b) {
                                     return a.number < b.number;
                                 });
        }
        for (const ColumnDefinition &d : std::as_const(ordered)) {
            if (d.hidden || d.xmlName.isEmpty())
                continue;
            columnByName.insert(d.xmlName, int(result.columns.size()));
            columnByLowerName.insert(d.xmlName.toLower(), int(result.columns.size()));
            result.columns << d.column;
        }
    }

    int columnOf(const QString &xmlName) const
    {
        const auto it = columnByName.constFind(xmlName);
        if (it != columnByName.constEnd())
            return *it;
        return columnByLowerName.value(xmlName.toLower(), -1);
    }

    bool isRow() const { return xml.namespaceUri() == kRowNs && xml.name() == rowName; }

    // Lays the row's attributes over `row`; attributes outside the schema are no fields.
    void readRowInto(Row &row)
    {
        QStringList forcedNull;
        for (const QXmlStreamAttribute &a : xml.attributes()) {
            if (a.namespaceUri().isEmpty()) {
                const int c = columnOf(a.name().toString());
                if (c >= 0)
                    row[c] = a.value().toString();
            } else if (a.namespaceUri() == kRowsetNs && a.name() == QLatin1String("forcenull")) {
                forcedNull = a.value().toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            }
        }
        for (const QString &name : std::as_const(forcedNull)) {
            const int c = columnOf(name);
            if (c >= 0)
                row[c].reset();
        }
        xml.skipCurrentElement();
    }

    Row emptyRow() const { return Row(result.columns.size()); }

    void readData()
    {
        haveData = true;
        if (!haveSchema)
            throw Error(QStringLiteral("The file %1 is not a readable ADO XML recordset: its rows "
                                       "come before the schema (line %2).")
                            .arg(file)
                            .arg(xml.lineNumber()));
        while (xml.readNextStartElement()) {
            if (isRow()) {
                Row row = emptyRow();
                readRowInto(row);
                result.rows << row;
            } else if (is(kRowsetNs, "insert")) {
                while (xml.readNextStartElement()) {
                    if (isRow()) {
                        Row row = emptyRow();
                        readRowInto(row);
                        result.rows << row;
                    } else {
                        xml.skipCurrentElement();
                    }
                }
            } else if (is(kRowsetNs, "update")) {
                readUpdate();
            } else {
                // rs:delete: rows that are gone from the current view.
                xml.skipCurrentElement();
            }
        }
    }

    // The updated row is the original with the new values laid over it; a missing attribute in
    // the new values means "unchanged".
    void readUpdate()
    {
        Row row = emptyRow();
        bool any = false;
        while (xml.readNextStartElement()) {
            if (is(kRowsetNs, "original")) {
                while (xml.readNextStartElement()) {
                    if (isRow()) {
                        readRowInto(row);
                        any = true;
                    } else {
                        xml.skipCurrentElement();
                    }
                }
            } else if (isRow()) {
                readRowInto(row);
                any = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (any)
            result.rows << row;
    }

    QXmlStreamReader xml;
    QString file;
    QString rowName = QStringLiteral("row");
    bool haveSchema = false;
    bool haveData = false;
    QList<ColumnDefinition> inlineDefinitions;
    QList<ColumnDefinition> freeDefinitions;
    QStringList references;
    QHash<QString, int> columnByName;
    QHash<QString, int> columnByLowerName;
    Recordset result;
};

// Control characters other than tab and line breaks are not allowed in XML 1.0 at all.
QString xmlSafe(const QString &value)
{
    QString s;
    s.reserve(value.size());
    for (QChar c : value) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0xFFFE || u == 0xFFFF)
            continue;
        s += c;
    }
    return s;
}

// A name that is no plain identifier, or that repeats another, is written under an alias.
QStringList xmlNames(const QList<Column> &columns)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    QStringList names;
    QStringList lowerSeen;
    for (const Column &c : columns) {
        const QString lower = c.name.toLower();
        const bool usable = plain.match(c.name).hasMatch() && !lower.startsWith(QLatin1String("xml"))
            && !lowerSeen.contains(lower);
        lowerSeen << lower;
        names << (usable ? c.name : QString());
    }
    for (int i = 0; i < names.size(); ++i) {
        if (!names[i].isEmpty())
            continue;
        QString alias = QStringLiteral("c%1").arg(i);
        while (names.contains(alias, Qt::CaseInsensitive))
            alias += QLatin1Char('_');
        names[i] = alias;
    }
    return names;
}

bool isNumericOrDate(const QString &type)
{
    return type != QLatin1String("string") && type != QLatin1String("bin.hex");
}

} // namespace

int Recordset::columnIndex(const QString &name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString Recordset::text(int row, int column) const
{
    return rows[row][column].value_or(QString());
}

Recordset read(const QByteArray &data, const QString &fileName)
{
    return Reader(data, fileName).run();
}

Recordset readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open %1: %2.").arg(path, f.errorString()));
    return read(f.readAll(), path);
}

QByteArray write(const Recordset &recordset)
{
    const QStringList names = xmlNames(recordset.columns);
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(-1);

    w.writeStartElement(QStringLiteral("xml"));
    w.writeNamespace(kSchemaNs, QStringLiteral("s"));
    w.writeNamespace(kTypesNs, QStringLiteral("dt"));
    w.writeNamespace(kRowsetNs, QStringLiteral("rs"));
    w.writeNamespace(kRowNs, QStringLiteral("z"));

    w.writeStartElement(kSchemaNs, QStringLiteral("Schema"));
    w.writeAttribute(QStringLiteral("id"), QStringLiteral("RowsetSchema"));
    w.writeStartElement(kSchemaNs, QStringLiteral("ElementType"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("row"));
    w.writeAttribute(QStringLiteral("content"), QStringLiteral("eltOnly"));
    for (int i = 0; i < recordset.columns.size(); ++i) {
        const Column &c = recordset.columns[i];
        w.writeStartElement(kSchemaNs, QStringLiteral("AttributeType"));
        w.writeAttribute(QStringLiteral("name"), names[i]);
        if (names[i] != c.name)
            w.writeAttribute(kRowsetNs, QStringLiteral("name"), c.name);
        w.writeAttribute(kRowsetNs, QStringLiteral("number"), QString::number(i + 1));
        if (c.nullable)
            w.writeAttribute(kRowsetNs, QStringLiteral("nullable"), QStringLiteral("true"));

        w.writeEmptyElement(kSchemaNs, QStringLiteral("datatype"));
        w.writeAttribute(kTypesNs, QStringLiteral("type"), c.type);
        if (c.type == QLatin1String("string") && c.isLong) {
            w.writeAttribute(kTypesNs, QStringLiteral("maxLength"), QStringLiteral("536870910"));
            w.writeAttribute(kRowsetNs, QStringLiteral("long"), QStringLiteral("true"));
        } else if (c.type == QLatin1String("string")) {
            qsizetype longest = std::max(c.maxLength, 1);
            for (const Row &row : recordset.rows)
                if (row[i])
                    longest = std::max(longest, xmlSafe(*row[i]).size());
            w.writeAttribute(kTypesNs, QStringLiteral("maxLength"), QString::number(longest));
        } else if (c.type == QLatin1String("int")) {
            w.writeAttribute(kTypesNs, QStringLiteral("maxLength"), QStringLiteral("4"));
            w.writeAttribute(kRowsetNs, QStringLiteral("precision"), QStringLiteral("10"));
        } else if (c.type == QLatin1String("float")) {
            w.writeAttribute(kTypesNs, QStringLiteral("maxLength"), QStringLiteral("8"));
            w.writeAttribute(kRowsetNs, QStringLiteral("precision"), QStringLiteral("15"));
        } else if (c.type == QLatin1String("dateTime")) {
            w.writeAttribute(kRowsetNs, QStringLiteral("dbtype"), QStringLiteral("variantdate"));
            w.writeAttribute(kTypesNs, QStringLiteral("maxLength"), QStringLiteral("16"));
        }
        if (isNumericOrDate(c.type))
            w.writeAttribute(kRowsetNs, QStringLiteral("fixedlength"), QStringLiteral("true"));
        if (!c.nullable)
            w.writeAttribute(kRowsetNs, QStringLiteral("maybenull"), QStringLiteral("false"));
        w.writeEndElement(); // AttributeType
    }
    w.writeEmptyElement(kSchemaNs, QStringLiteral("extends"));
    w.writeAttribute(QStringLiteral("type"), QStringLiteral("rs:rowbase"));
    w.writeEndElement(); // ElementType
    w.writeEndElement(); // Schema

    w.writeStartElement(kRowsetNs, QStringLiteral("data"));
    for (const Row &row : recordset.rows) {
        w.writeEmptyElement(kRowNs, QStringLiteral("row"));
        for (int i = 0; i < recordset.columns.size(); ++i)
            if (i < row.size() && row[i])
                w.writeAttribute(names[i], xmlSafe(*row[i]));
    }
    w.writeEndElement(); // data
    w.writeEndElement(); // xml
    // Without a declaration the formatter still opens with a line break; ADO's files begin
    // with the root element itself.
    if (out.startsWith('\n'))
        out.remove(0, 1);
    return out;
}

void writeFile(const QString &path, const Recordset &recordset)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(write(recordset)) < 0 || !f.commit())
        throw Error(QStringLiteral("Cannot write %1: %2.").arg(path, f.errorString()));
}

} // namespace adoxml
