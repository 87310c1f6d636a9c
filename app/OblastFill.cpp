#include "OblastFill.h"

namespace oblastfill {

std::optional<QString> numberFor(const QString &dxccPrefix, const QString &prefix, const QStringList &oblastList)
{
    const QString key = QLatin1Char(':') + dxccPrefix.toUpper().trimmed() + QLatin1Char(':');
    if (!QStringLiteral(":UA1:UA2:UA9:").contains(key))
        return std::nullopt;
    if (prefix != QLatin1String("UA2") && prefix.size() != 4)
        return QString();
    // The code starts one separator character after the prefix.
    std::optional<QString> number;
    for (const QString &line : oblastList) {
        const qsizetype at = line.indexOf(prefix);
        if (at >= 0)
            number = line.mid(at + prefix.size() + 1, 2).trimmed();
    }
    return number;
}

} // namespace oblastfill
