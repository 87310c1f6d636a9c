#include "CoarseAfc.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace digimode {
namespace {

// A line this far above the mean bin counts as a signal when the next block shows it in
// the same place: noise alone rarely tops ~7x in 256 bins once blocks are averaged (the
// fourth power spreads noise wider), and a preamble's side lines (its reversals at the
// symbol rate) seldom win twice.
float lineRatio(int power) { return power > 2 ? 16.0f : 9.0f; }
constexpr float kAveraging = 0.5f;

} // namespace

CoarseAfc::CoarseAfc(int power, double sampleRate)
    : power_(power)
    , sampleRate_(sampleRate)
    , window_(kSize)
    , average_(kSize, 0.0f)
{
    for (int i = 0; i < kSize; ++i)
        window_[std::size_t(i)] = float(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / kSize));
    in_ = reinterpret_cast<std::complex<float> *>(fftwf_malloc(sizeof(fftwf_complex) * kSize));
    out_ = reinterpret_cast<std::complex<float> *>(fftwf_malloc(sizeof(fftwf_complex) * kSize));
    plan_ = fftwf_plan_dft_1d(kSize, reinterpret_cast<fftwf_complex *>(in_),
                              reinterpret_cast<fftwf_complex *>(out_), FFTW_FORWARD, FFTW_ESTIMATE);
}

CoarseAfc::~CoarseAfc()
{
    fftwf_destroy_plan(plan_);
    fftwf_free(in_);
    fftwf_free(out_);
}

void CoarseAfc::restart(int skip)
{
    skip_ = skip;
    std::fill(average_.begin(), average_.end(), 0.0f);
    averaged_ = 0;
    fill_ = 0;
    candidate_ = kNoCandidate;
}

bool CoarseAfc::push(std::complex<float> z, double &offsetHz)
{
    if (skip_ > 0) {
        --skip_;
        return false;
    }
    // z^M / |z|^(M-1): the keying goes, the magnitude stays that of z, so single loud
    // noise samples do not dominate the line.
    const float magnitude = std::abs(z);
    std::complex<float> stripped = 0.0f;
    if (magnitude > 1e-20f) {
        const std::complex<float> unit = z / magnitude;
        std::complex<float> p = unit;
        for (int i = 1; i < power_; ++i)
            p *= unit;
        stripped = p * magnitude;
    }
    in_[fill_] = stripped * window_[std::size_t(fill_)];
    if (++fill_ < kSize)
        return false;
    fill_ = 0;

    fftwf_execute(plan_);
    const float weight = averaged_ == 0 ? 1.0f : kAveraging;
    for (int k = 0; k < kSize; ++k)
        average_[std::size_t(k)] += weight * (std::norm(out_[k]) - average_[std::size_t(k)]);
    ++averaged_;

    const double binHz = sampleRate_ / kSize;
    const int reach = std::min(kSize / 2 - 2, int(power_ * range_ / binHz));
    int best = 0;
    for (int k = -reach; k <= reach; ++k)
        if (average_[std::size_t((k + kSize) % kSize)] > average_[std::size_t((best + kSize) % kSize)])
            best = k;
    const float mean = std::accumulate(average_.begin(), average_.end(), 0.0f) / kSize;
    const float peak = average_[std::size_t((best + kSize) % kSize)];
    if (!(mean > 0.0f) || peak < lineRatio(power_) * mean) {
        candidate_ = kNoCandidate;
        return false;
    }
    const bool confirmed = std::abs(best - candidate_) <= 1;
    candidate_ = best;
    if (!confirmed)
        return false;

    // Parabolic interpolation between the neighbouring bins.
    const float left = average_[std::size_t((best - 1 + kSize) % kSize)];
    const float right = average_[std::size_t((best + 1 + kSize) % kSize)];
    const float denominator = left - 2.0f * peak + right;
    const double fraction = denominator < 0.0f ? 0.5 * (left - right) / denominator : 0.0;
    offsetHz = (best + fraction) * binHz / power_;
    return std::isfinite(offsetHz);
}

} // namespace digimode
