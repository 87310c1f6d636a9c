#include "WindowPlacement.h"

#include <QSettings>
#include <QWidget>

namespace windowplacement {

namespace {
QString key(const QWidget *window)
{
    return QStringLiteral("windows/%1/pos").arg(window->objectName());
}
} // namespace

void restore(QWidget *window)
{
    const QVariant pos = QSettings().value(key(window));
    if (pos.isValid())
        window->move(pos.toPoint());
}

void save(const QWidget *window)
{
    QSettings().setValue(key(window), window->pos());
}

} // namespace windowplacement
