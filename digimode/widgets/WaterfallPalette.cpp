#include "WaterfallPalette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace digimode {
namespace {

// Colour stops of the first palette.
struct Stop {
    double at;
    int r, g, b;
};
constexpr std::array<Stop, 6> kColourStops = {{
    {0.0, 0, 0, 0}, {0.25, 0, 0, 160}, {0.5, 0, 170, 80}, {0.7, 220, 220, 0}, {0.85, 255, 120, 0}, {1.0, 255, 255, 255},
}};

constexpr double kFixedFloorDb = -100.0;
constexpr double kFixedSpanDb = 90.0;
constexpr double kAgcSpanDb = 35.0;
constexpr double kAgcBelowFloorDb = 3.0;
constexpr double kAgcFollow = 0.1;   // per frame

} // namespace

void WaterfallPalette::setPalette(int value)
{
    palette_ = value;
}

QRgb WaterfallPalette::colour(double level) const
{
    level = std::isfinite(level) ? std::clamp(level, 0.0, 1.0) : 0.0;
    if (palette_ == 10) {
        const int v = int(std::lround(level * 255.0));
        return qRgb(v, v, v);
    }
    for (std::size_t i = 1; i < kColourStops.size(); ++i) {
        const Stop &a = kColourStops[i - 1], &b = kColourStops[i];
        if (level <= b.at) {
            const double f = (level - a.at) / (b.at - a.at);
            return qRgb(int(a.r + f * (b.r - a.r)), int(a.g + f * (b.g - a.g)), int(a.b + f * (b.b - a.b)));
        }
    }
    return qRgb(255, 255, 255);
}

void WaterfallPalette::follow(const std::vector<float> &frameDb)
{
    if (!agc_) {
        floorDb_ = kFixedFloorDb;
        spanDb_ = kFixedSpanDb;
        return;
    }
    std::vector<float> finite;
    finite.reserve(frameDb.size());
    for (float v : frameDb)
        if (std::isfinite(v))
            finite.push_back(v);
    if (finite.empty())
        return;
    auto middle = finite.begin() + std::ptrdiff_t(finite.size() / 2);
    std::nth_element(finite.begin(), middle, finite.end());
    const double target = double(*middle) - kAgcBelowFloorDb;
    floorDb_ += kAgcFollow * (target - floorDb_);
    spanDb_ = kAgcSpanDb;
}

double WaterfallPalette::levelOf(double db) const
{
    if (!std::isfinite(db))
        return 0.0;
    return std::clamp((db - floorDb_) / spanDb_, 0.0, 1.0);
}

} // namespace digimode
