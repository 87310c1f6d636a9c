// The heard station's number for a Russian call: the two-letter oblast code that Russia.dom
// gives for the call's subdivision prefix.
#pragma once

#include <QStringList>
#include <optional>

namespace oblastfill {

// dxccPrefix and prefix are the lookup's outputs. Returns the new text of the heard number,
// or nothing when it stays as it is (a call outside European Russia, Kaliningrad and
// Asiatic Russia, or a prefix no line of the list holds). A prefix neither "UA2" nor four
// characters long gives the empty text. When several lines hold the prefix the last wins.
std::optional<QString> numberFor(const QString &dxccPrefix, const QString &prefix, const QStringList &oblastList);

} // namespace oblastfill
