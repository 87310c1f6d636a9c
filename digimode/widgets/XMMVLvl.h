// The input level meter of the decoder engine (TXMMVLvl): a bar from -60 dB to full scale.
#pragma once

#include <QWidget>

class TXMMVLvl : public QWidget {
    Q_OBJECT
public:
    explicit TXMMVLvl(QWidget *parent = nullptr);

    // Reads the input level of the engine a handle stands for; an unknown handle or a
    // channel other than 0 shows no level.
    void RedrawLevel(int handle, int channel);
    // The level shown, 0 .. 1 of full scale.
    double level() const { return level_; }
    // The share of the bar that is lit, 0 .. 1 (-60 dB and below: 0).
    double barFraction() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double level_ = 0.0;
};
