// The regular expression of one generated row: it matches exactly the calls whose longest listed
// prefix carries the row's label, so that the first-match scan of the lookup gives the answer of
// a longest-prefix reading, whatever the order of the rows.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// `labels` maps every listed prefix to its label (a country row's entity and zones, or an
// entity). The expression covers the calls that begin with one of `roots` (the empty root: any
// call) and whose longest listed prefix has the label `target`; a root that is not listed itself
// takes the label of its own longest listed prefix. It is anchored at both ends: a match is
// always the whole call, so no partial match text can stop the lookup early. Empty when no call
// qualifies.
QString prefixExpression(const QMap<QString, int> &labels, int target, const QStringList &roots);

// The expression that matches exactly the given whole calls.
QString exactCallsExpression(const QStringList &calls);
