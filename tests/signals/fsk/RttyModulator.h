// Test RTTY transmitter: text to continuous-phase two-tone FSK at 11025 Hz.
#pragma once

#include "Demodulator.h"

#include <string>
#include <vector>

namespace testsignal {

struct RttySettings {
    double carrier = 1500.0; // centre between mark and space
    double baud = 45.45;
    digimode::Sideband sideband = digimode::Sideband::Upper;
    double stopBits = 1.5;
    int idleBefore = 6; // LTRS characters sent before the text, as a station starts
    int idleAfter = 3;
    float amplitude = 0.5f;
};

// The Baudot codes that carry the text, with the case shifts a receiver that unshifts
// on space needs. '\r' and '\n' are CR and LF; characters ITA2 lacks are left out.
std::vector<unsigned> rttyCodes(const std::string &text);

// Keyed from the first sample to the last (idle LTRS around the text).
std::vector<float> rttySignal(const std::string &text, const RttySettings &settings);

} // namespace testsignal
