// The spectrum of the received audio for the view: overlapping windowed FFT frames at a
// steady rate, the latest one kept as magnitudes in dB.
#pragma once

#include <cstddef>
#include <vector>

typedef struct fftwf_plan_s *fftwf_plan;

namespace digimode {

class Spectrum {
public:
    static constexpr int kSize = 2048;                 // 5.4 Hz bins at 11025 Hz
    static constexpr int kHop = 689;                   // 16 frames a second
    static constexpr float kFloorDb = -150.0f;

    Spectrum();
    ~Spectrum();
    Spectrum(const Spectrum &) = delete;
    Spectrum &operator=(const Spectrum &) = delete;

    // Feeds samples; calls frameReady once for every frame completed on the way.
    template <typename F>
    void push(const float *samples, std::size_t count, F frameReady)
    {
        for (std::size_t i = 0; i < count; ++i) {
            history_[std::size_t(write_)] = samples[i];
            write_ = (write_ + 1) % kSize;
            if (++sinceFrame_ == kHop) {
                sinceFrame_ = 0;
                computeFrame();
                frameReady();
            }
        }
    }

    // kSize / 2 + 1 bins from 0 Hz up, dB relative to a full-scale sine (0 dB).
    const std::vector<float> &frameDb() const { return frameDb_; }
    // The mean power of every frame so far, per bin (linear), for finding signals.
    const std::vector<double> &averagePower() const { return averagePower_; }
    static double binHz();
    void reset();

private:
    void computeFrame();

    std::vector<float> history_;
    int write_ = 0;
    int sinceFrame_ = 0;
    std::vector<float> window_;
    std::vector<float> frameDb_;
    std::vector<double> averagePower_;
    long frames_ = 0;
    float *in_;
    void *out_;
    fftwf_plan plan_;
};

// The centre of the strongest signal between loHz and hiHz in a power spectrum: the
// place where the power summed over widthHz is largest.
double strongestSignalHz(const std::vector<double> &power, double binHz, double loHz, double hiHz, double widthHz);

} // namespace digimode
