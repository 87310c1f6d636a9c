// The spectrum and waterfall view of the decoder engine (TXMMVView): shows the latest
// spectrum frame of the engine it is bound to, marks the receive carrier, and tunes the
// engine's carrier to the frequency clicked.
#pragma once

#include "WaterfallPalette.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class TMMVARI;

class TXMMVView : public QWidget {
    Q_OBJECT
public:
    explicit TXMMVView(QWidget *parent = nullptr);

    // The span shown, in Hz: 500, 1000, 2000 or 3000 (other values take the nearest).
    int wWidthFreq() const { return widthHz_; }
    void setWWidthFreq(int hz);
    // 1 waterfall, 0 spectrum.
    int wType() const { return type_; }
    void setWType(int type);
    bool bWaterAGC() const { return palette_.agc(); }
    void setBWaterAGC(bool on) { palette_.setAgc(on); }
    // Only index 0 exists; 0 and 10 are the two palettes (others draw as 0).
    int ViewPalette(int index) const;
    void setViewPalette(int index, int value);

    // Takes the engine's latest frame and draws it; an unknown handle draws nothing.
    void RedrawFromEngine(int handle);

    // What the view shows: its lowest frequency, and the frequency at a pixel column.
    double baseHz() const { return baseHz_; }
    double frequencyAt(int x) const;
    const QImage &picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void followCarrier(double carrierHz);
    void drawWaterfallLine(const std::vector<float> &frameDb, double binHz);
    void drawSpectrum(const std::vector<float> &frameDb, double binHz);
    double dbAt(const std::vector<float> &frameDb, double binHz, double hz) const;

    int widthHz_ = 3000;
    int type_ = 1;
    int paletteValue_ = 0;
    digimode::WaterfallPalette palette_;
    double baseHz_ = 0.0;
    double carrierHz_ = -1.0;
    QPointer<TMMVARI> engine_;
    QImage picture_;
};
