#include "SignalQuality.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace digimode {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMomentSmoothing = 1.0 / 64.0;
// Below this symbol signal-to-noise ratio (about -16 dB in 2500 Hz at 31.25 baud) the
// decoder stays quiet instead of printing noise; noise alone reads about -2 dB. The
// M2M4 estimate looks at the symbol magnitudes only, so neither a frequency error nor
// a carrier loop that has not locked yet keeps the squelch shut.
constexpr double kSquelchSymbolSnrDb = 2.0;
constexpr double kSquelchHysteresisDb = 1.5;
constexpr long kSymbolsToOpen = 16;
constexpr long kQpskUnconfirmedWait = 64;
// A signal that stops: the symbol power of the last few symbols falls far below the mean
// long before the moments notice; the squelch closes at once.
constexpr double kRecentSmoothing = 1.0 / 4.0;
constexpr double kCollapse = 0.05;
// The phase step from symbol to symbol, raised to the constellation's power, strips the
// keying: its mean points at the frequency error (rad per symbol, times M), whether the
// carrier loop has locked or not.
constexpr double kStepSmoothing = 1.0 / 32.0;
constexpr double kStepShowsFrequency = 0.1;
constexpr long kStepsToTrust = 16;
// The carrier loop counts as locked while the mean of cos(M * phase error) stays above this.
constexpr double kLockSmoothing = 1.0 / 16.0;
constexpr double kLockBpsk = 0.4;
constexpr double kLockQpsk = 0.3;
// The largest turn per symbol (rad) left by a frequency error that QPSK still reads.
constexpr double kMaxResidualStep = 0.15;

std::complex<double> unitPower(std::complex<float> z, int power)
{
    const double magnitude = std::abs(z);
    if (!(magnitude > 0.0))
        return {};
    const std::complex<double> unit = std::complex<double>(z) / magnitude;
    return power == 4 ? (unit * unit) * (unit * unit) : unit * unit;
}

} // namespace

void SignalQuality::reset()
{
    symbols_ = 0;
    moment2_ = moment4_ = recentPower_ = 0.0;
    lockMean_ = 0.0;
    stepMean_ = {};
    steps_ = 0;
    previous_ = {};
    squelch_ = false;
    presentFor_ = 0;
}

void SignalQuality::observe(std::complex<float> y, std::complex<float> a)
{
    // A plain mean over the first symbols, so the estimate is ready within a few
    // symbols of a fresh start rather than after the averaging time.
    const double power = std::norm(y);
    const double weight = std::max(kMomentSmoothing, 1.0 / double(++symbols_));
    moment2_ += weight * (power - moment2_);
    moment4_ += weight * (power * power - moment4_);
    recentPower_ += kRecentSmoothing * (power - recentPower_);

    const int m = quadrature_ ? 4 : 2;
    lockMean_ += kLockSmoothing * (unitPower(a, m).real() - lockMean_);
    const std::complex<float> step = y * std::conj(previous_);
    previous_ = y;
    if (std::abs(step) > 0.0f) {
        stepMean_ += kStepSmoothing * (unitPower(step, m) - stepMean_);
        ++steps_;
    }
}

double SignalQuality::symbolSnrDb() const
{
    // The M2M4 estimator: for a constant-modulus signal in Gaussian noise,
    // S = sqrt(2 M2^2 - M4) and N = M2 - S.
    if (!(moment2_ > 1e-30))
        return kSnrFloorDb;
    const double signal = std::sqrt(std::max(0.0, 2.0 * moment2_ * moment2_ - moment4_));
    const double noise = moment2_ - signal;
    if (signal <= 0.0)
        return kSnrFloorDb;
    if (noise <= signal * 1e-6)
        return kSnrCeilingDb;
    return std::clamp(10.0 * std::log10(signal / noise), kSnrFloorDb, kSnrCeilingDb);
}

bool SignalQuality::carrierLocked() const
{
    return lockMean_ > (quadrature_ ? kLockQpsk : kLockBpsk);
}

bool SignalQuality::stepFrequency(double &radPerSymbol) const
{
    // A young mean (after a start or a retune) says more about the noise.
    if (steps_ < kStepsToTrust || std::abs(stepMean_) <= kStepShowsFrequency)
        return false;
    radPerSymbol = std::arg(stepMean_) / (quadrature_ ? 4.0 : 2.0);
    return true;
}

void SignalQuality::updateSquelch(double loopFrequency, bool tuningConfirmed)
{
    const double level = squelch_ ? kSquelchSymbolSnrDb - kSquelchHysteresisDb : kSquelchSymbolSnrDb;
    const bool present = symbolSnrDb() > level && recentPower_ > kCollapse * moment2_;
    presentFor_ = present ? presentFor_ + 1 : 0;
    if (squelch_ || !present) {
        squelch_ = present;
        return;
    }
    // Fresh moments (after a start or a timing jump) must first see enough symbols.
    if (symbols_ < kSymbolsToOpen)
        return;
    // A signal has come: open once it is read right. BPSK is detected against the
    // carrier loop's phase, so the loop must hold it; QPSK is detected from symbol to
    // symbol, so no frequency error may be left to turn the steps. (Once open, these
    // noisier measures are not asked again: a weak signal would flicker.)
    // QPSK also waits, unless a preamble confirmed the tuning, long enough for the
    // search to pull it off a false lock a quarter of the symbol rate away.
    if (quadrature_) {
        const double residual = std::remainder(std::arg(stepMean_) / 4.0 - loopFrequency, kPi / 2.0);
        squelch_ = std::abs(residual) < kMaxResidualStep && (tuningConfirmed || presentFor_ >= kQpskUnconfirmedWait);
    } else {
        squelch_ = carrierLocked();
    }
}

} // namespace digimode
