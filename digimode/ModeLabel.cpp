#include "ModeLabel.h"

#include <QLocale>

#include <cmath>
#include <stdexcept>

QString ModeLabelText(const QString &engineMode, double speed)
{
    QString mode;
    mode.reserve(engineMode.size());
    for (QChar c : engineMode)
        mode += (c >= u'a' && c <= u'z') ? QChar(c.unicode() - u'a' + u'A') : c;
    // Halves go to the even neighbour, as the FPU's default rounding mode does; adding 0.0
    // turns a rounded -0 into 0.
    const QString number = QString::number(std::nearbyint(speed + 0.01) + 0.0, 'f', 0);
    const qsizetype dash = mode.indexOf(u'-');
    if (dash < 0)
        return mode + number;
    const QString family = mode.left(dash);
    // The two RTTY sidebands log alike, and RTTY is logged without its speed.
    if (family == QLatin1String("RTTY"))
        return family;
    return family + number;
}

namespace modelabel {

double speedOf(const QString &text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        throw std::runtime_error(QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
    return value;
}

QString speedText(double speed)
{
    return QString::number(speed, 'f', QLocale::FloatingPointShortest);
}

} // namespace modelabel
