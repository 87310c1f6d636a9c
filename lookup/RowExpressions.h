// The regular expressions of one prefix table, compiled once at load, and an index that tells
// which rows could match a call at all, so that a lookup tries a handful of rows instead of all.
#pragma once

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>

// For an expression anchored with "^": literal texts one of which every call it matches must
// begin with ("^(?:UA9|R8)" gives UA9 and R8). Nothing when the expression is not anchored or
// uses a construct this reading does not follow; such a row is then tried for every call.
std::optional<QStringList> anchoredLiteralPrefixes(const QString &pattern);

class RowExpressions {
public:
    // Literal compiles every row's expression anew for each call and tries every row: the plain
    // algorithm, kept to measure and check the indexed scan against.
    enum class Scan { Indexed, Literal };

    struct Problem {
        int row;
        QString message;
    };

    RowExpressions() = default;
    RowExpressions(const QStringList &patterns, Scan scan);

    // Rows whose expression is empty or does not compile; they are never tried.
    const QList<Problem> &problems() const { return badRows; }

    // Hands over, in row order, every row whose expression finds a match in `call`, with the
    // text of the first match; stops when `visit` returns true.
    void forEachMatch(const QString &call,
                      const std::function<bool(int row, const QString &matchText)> &visit) const;

private:
    QList<int> candidates(const QString &call) const;

    Scan mode = Scan::Indexed;
    QStringList patterns;
    QList<QRegularExpression> compiled;
    QList<bool> usable;
    QList<Problem> badRows;
    QStringList prefixStore;                     // owns the texts the index's keys view
    QHash<QStringView, QList<int>> rowsByPrefix; // rows whose calls begin with the key
    QList<int> prefixLengths;                    // the key lengths that occur, ascending
    QList<int> alwaysTried;                      // rows without literal prefixes
};
