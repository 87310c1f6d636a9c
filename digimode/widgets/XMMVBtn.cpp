#include "XMMVBtn.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

TXMMVBtn::TXMMVBtn(QWidget *parent)
    : QWidget(parent)
{
    resize(40, 20);
}

void TXMMVBtn::setCaption(const QString &caption)
{
    caption_ = caption;
    update();
}

void TXMMVBtn::setState(bool down)
{
    state_ = down;
    update();
}

void TXMMVBtn::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
}

void TXMMVBtn::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and a release of the left button over the button.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (!click)
        return;
    state_ = !state_;
    update();
    emit OnLButtonClick();
}

void TXMMVBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = caption_;
    option.state |= state_ ? QStyle::State_Sunken | QStyle::State_On : QStyle::State_Raised | QStyle::State_Off;
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}
