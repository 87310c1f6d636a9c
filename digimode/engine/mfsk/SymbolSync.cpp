#include "SymbolSync.h"

#include <algorithm>
#include <cmath>

namespace digimode::mfsk {

namespace {
// The timing average forgets over about this many symbols.
constexpr double kTimingWeight = 1.0 / 24.0;
// The clock fit weighs the last few hundred symbols.
constexpr double kClockMemory = 0.997;
// The timing is seen once its best phase stands this much above the average of all
// phases; until then (a steady preamble tone shows no timing) the decision point jumps.
constexpr double kContrast = 1.15;
// Symbols in a row with the best phase this far off (in symbols) mean a new signal.
constexpr double kLostError = 0.25;
constexpr int kLostSymbols = 8;
} // namespace

void SymbolSync::configure(int phases)
{
    phases_ = std::max(2, phases);
    reset();
}

void SymbolSync::reset()
{
    average_.assign(std::size_t(phases_), 0.0);
    step_ = -1;
    next_ = phases_ - 1;
    symbols_ = 0;
    locked_ = false;
    offTime_ = 0;
    lastPhase_ = 0.0;
    unwrapped_ = 0.0;
    sw_ = sx_ = sy_ = sxx_ = sxy_ = 0.0;
}

double SymbolSync::bestPhase() const
{
    const auto best = std::max_element(average_.begin(), average_.end());
    const int at = int(best - average_.begin());
    const double a = average_[std::size_t((at + phases_ - 1) % phases_)];
    const double b = *best;
    const double c = average_[std::size_t((at + 1) % phases_)];
    const double curve = a - 2.0 * b + c;
    const double fraction = curve < 0.0 ? std::clamp(0.5 * (a - c) / curve, -0.5, 0.5) : 0.0;
    return std::fmod(at + fraction + phases_, double(phases_));
}

bool SymbolSync::push(double metric)
{
    ++step_;
    double &slot = average_[std::size_t(step_ % phases_)];
    slot += kTimingWeight * ((std::isfinite(metric) ? metric : 0.0) - slot);
    if (step_ < next_)
        return false;

    ++symbols_;
    const double best = bestPhase();
    auto wrap = [this](double d) {
        return std::remainder(d, double(phases_));
    };
    const double error = wrap(best - double(step_ % phases_));
    double mean = 0.0;
    for (double a : average_)
        mean += a;
    mean /= phases_;
    const bool clear = *std::max_element(average_.begin(), average_.end()) > kContrast * mean;
    if (locked_) {
        offTime_ = std::abs(error) > kLostError * phases_ ? offTime_ + 1 : 0;
        if (offTime_ >= kLostSymbols)
            locked_ = false;
    } else if (clear) {
        locked_ = true;
        offTime_ = 0;
    }
    // Move the decision point toward the best phase: at once while acquiring, then one
    // step a symbol at most, so one noisy average cannot throw the timing.
    std::int64_t correction = std::llround(error);
    if (locked_ && offTime_ == 0)
        correction = std::clamp<std::int64_t>(correction, -1, 1);
    else if (locked_)
        correction = 0;
    next_ = step_ + phases_ + correction;

    // The best phase drifts by the clock difference; fit its slope.
    unwrapped_ += wrap(best - lastPhase_);
    lastPhase_ = best;
    if (locked_) {
        // The newest symbol sits at x = 0: shift the older ones back by one, so the sums
        // stay small however long the signal lasts.
        sxx_ = kClockMemory * (sxx_ - 2.0 * sx_ + sw_);
        sx_ = kClockMemory * (sx_ - sw_);
        sxy_ = kClockMemory * (sxy_ - sy_);
        sy_ = kClockMemory * sy_ + unwrapped_;
        sw_ = kClockMemory * sw_ + 1.0;
    }
    return true;
}

double SymbolSync::clockErrorPpm() const
{
    const double det = sw_ * sxx_ - sx_ * sx_;
    if (sw_ < 50.0 || !(det > 0.0))
        return 0.0;
    const double slope = (sw_ * sxy_ - sx_ * sy_) / det; // phase steps per symbol
    // A fast sender's symbols are short: their boundaries come earlier each symbol.
    const double ppm = -slope / phases_ * 1e6;
    return std::isfinite(ppm) ? ppm : 0.0;
}

} // namespace digimode::mfsk
