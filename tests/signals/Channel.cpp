#include "Channel.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace testsignal {

void addNoise(std::vector<float> &samples, double snrDb, std::uint32_t seed)
{
    if (samples.empty())
        return;
    const double power = std::accumulate(samples.begin(), samples.end(), 0.0,
                                         [](double a, float s) { return a + double(s) * s; })
        / double(samples.size());
    // White noise of variance v spreads v over 0..fs/2; the share in 2500 Hz is
    // v * 2500 / (fs/2). Choose v so that this share is power / 10^(snr/10).
    const double noiseIn2500 = power / std::pow(10.0, snrDb / 10.0);
    const double variance = noiseIn2500 * (kSampleRate / 2.0) / kNoiseBandwidthHz;
    std::mt19937 rng(seed);
    std::normal_distribution<double> gauss(0.0, std::sqrt(variance));
    for (float &s : samples)
        s = float(s + gauss(rng));
}

std::vector<float> withClockError(const std::vector<float> &samples, double ppm)
{
    // Output sample k is the input at time k * step; a windowed-sinc kernel keeps the
    // audio band clean (linear interpolation would add distortion near 3 kHz).
    const double step = 1.0 - ppm * 1e-6;
    const int half = 16;
    const auto outCount = std::size_t(double(samples.size()) / step);
    std::vector<float> out(outCount);
    for (std::size_t k = 0; k < outCount; ++k) {
        const double t = double(k) * step;
        const auto centre = long(std::floor(t));
        double acc = 0.0;
        for (long i = centre - half + 1; i <= centre + half; ++i) {
            if (i < 0 || i >= long(samples.size()))
                continue;
            const double x = t - double(i);
            const double sinc = std::abs(x) < 1e-9 ? 1.0 : std::sin(M_PI * x) / (M_PI * x);
            const double window = 0.5 + 0.5 * std::cos(M_PI * x / half);
            acc += samples[std::size_t(i)] * sinc * window;
        }
        out[k] = float(acc);
    }
    return out;
}

std::vector<float> silence(double seconds)
{
    return std::vector<float>(std::size_t(seconds * kSampleRate), 0.0f);
}

double characterErrorRate(const std::string &sent, const std::string &received)
{
    if (sent.empty())
        return received.empty() ? 0.0 : 1.0;
    std::vector<std::size_t> previous(received.size() + 1), current(received.size() + 1);
    std::iota(previous.begin(), previous.end(), 0);
    for (std::size_t i = 1; i <= sent.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= received.size(); ++j) {
            const std::size_t substitute = previous[j - 1] + (sent[i - 1] == received[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitute});
        }
        std::swap(previous, current);
    }
    return double(previous[received.size()]) / double(sent.size());
}

} // namespace testsignal
