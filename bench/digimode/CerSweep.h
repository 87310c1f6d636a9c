// Character error rate against signal-to-noise ratio for any modem: a test transmitter,
// the channel (noise in 2500 Hz, a random carrier, a sample clock error of up to
// +-200 ppm) and a demodulator, swept in 1 dB steps. Shared by the modem families' benches.
#pragma once

#include "Demodulator.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bench {

struct CerCase {
    std::string name;                 // "BPSK31"
    // Keyed signal for the text on the given carrier (idle before and after included).
    std::function<std::vector<float>(const std::string &text, double carrierHz)> transmit;
    std::function<std::unique_ptr<digimode::Demodulator>()> receiver;
    double goalDb;                    // the SNR at which the CER should be 2 % or less
};

struct CerOptions {
    double fromDb = -20.0;
    double toDb = 0.0;
    int trials = 2;                   // transmissions per step, each with its own carrier, clock and noise
    double tuningErrorHz = 10.0;      // how far off the receiver is set (AFC on)
};

// A few hundred characters of contest traffic and chat: calls, numbers, reports, words.
std::string mixedText();

// Prints one table row per SNR step and a summary line; returns the lowest SNR from
// which on every step up to toDb stays at or below 2 % CER (toDb + 1 if none).
double runCerSweep(const CerCase &c, const CerOptions &options);

} // namespace bench
