#include "SymbolTiming.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace digimode {
namespace {

constexpr double kProportional = 0.02;   // per symbol, of the measured error
constexpr double kFastProportional = 0.1;
constexpr int kFastSymbols = 32;
constexpr double kIntegral = 2e-5;
constexpr double kMaxClockError = 2000e-6;
constexpr double kPpmSmoothing = 0.01;
constexpr int kAcquisitionRun = 16;

} // namespace

SymbolTiming::SymbolTiming(int samplesPerSymbol)
    : nominal_(samplesPerSymbol)
{
    reset();
}

void SymbolTiming::reset()
{
    ring_.fill({});
    count_ = 0;
    period_ = nominal_;
    strobe_ = nominal_ + 4.0;
    ppm_ = 0.0;
    fastSymbols_ = kFastSymbols;
    jumped_ = false;
    run_ = {};
    runLength_ = 0;
}

std::complex<float> SymbolTiming::interpolate(double t) const
{
    // Cubic Lagrange interpolation between the two samples around t.
    const auto i = std::int64_t(std::floor(t));
    const float mu = float(t - double(i));
    const std::complex<float> ym1 = at(i - 1), y0 = at(i), y1 = at(i + 1), y2 = at(i + 2);
    const float c0 = -mu * (mu - 1.0f) * (mu - 2.0f) / 6.0f;
    const float c1 = (mu + 1.0f) * (mu - 1.0f) * (mu - 2.0f) / 2.0f;
    const float c2 = -(mu + 1.0f) * mu * (mu - 2.0f) / 2.0f;
    const float c3 = (mu + 1.0f) * mu * (mu - 1.0f) / 6.0f;
    return c0 * ym1 + c1 * y0 + c2 * y1 + c3 * y2;
}

// The envelope over one symbol around t has its fundamental at the symbol rate; its
// phase says where the envelope peaks, i.e. where the symbol centre really is. The
// result is scaled by the envelope's mean, so it does not depend on the level.
std::complex<double> SymbolTiming::envelopeFundamental(double t) const
{
    const auto first = std::int64_t(std::ceil(t - nominal_ / 2.0));
    std::complex<double> fundamental;
    double power = 0.0;
    for (int k = 0; k < nominal_; ++k) {
        const std::int64_t i = first + k;
        const double e = std::norm(at(i));
        const double angle = -2.0 * std::numbers::pi * (double(i) - t) / period_;
        fundamental += e * std::complex<double>(std::cos(angle), std::sin(angle));
        power += e;
    }
    return power > 1e-30 ? fundamental / (power / 2.0) : std::complex<double>();
}

bool SymbolTiming::push(std::complex<float> x, std::complex<float> &symbol)
{
    ring_[std::size_t(count_) & kMask] = x;
    ++count_;
    // The envelope window reaches half a symbol past the strobe, the interpolator 2 samples.
    if (double(count_ - 1) < strobe_ + nominal_ / 2.0 + 2.0)
        return false;

    symbol = interpolate(strobe_);
    const std::complex<double> fundamental = envelopeFundamental(strobe_);
    run_ += fundamental;
    const double error = -fundamental.imag() * period_ / (2.0 * std::numbers::pi);   // samples

    const bool acquiring = fastSymbols_ > 0;
    if (acquiring)
        --fastSymbols_;
    if (clockTracking_ && !acquiring)
        period_ += kIntegral * error;
    period_ = std::clamp(period_, nominal_ * (1.0 - kMaxClockError), nominal_ * (1.0 + kMaxClockError));
    strobe_ += period_ + (acquiring ? kFastProportional : kProportional) * error;

    if (++runLength_ == kAcquisitionRun) {
        const std::complex<double> mean = run_ / double(kAcquisitionRun);
        const double offset = -std::arg(mean) * period_ / (2.0 * std::numbers::pi);
        if (std::abs(mean) > 0.25 && std::abs(offset) > nominal_ / 4.0) {
            strobe_ += offset;
            fastSymbols_ = kFastSymbols;
            jumped_ = true;
        }
        run_ = {};
        runLength_ = 0;
    }

    if (clockTracking_ && !acquiring)
        ppm_ += kPpmSmoothing * ((period_ / nominal_ - 1.0) * 1e6 - ppm_);
    return true;
}

} // namespace digimode
