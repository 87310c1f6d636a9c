#include "XMMVView.h"

#include "Engine.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr std::array<int, 4> kSpans = {500, 1000, 2000, 3000};
constexpr double kTopHz = digimode::kSampleRate / 2.0;

} // namespace

TXMMVView::TXMMVView(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(100, 40);
    resize(586, 120);
    setCursor(Qt::CrossCursor);
}

void TXMMVView::setWWidthFreq(int hz)
{
    int best = kSpans.front();
    for (int span : kSpans)
        if (std::abs(span - hz) < std::abs(best - hz))
            best = span;
    if (best == widthHz_)
        return;
    widthHz_ = best;
    // A new span starts a new picture: old lines would be on another scale.
    picture_.fill(Qt::black);
    followCarrier(carrierHz_ >= 0.0 ? carrierHz_ : widthHz_ / 2.0);
    update();
}

void TXMMVView::setWType(int type)
{
    type_ = type == 0 ? 0 : 1;
    picture_.fill(Qt::black);
    update();
}

int TXMMVView::ViewPalette(int index) const
{
    return index == 0 ? paletteValue_ : 0;
}

void TXMMVView::setViewPalette(int index, int value)
{
    if (index != 0)
        return;
    paletteValue_ = value;
    palette_.setPalette(value);
    update();
}

double TXMMVView::frequencyAt(int x) const
{
    return baseHz_ + double(x) * widthHz_ / std::max(1, width());
}

void TXMMVView::followCarrier(double carrierHz)
{
    // The picture keeps still while the carrier stays in the middle four fifths of it;
    // otherwise it is moved to put the carrier in the centre.
    if (carrierHz >= baseHz_ + 0.1 * widthHz_ && carrierHz <= baseHz_ + 0.9 * widthHz_)
        return;
    baseHz_ = std::clamp(carrierHz - widthHz_ / 2.0, 0.0, kTopHz - widthHz_);
    if (!picture_.isNull())
        picture_.fill(Qt::black);
}

double TXMMVView::dbAt(const std::vector<float> &frameDb, double binHz, double hz) const
{
    if (frameDb.empty() || !(binHz > 0.0))
        return digimode::Spectrum::kFloorDb;
    const auto bin = std::size_t(std::clamp(std::lround(hz / binHz), 0L, long(frameDb.size()) - 1));
    const float db = frameDb[bin];
    return std::isfinite(db) ? db : digimode::Spectrum::kFloorDb;
}

void TXMMVView::RedrawFromEngine(int handle)
{
    TMMVARI *engine = TMMVARI::fromHandle(handle);
    if (!engine)
        return;
    engine_ = engine;
    if (picture_.size() != size()) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::black);
    }
    carrierHz_ = engine->ChannelCarrier(0);
    followCarrier(carrierHz_);
    const std::vector<float> &frame = engine->spectrumDb();
    palette_.follow(frame);
    if (type_ == 1)
        drawWaterfallLine(frame, engine->spectrumBinHz());
    else
        drawSpectrum(frame, engine->spectrumBinHz());
    update();
}

void TXMMVView::drawWaterfallLine(const std::vector<float> &frameDb, double binHz)
{
    if (picture_.height() < 1)
        return;
    // Older lines move down by one; the new one goes on top.
    const qsizetype line = picture_.bytesPerLine();
    uchar *bits = picture_.bits();
    std::memmove(bits + line, bits, std::size_t(line) * std::size_t(picture_.height() - 1));
    auto *top = reinterpret_cast<QRgb *>(picture_.scanLine(0));
    for (int x = 0; x < picture_.width(); ++x)
        top[x] = palette_.colour(palette_.levelOf(dbAt(frameDb, binHz, frequencyAt(x))));
}

void TXMMVView::drawSpectrum(const std::vector<float> &frameDb, double binHz)
{
    picture_.fill(Qt::black);
    QPainter painter(&picture_);
    painter.setPen(QColor(palette_.colour(0.75)));
    const int h = picture_.height();
    QPointF previous;
    for (int x = 0; x < picture_.width(); ++x) {
        const double level = palette_.levelOf(dbAt(frameDb, binHz, frequencyAt(x)));
        const QPointF point(x, (h - 1) * (1.0 - level));
        if (x > 0)
            painter.drawLine(previous, point);
        previous = point;
    }
}

void TXMMVView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(0, 0, picture_);
    if (carrierHz_ >= baseHz_ && carrierHz_ <= baseHz_ + widthHz_) {
        const int x = int(std::lround((carrierHz_ - baseHz_) * width() / widthHz_));
        painter.setPen(QPen(Qt::red, 1));
        painter.drawLine(x, 0, x, height());
        painter.setBrush(Qt::red);
        painter.drawPolygon(QPolygon({QPoint(x - 4, 0), QPoint(x + 4, 0), QPoint(x, 6)}));
    }
}

void TXMMVView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !engine_)
        return;
    const double hz = frequencyAt(int(event->position().x()));
    engine_->setChannelCarrier(0, int(std::lround(hz)));
    carrierHz_ = engine_->ChannelCarrier(0);
    update();
}

void TXMMVView::resizeEvent(QResizeEvent *)
{
    if (picture_.size() == size())
        return;
    QImage resized(size(), QImage::Format_RGB32);
    resized.fill(Qt::black);
    if (!picture_.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, picture_);
    }
    picture_ = resized;
}
