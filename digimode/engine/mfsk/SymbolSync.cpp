#include "SymbolSync.h"

#include <algorithm>
#include <cmath>

namespace digimode::mfsk {

namespace {
// The timing average forgets over about this many symbols.
constexpr double kTimingWeight = 1.0 / 24.0;
// The clock fit weighs the last few hundred symbols.
constexpr double kClockMemory = 0.997;
// The timing is known while the best phase stands this much above the average of all
// phases (a steady tone, or noise, shows about none).
constexpr double kContrast = 1.1;
constexpr double kKeptContrast = 1.03;
// A best phase this many steps from the decision point, and this much better than it,
// is a new signal: the decision point jumps there at once instead of stepping.
constexpr int kJump = 3;
constexpr double kJumpGain = 1.1;
// Left-out symbols in a row after which the clock fit starts afresh.
constexpr int kOutliersToRestart = 16;
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
    lastPhase_ = 0.0;
    unwrapped_ = 0.0;
    outliers_ = 0;
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
    const double peak = *std::max_element(average_.begin(), average_.end());
    const double here = average_[std::size_t(step_ % phases_)];
    // Seen once clear and at hand; kept until it fades into the noise or drifts away.
    if (locked_)
        locked_ = peak > kKeptContrast * mean && std::abs(error) < 2.5;
    else
        locked_ = peak > kContrast * mean && std::abs(error) < 1.5;
    // Move the decision point toward the best phase: a step a symbol, so one noisy
    // average cannot throw the timing; at once to a far phase clearly better.
    std::int64_t correction = std::clamp<std::int64_t>(std::llround(error), -1, 1);
    if (std::abs(error) >= kJump && peak > kJumpGain * here)
        correction = std::llround(error);
    next_ = step_ + phases_ + correction;

    // The best phase drifts by the clock difference; fit its slope. A jump of more than a
    // step in one symbol is noise (or a new signal, when it persists): it is left out.
    const double delta = wrap(best - lastPhase_);
    if (!locked_ || std::abs(delta) > 1.0) {
        if (++outliers_ >= kOutliersToRestart) {
            lastPhase_ = best;
            outliers_ = 0;
            sw_ = sx_ = sy_ = sxx_ = sxy_ = 0.0;
        }
        return true;
    }
    outliers_ = 0;
    unwrapped_ += delta;
    lastPhase_ = best;
    // The newest symbol sits at x = 0: shift the older ones back by one, so the sums
    // stay small however long the signal lasts.
    sxx_ = kClockMemory * (sxx_ - 2.0 * sx_ + sw_);
    sx_ = kClockMemory * (sx_ - sw_);
    sxy_ = kClockMemory * (sxy_ - sy_);
    sy_ = kClockMemory * sy_ + unwrapped_;
    sw_ = kClockMemory * sw_ + 1.0;
    return true;
}

double SymbolSync::clockErrorPpm() const
{
    const double det = sw_ * sxx_ - sx_ * sx_;
    if (sw_ < 50.0 || !(det > 0.0))
        return 0.0;
    const double slope = (sw_ * sxy_ - sx_ * sy_) / det; // phase steps per symbol
    // Symbols longer than nominal (boundaries later each symbol): a positive error, as the
    // engine reports a signal stretched against our clock.
    const double ppm = slope / phases_ * 1e6;
    return std::isfinite(ppm) ? ppm : 0.0;
}

} // namespace digimode::mfsk
