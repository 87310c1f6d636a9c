// From soft symbol bits to characters: de-interleaver, Viterbi decoder, varicode.
// Each symbol comes with its clarity: how far its strongest tone stands above the noise
// (zero while the timing is unknown). The clarity travels with the symbol's bits through
// the de-interleaver, and a character is shown only when its own bits and those around
// it are clear, and none of its own was read without timing: noise, and a receiver
// still finding the signal, decode to random characters that stay off the screen.
// A symbol of an odd number of bits (MFSK8) splits code bit pairs across symbols, and
// where the pairs begin is not known to a receiver that joins late: two decoders run,
// one per pairing, and the one that re-encodes closer speaks.
#pragma once

#include "ConvolutionalCode.h"
#include "DiagonalInterleaver.h"
#include "MfskMode.h"
#include "MfskVaricode.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace digimode::mfsk {

class MfskDecoder {
public:
    using CharSink = std::function<void(unsigned char)>;

    void configure(const MfskMode &mode);
    void reset();

    // One symbol's bits, most significant first, each -1 (sure zero) .. +1 (sure one),
    // and its clarity: the strongest tone's energy over the noise per tone bin.
    void push(const float *softBits, float clarity, const CharSink &sink);

private:
    struct Held {
        unsigned char c;
        std::int64_t end;  // data bit after which it was complete
        double ownClarity; // of its own bits, none if any was read without timing
    };
    struct Pairing {
        ViterbiDecoder viterbi;
        ConvolutionalEncoder check;
        VaricodeDecoder varicode;
        std::optional<float> half;  // first code bit of a pair still waiting for its second
        float halfClarity = 0.0f;
        std::deque<float> received; // code bits awaiting the decisions that explain them
        double agreement = 0.5;     // recent share of explained code bits
        std::int64_t bits = 0;      // data bits decided
        std::vector<int> decided;
        std::deque<float> pending;  // clarity of the data bits inside the Viterbi decoder
        std::deque<float> clarity;  // of decided data bits, from firstBit on
        std::int64_t firstBit = 0;
        double ownSum = 0.0; // clarity of the character being decoded
        int ownBits = 0;
        int ownUnclear = 0;  // its bits from symbols read without timing: it is not shown
        std::deque<Held> held;
    };

    void feed(Pairing &pairing, float bit, float clarity);
    void release(Pairing &pairing, bool speaks, const CharSink &sink);

    MfskMode mode_{};
    std::unique_ptr<DiagonalInterleaver<float>> deinterleaver_;
    std::vector<std::unique_ptr<Pairing>> pairings_;
    std::size_t speaker_ = 0;
    std::unique_ptr<DiagonalInterleaver<float>> clarityDeinterleaver_;
    std::vector<float> symbol_;
    std::vector<float> symbolClarity_;
    double shownClarity_ = 5.0; // the judgement's thresholds, by the number of tones
    double ownShownClarity_ = 4.5;
    std::int64_t untrusted_ = 0; // data bits decided from a de-interleaver still filling
};

} // namespace digimode::mfsk
