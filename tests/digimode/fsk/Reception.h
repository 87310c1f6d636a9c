// What the receive tests share: a transmission through the channel into a demodulator.
#pragma once

#include "Channel.h"
#include "Demodulator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace fsktest {

struct Channel {
    double snrDb = 30.0;
    double clockPpm = 0.0;
    std::uint32_t seed = 1;
    double leadInSeconds = 0.0; // noise alone before the signal
};

// Noise at the stated S/N of the keyed signal, over the lead-in too.
inline std::vector<float> through(const std::vector<float> &keyed, const Channel &channel)
{
    std::vector<float> samples = testsignal::silence(channel.leadInSeconds);
    const std::size_t leadIn = samples.size();
    samples.insert(samples.end(), keyed.begin(), keyed.end());
    if (channel.clockPpm != 0.0)
        samples = testsignal::withClockError(samples, channel.clockPpm);
    // addNoise measures the power over the whole buffer: allow for the silent lead-in.
    const double share = double(samples.size()) / double(samples.size() - leadIn);
    testsignal::addNoise(samples, channel.snrDb - 10.0 * std::log10(share), channel.seed);
    return samples;
}

inline std::string receive(digimode::Demodulator &demodulator, const std::vector<float> &samples)
{
    std::string text;
    demodulator.setCharSink([&text](unsigned char c) { text += char(c); });
    // In blocks, as a sound card delivers them.
    for (std::size_t i = 0; i < samples.size(); i += 1024)
        demodulator.process(samples.data() + i, std::min<std::size_t>(1024, samples.size() - i));
    return text;
}

} // namespace fsktest
