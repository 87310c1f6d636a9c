// Test MFSK transmitter: text to continuous-phase MFSK8/16/32 at 11025 Hz.
#pragma once

#include "Demodulator.h"

#include <string>
#include <vector>

namespace testsignal {

struct MfskSettings {
    double carrier = 1500.0; // centre of the tone set
    double baud = 15.625;    // 7.8125 MFSK8, 15.625 MFSK16, 31.25 MFSK32
    digimode::Sideband sideband = digimode::Sideband::Upper;
    int preambleSymbols = 16; // the lowest tone, as a station starts ...
    int idleSymbols = 32;     // ... then idle characters, which a receiver syncs on
    float amplitude = 0.5f;
};

// The transmitted tone indices: preamble, idle, text, then enough idle to carry the last
// character through any receiver's interleaver and decoder. Idle is the NUL character.
std::vector<int> mfskTones(const std::string &text, const MfskSettings &settings);

// Keyed from the first sample to the last.
std::vector<float> mfskSignal(const std::string &text, const MfskSettings &settings);

} // namespace testsignal
