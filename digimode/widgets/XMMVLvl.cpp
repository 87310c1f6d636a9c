#include "XMMVLvl.h"

#include "Engine.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRangeDb = 60.0;

} // namespace

TXMMVLvl::TXMMVLvl(QWidget *parent)
    : QWidget(parent)
{
    resize(20, 122);
}

void TXMMVLvl::RedrawLevel(int handle, int channel)
{
    const TMMVARI *engine = TMMVARI::fromHandle(handle);
    const double level = engine && channel == 0 ? engine->inputLevel() : 0.0;
    level_ = std::isfinite(level) ? std::clamp(level, 0.0, 1.0) : 0.0;
    update();
}

double TXMMVLvl::barFraction() const
{
    if (level_ <= 0.0)
        return 0.0;
    return std::clamp(1.0 + 20.0 * std::log10(level_) / kRangeDb, 0.0, 1.0);
}

void TXMMVLvl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int lit = int(std::lround(barFraction() * height()));
    // Green while the input has room, yellow near full scale, red when it clips.
    const QColor colour = level_ >= 0.99 ? Qt::red : (barFraction() > 0.9 ? Qt::yellow : Qt::green);
    painter.fillRect(QRect(2, height() - lit, width() - 4, lit), colour);
}
