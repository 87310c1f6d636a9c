#include "KeyboardLatin.h"

#include <QHash>

namespace {

// Russian JCUKEN layout, letter keys only, mapped to the US key in the same place.
const QHash<QChar, QChar> &cyrillicToLatin()
{
    static const QHash<QChar, QChar> map = [] {
        const QString cyrillic = QStringLiteral("ЙЦУКЕНГШЩЗФЫВАПРОЛДЯЧСМИТЬ");
        const QString latin = QStringLiteral("QWERTYUIOPASDFGHJKLZXCVBNM");
        QHash<QChar, QChar> m;
        for (int i = 0; i < cyrillic.size(); ++i) {
            m.insert(cyrillic[i], latin[i]);
            m.insert(cyrillic[i].toLower(), latin[i]);
        }
        return m;
    }();
    return map;
}

} // namespace

namespace keyboardlatin {

QString toLatinUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const auto it = cyrillicToLatin().constFind(c);
        if (it != cyrillicToLatin().constEnd())
            c = *it;
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = c.toUpper();
    }
    return out;
}

void makeUpperCaseLatin(QLineEdit *edit)
{
    edit->setValidator(new LatinUpperValidator(edit));
}

} // namespace keyboardlatin

QValidator::State LatinUpperValidator::validate(QString &input, int &) const
{
    // Same length out as in, so the cursor position stays valid.
    input = keyboardlatin::toLatinUpper(input);
    return Acceptable;
}
