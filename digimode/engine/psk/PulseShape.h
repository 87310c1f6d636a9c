// The keying pulse of the PSK modes and the receive filter matched to it.
#pragma once

#include <vector>

namespace digimode {

// PSK31 keys each symbol with a raised-cosine pulse two symbols long, so that a phase
// reversal fades the carrier through zero and steady data leave it unmodulated.
// u is the time from the symbol centre in symbols.
double pskPulse(double u);

// A receive filter for that pulse at samplesPerSymbol: the matched filter with the part
// that overlaps the neighbouring symbols projected out, so the filtered signal has no
// intersymbol interference at the symbol centres (its response there is 1) at a loss of
// about 0.3 dB against the matched filter.
struct ReceiveFilter {
    std::vector<float> taps;
    // Signal-to-noise ratio at its output relative to the matched filter's (<= 1).
    double efficiency;
};
ReceiveFilter pskReceiveFilter(int samplesPerSymbol);

} // namespace digimode
