// Base of every window beside the main one: created once at start, hidden until shown,
// hidden again (never destroyed) by its close box, its position kept between runs.
#pragma once

#include "Forms.h"

#include <QWidget>

class SecondaryWindow : public QWidget {
    Q_OBJECT
public:
    SecondaryWindow(Forms &forms, const QString &objectName, const QString &caption,
                    QWidget *parent = nullptr);

    // A fixed-size window of this client area, not resizable by dragging.
    void setClientSize(int width, int height);

protected:
    void hideEvent(QHideEvent *event) override;

    Forms &forms;
};
