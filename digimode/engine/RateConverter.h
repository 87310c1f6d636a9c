// Converts audio at any sample rate to the engine's 11025 Hz (liquid's multi-stage
// resampler), for WAV files and for sound cards that will not deliver 11025 Hz.
#pragma once

#include <cstddef>
#include <vector>

struct msresamp_rrrf_s;

namespace digimode {

class RateConverter {
public:
    explicit RateConverter(double inputRate);
    ~RateConverter();
    RateConverter(const RateConverter &) = delete;
    RateConverter &operator=(const RateConverter &) = delete;

    double inputRate() const { return inputRate_; }
    // Appends the converted samples to out.
    void convert(const float *samples, std::size_t count, std::vector<float> &out);

private:
    double inputRate_;
    msresamp_rrrf_s *resampler_ = nullptr;   // null when the rate is already right
    std::vector<float> input_;
};

} // namespace digimode
