// Test transmitter for the PSK modes: text to BPSK or QPSK audio (11025 Hz unless told), keyed as
// PSK31 is (raised-cosine pulses, varicode, the QPSK convolutional code), with a
// preamble and a postamble of idle reversals.
#pragma once

#include <string>
#include <vector>

namespace testsignal {

struct PskSignal {
    double carrierHz = 1000.0;
    double baud = 31.25;
    bool quadrature = false;
    bool quarterTurnsReversed = false;  // QPSK as a sender on the other sideband sends it
    double amplitude = 0.5;       // peak
    double idleSeconds = 1.0;     // before and after the text
    double sampleRate = 11025.0;  // other rates for recordings the engine must convert
};

// The keyed transmission only (no silence around it), so addNoise measures its power.
std::vector<float> modulatePsk(const std::string &text, const PskSignal &signal);

} // namespace testsignal
