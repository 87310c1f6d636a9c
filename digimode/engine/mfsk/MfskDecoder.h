// From soft symbol bits to characters: de-interleaver, Viterbi decoder, varicode.
// How well the decoder's decisions re-encode to what was received tells a signal from
// noise: it squelches the random characters that noise decodes to, holding back the
// last few while it decides, so a signal's first characters are not lost.
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
#include <utility>
#include <vector>

namespace digimode::mfsk {

class MfskDecoder {
public:
    using CharSink = std::function<void(unsigned char)>;

    void configure(const MfskMode &mode);
    void reset();

    // One symbol's bits, most significant first, each -1 (sure zero) .. +1 (sure one).
    void push(const float *softBits, const CharSink &sink);

    // Symbols from a bit's arrival to its character (at most).
    int latencySymbols() const;
    // The share of received code bits that the decisions explain, recently (0.5: noise).
    double agreement() const;

private:
    struct Pairing {
        ViterbiDecoder viterbi;
        ConvolutionalEncoder check;
        VaricodeDecoder varicode;
        std::optional<float> half;  // first code bit of a pair still waiting for its second
        std::deque<float> received; // code bits awaiting the decisions that explain them
        double agreement = 0.5;
        std::int64_t bits = 0; // data bits decided
        std::vector<int> decided;
        std::deque<std::pair<unsigned char, std::int64_t>> held; // characters, by bit
    };

    void feed(Pairing &pairing, float bit);
    void release(Pairing &pairing, const CharSink &sink);

    MfskMode mode_{};
    std::unique_ptr<DiagonalInterleaver<float>> deinterleaver_;
    std::vector<std::unique_ptr<Pairing>> pairings_;
    std::size_t speaker_ = 0;
    std::vector<float> symbol_;
    std::int64_t untrusted_ = 0; // data bits decided from a de-interleaver still filling
    bool open_ = false;
};

} // namespace digimode::mfsk
