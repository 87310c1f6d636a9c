#include "Spectrum.h"

#include "Demodulator.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace digimode {

Spectrum::Spectrum()
    : history_(kSize, 0.0f)
    , window_(kSize)
    , frameDb_(kSize / 2 + 1, kFloorDb)
    , averagePower_(kSize / 2 + 1, 0.0)
{
    double sum = 0.0;
    for (int i = 0; i < kSize; ++i) {
        window_[std::size_t(i)] = float(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / kSize));
        sum += window_[std::size_t(i)];
    }
    // Scale so that a full-scale sine reads 0 dB: its peak bin is amplitude * sum / 2.
    for (float &w : window_)
        w = float(w * 2.0 / sum);
    in_ = fftwf_alloc_real(kSize);
    out_ = fftwf_alloc_complex(kSize / 2 + 1);
    plan_ = fftwf_plan_dft_r2c_1d(kSize, in_, static_cast<fftwf_complex *>(out_), FFTW_ESTIMATE);
}

Spectrum::~Spectrum()
{
    fftwf_destroy_plan(plan_);
    fftwf_free(in_);
    fftwf_free(out_);
}

double Spectrum::binHz()
{
    return kSampleRate / kSize;
}

void Spectrum::reset()
{
    std::fill(history_.begin(), history_.end(), 0.0f);
    std::fill(frameDb_.begin(), frameDb_.end(), kFloorDb);
    std::fill(averagePower_.begin(), averagePower_.end(), 0.0);
    frames_ = 0;
    sinceFrame_ = 0;
}

void Spectrum::computeFrame()
{
    for (int i = 0; i < kSize; ++i)
        in_[i] = history_[std::size_t((write_ + i) % kSize)] * window_[std::size_t(i)];
    fftwf_execute(plan_);
    const auto *bins = static_cast<fftwf_complex *>(out_);
    ++frames_;
    for (int k = 0; k <= kSize / 2; ++k) {
        const double power = double(bins[k][0]) * bins[k][0] + double(bins[k][1]) * bins[k][1];
        const double db = 10.0 * std::log10(power + 1e-15);
        frameDb_[std::size_t(k)] = std::isfinite(db) ? float(std::max(db, double(kFloorDb))) : kFloorDb;
        if (std::isfinite(power))
            averagePower_[std::size_t(k)] += (power - averagePower_[std::size_t(k)]) / double(frames_);
    }
}

double strongestSignalHz(const std::vector<double> &power, double binHz, double loHz, double hiHz, double widthHz)
{
    const int last = int(power.size()) - 1;
    const int lo = std::clamp(int(std::ceil(loHz / binHz)), 0, last);
    const int hi = std::clamp(int(std::floor(hiHz / binHz)), lo, last);
    const int half = std::max(1, int(std::lround(widthHz / binHz / 2.0)));
    double best = -1.0;
    int bestBin = (lo + hi) / 2;
    for (int k = lo; k <= hi; ++k) {
        double sum = 0.0;
        for (int j = std::max(0, k - half); j <= std::min(last, k + half); ++j)
            sum += power[std::size_t(j)];
        if (sum > best) {
            best = sum;
            bestBin = k;
        }
    }
    // The power-weighted centre within the window, finer than a bin.
    double weight = 0.0, moment = 0.0;
    for (int j = std::max(0, bestBin - half); j <= std::min(last, bestBin + half); ++j) {
        weight += power[std::size_t(j)];
        moment += power[std::size_t(j)] * j;
    }
    return (weight > 0.0 ? moment / weight : bestBin) * binHz;
}

} // namespace digimode
