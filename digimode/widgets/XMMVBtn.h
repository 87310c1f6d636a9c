// The engine's toggle button (TXMMVBtn): a click toggles State and then raises
// OnLButtonClick; setting State in code raises nothing.
#pragma once

#include <QWidget>

class TXMMVBtn : public QWidget {
    Q_OBJECT
public:
    explicit TXMMVBtn(QWidget *parent = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString &caption);
    bool State() const { return state_; }   // true while down
    void setState(bool down);

signals:
    void OnLButtonClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString caption_;
    bool state_ = false;
    bool pressed_ = false;
};
