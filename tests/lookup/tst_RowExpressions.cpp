#include "RowExpressions.h"

#include <QTest>

using Visits = QList<QPair<int, QString>>;

namespace {

Visits allMatches(const RowExpressions &e, const QString &call)
{
    Visits v;
    e.forEachMatch(call, [&](int row, const QString &text) {
        v << qMakePair(row, text);
        return false;
    });
    return v;
}

// Expressions that an index could misread: top-level alternatives, optional characters,
// options, quoting, classes, lookarounds, empty matches, unanchored ones.
const QStringList kTricky = {
    QStringLiteral("^A|B"),
    QStringLiteral("^UA?1.*"),
    QStringLiteral("^(?:DL|DK)[0-9A-Z]*$"),
    QStringLiteral("^(DL)+[0-9]"),
    QStringLiteral("(?i)^ua1.*"),
    QStringLiteral("^(?:UA|(?i)r)1.*"),
    QStringLiteral("^[U]A1.*"),
    QStringLiteral("^\\QUA(\\E|B"),
    QStringLiteral("^(?:U|R)(?=A).*"),
    QStringLiteral("X?"),
    QStringLiteral("^K1ABC$"),
    QStringLiteral("1AB"),
    QStringLiteral("^(?:UA|RA){0,1}1.*"),
    QStringLiteral("^UA+1.*"),
    QStringLiteral("^W\\/.*"),
    QStringLiteral("^(?:UA9(?!X)|R(?:8|9)(?!X))[0-9A-Z/]*$"),
    QStringLiteral("^UA\\d"),
    QStringLiteral("^[(|]A"),
    QStringLiteral("^A\\\\(?i)b|c"),
    QStringLiteral("^(?:A(?:B|)|)C"),
    QStringLiteral("^(?:K|N)?1"),
    QStringLiteral("^K1ABC$|^K2ABC$"),
};

const QStringList kCalls = {
    "", "A", "B", "XB", "UA1XYZ", "U1XYZ", "ua1xyz", "R1ABC", "r1ABC", "DL1ABC", "DKX", "DLDL1",
    "UA(", "UB", "RA1", "K1ABC", "K1ABC\n", "K2ABC", "DK1ABC", "RA1ABC", "UAA1", "W/K1ABC",
    "UA9ABC", "UA9XYZ", "R8ABC", "R9XA", "UA1", "(A", "|A", "A\\B", "A\\b", "C", "ABC", "AC",
    "1", "N1ABC", "UA1ABC/P",
};

} // namespace

class RowExpressionsTest : public QObject {
    Q_OBJECT
private slots:
    void literalPrefixes_data();
    void literalPrefixes();
    void indexedScanFindsWhatTheLiteralScanFinds();
    void visitStopsWhenAsked();
};

void RowExpressionsTest::literalPrefixes_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("prefixes"); // empty: none, the row is always tried
    QTest::newRow("exact call") << "^K1ABC$" << QStringList{"K1ABC"};
    QTest::newRow("group of prefixes") << "^(?:UA9|R8)[0-9A-Z]*$" << QStringList{"UA9", "R8"};
    QTest::newRow("nested groups") << "^U(?:A(?:9|0)|B)" << QStringList{"UA9", "UA0", "UB"};
    QTest::newRow("lookahead ends the literal") << "^UA9(?!X)" << QStringList{"UA9"};
    QTest::newRow("escaped slash") << "^\\/P" << QStringList{"/P"};
    QTest::newRow("optional character") << "^UA?1" << QStringList{"U"};
    QTest::newRow("repeated character") << "^UA+1" << QStringList{"UA"};
    QTest::newRow("not anchored") << "UA1" << QStringList{};
    QTest::newRow("top-level alternative") << "^A|B" << QStringList{};
    QTest::newRow("optional group") << "^(?:UA|RA)?1" << QStringList{};
    QTest::newRow("empty alternative") << "^(?:UA|)1" << QStringList{};
    QTest::newRow("option setting") << "(?i)^ua" << QStringList{};
    QTest::newRow("option inside") << "^(?:UA|(?i)r)1" << QStringList{};
    QTest::newRow("quoting") << "^\\QUA(\\E|B" << QStringList{};
    QTest::newRow("class first") << "^[UR]A" << QStringList{};
}

void RowExpressionsTest::literalPrefixes()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, prefixes);
    const auto got = anchoredLiteralPrefixes(pattern);
    QCOMPARE(got.value_or(QStringList()), prefixes);
}

void RowExpressionsTest::indexedScanFindsWhatTheLiteralScanFinds()
{
    const RowExpressions indexed(kTricky, RowExpressions::Scan::Indexed);
    const RowExpressions literal(kTricky, RowExpressions::Scan::Literal);
    QVERIFY(indexed.problems().isEmpty());
    for (const QString &call : kCalls)
        QCOMPARE(allMatches(indexed, call), allMatches(literal, call));
}

void RowExpressionsTest::visitStopsWhenAsked()
{
    const RowExpressions e({"^K", "^K1", "^K1A"}, RowExpressions::Scan::Indexed);
    QList<int> rows;
    e.forEachMatch("K1ABC", [&](int row, const QString &) {
        rows << row;
        return row == 1;
    });
    QCOMPARE(rows, QList<int>({0, 1}));
}

QTEST_APPLESS_MAIN(RowExpressionsTest)
#include "tst_RowExpressions.moc"
