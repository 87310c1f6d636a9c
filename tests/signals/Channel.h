// What lies between a test modulator and the receive engine: noise at a stated
// signal-to-noise ratio, a sound-card clock error, and the measure of what came out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsignal {

constexpr double kSampleRate = 11025.0;
// Signal-to-noise ratios are stated with the noise measured in this bandwidth, as usual
// for digital-mode comparisons.
constexpr double kNoiseBandwidthHz = 2500.0;

// Adds white Gaussian noise so that signal power / noise power in 2500 Hz equals snrDb.
// The signal power is measured over the whole buffer (so give it the keyed part only,
// or a buffer that is keyed throughout).
void addNoise(std::vector<float> &samples, double snrDb, std::uint32_t seed);

// Plays the samples through a sound card whose clock is off by ppm (positive: the sound
// card samples fast against the sender, so the signal arrives stretched). Band-limited
// interpolation.
std::vector<float> withClockError(const std::vector<float> &samples, double ppm);

// Silence of the given length, to put before and after a transmission.
std::vector<float> silence(double seconds);

// Character error rate: edit distance between sent and received over the sent length.
double characterErrorRate(const std::string &sent, const std::string &received);

} // namespace testsignal
