#include "ToneSpectrum.h"

#include <complex>
#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>

namespace digimode::rtty {

namespace {
// Frames overlap by half; the average forgets over about seven of them (1.3 s at the
// RTTY decimated rate), after a plain mean while it fills.
constexpr double kAverageWeight = 0.15;
// The noise is measured beside the signal, up to this offset from the receive frequency
// (inside the flat part of the decimating filter).
constexpr double kNoiseEdgeHz = 550.0;
constexpr double kNoiseBandwidthHz = 2500.0;
} // namespace

ToneSpectrum::ToneSpectrum() = default;

ToneSpectrum::~ToneSpectrum()
{
    if (plan_)
        fft_destroy_plan(plan_);
}

void ToneSpectrum::configure(double sampleRate, double shiftHz, double baud)
{
    // About 2.7 Hz resolution at the RTTY rate: fine enough to place the tones to 1 Hz.
    size_ = 512;
    binHz_ = sampleRate / size_;
    shift_ = shiftHz;
    baud_ = baud;
    window_.resize(std::size_t(size_));
    for (int i = 0; i < size_; ++i)
        window_[std::size_t(i)] = float(0.5 - 0.5 * std::cos(2.0 * M_PI * (i + 0.5) / size_));
    input_.assign(std::size_t(size_), {0.0f, 0.0f});
    in_.assign(std::size_t(size_), {0.0f, 0.0f});
    out_.assign(std::size_t(size_), {0.0f, 0.0f});
    if (plan_)
        fft_destroy_plan(plan_);
    plan_ = fft_create_plan(unsigned(size_), in_.data(), out_.data(), LIQUID_FFT_FORWARD, 0);
    reset();
}

void ToneSpectrum::reset()
{
    std::fill(input_.begin(), input_.end(), std::complex<float>(0.0f, 0.0f));
    filled_ = 0;
    average_.assign(std::size_t(size_), 0.0);
    frames_ = 0;
}

bool ToneSpectrum::push(std::complex<float> x)
{
    input_[filled_++] = x;
    if (filled_ < input_.size())
        return false;
    for (std::size_t i = 0; i < input_.size(); ++i)
        in_[i] = input_[i] * window_[i];
    fft_execute(plan_);
    ++frames_;
    const double weight = std::max(kAverageWeight, 1.0 / frames_);
    for (std::size_t k = 0; k < average_.size(); ++k) {
        const double p = std::norm(out_[k]);
        average_[k] += weight * ((std::isfinite(p) ? p : 0.0) - average_[k]);
    }
    // Keep the newer half for the next frame.
    const std::size_t half = input_.size() / 2;
    std::copy(input_.begin() + std::ptrdiff_t(half), input_.end(), input_.begin());
    filled_ = half;
    return true;
}

double ToneSpectrum::power(int bin) const
{
    const int k = ((bin % size_) + size_) % size_;
    return average_[std::size_t(k)];
}

double ToneSpectrum::pairScore(int centreBin) const
{
    // Each tone's power lies within about half a baud of it.
    const int half = std::max(2, int(std::lround(0.5 * baud_ / binHz_)));
    const int offset = int(std::lround(0.5 * shift_ / binHz_));
    double sum = 0.0;
    for (int d = -half; d <= half; ++d)
        sum += power(centreBin - offset + d) + power(centreBin + offset + d);
    return sum;
}

double ToneSpectrum::noiseDensity(double offset) const
{
    // Bins beside the signal, on both sides, clear of its keying sidebands.
    const double inner = 0.5 * shift_ + 2.5 * baud_ + 20.0;
    double sum = 0.0;
    int count = 0;
    for (int k = -size_ / 2; k < size_ / 2; ++k) {
        const double hz = k * binHz_;
        const double away = std::abs(hz - offset);
        if (away >= inner && std::abs(hz) <= kNoiseEdgeHz) {
            sum += power(k);
            ++count;
        }
    }
    return count > 0 ? sum / count : 0.0;
}

std::optional<double> ToneSpectrum::toneCentre(double range) const
{
    if (frames_ == 0)
        return std::nullopt;
    const int reach = int(std::ceil(range / binHz_));
    std::vector<double> scores;
    scores.reserve(std::size_t(2 * reach + 1));
    for (int k = -reach; k <= reach; ++k)
        scores.push_back(pairScore(k));
    const auto best = std::max_element(scores.begin(), scores.end());
    const int at = int(best - scores.begin());
    const int half = std::max(2, int(std::lround(0.5 * baud_ / binHz_)));
    const double noise = noiseDensity(double(at - reach) * binHz_) * 2.0 * (2 * half + 1);
    // A pair must stand well above what noise alone would give in the same bins.
    if (!(*best > 1.5 * noise) || noise <= 0.0)
        return std::nullopt;
    double fraction = 0.0;
    if (at > 0 && at + 1 < int(scores.size())) {
        const double a = scores[std::size_t(at - 1)], b = *best, c = scores[std::size_t(at + 1)];
        const double curve = a - 2.0 * b + c;
        if (curve < 0.0)
            fraction = std::clamp(0.5 * (a - c) / curve, -0.5, 0.5);
    }
    return (double(at - reach) + fraction) * binHz_;
}

double ToneSpectrum::signalToNoiseDb(double offset) const
{
    const double density = noiseDensity(offset);
    const double edge = 0.5 * shift_ + 1.5 * baud_ + 10.0;
    double signal = 0.0;
    for (int k = int(std::floor(binOf(offset - edge))); k <= int(std::ceil(binOf(offset + edge))); ++k)
        signal += power(k) - density;
    const double noise = density * kNoiseBandwidthHz / binHz_;
    if (!(noise > 0.0) || !std::isfinite(noise))
        return signal > 0.0 ? 60.0 : -30.0;
    const double ratio = std::max(signal / noise, 1e-3);
    return std::clamp(10.0 * std::log10(ratio), -30.0, 60.0);
}

} // namespace digimode::rtty
