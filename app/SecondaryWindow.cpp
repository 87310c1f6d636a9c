#include "SecondaryWindow.h"

#include "WindowPlacement.h"

SecondaryWindow::SecondaryWindow(Forms &forms, const QString &objectName, const QString &caption,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window), forms(forms)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    windowplacement::restore(this);
}

void SecondaryWindow::setClientSize(int width, int height)
{
    setFixedSize(width, height);
}

void SecondaryWindow::hideEvent(QHideEvent *event)
{
    windowplacement::save(this);
    QWidget::hideEvent(event);
}
