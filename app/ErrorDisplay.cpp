#include "ErrorDisplay.h"

#include <QMessageBox>

namespace errordisplay {

void show(const QString &message)
{
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Error"), message);
}

void show(const std::exception &error)
{
    show(QString::fromUtf8(error.what()));
}

void run(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        show(e);
    }
}

} // namespace errordisplay

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        errordisplay::show(e);
        return true;
    }
}
