// The MFSK family's parameters: tones spaced by the baud rate, one symbol per tone.
#pragma once

namespace digimode::mfsk {

struct MfskMode {
    int tones;
    double baud;
    int bitsPerSymbol;
    int interleaverDepth;
    // The receiver's working rate and transform: four bins per tone set, spaced by the
    // baud, so the tone set fills a quarter of the band and the noise is seen beside it.
    int symbolSamples;
    double sampleRate;
};

// MFSK8 (32 tones, 7.8125 baud), MFSK16 (16 tones, 15.625 baud) or MFSK32 (16 tones,
// 31.25 baud): whichever lies nearest the speed asked for.
MfskMode mfskMode(double baud);

// Where a tone lies in a symbol transform of two points per spacing: the tones sit at odd
// multiples of half a spacing from the centre of the set (for an even number of tones).
inline int toneBin(const MfskMode &mode, int tone) { return 2 * tone - (mode.tones - 1); }

inline int grayEncode(int v) { return v ^ (v >> 1); }
inline int grayDecode(int g)
{
    int v = 0;
    for (; g; g >>= 1)
        v ^= g;
    return v;
}

} // namespace digimode::mfsk
