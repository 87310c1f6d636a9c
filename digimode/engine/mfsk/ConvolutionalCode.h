// The NASA K=7 rate 1/2 convolutional code (polynomials 0x6D and 0x4F): the encoder
// for transmitters, and a streaming soft-decision Viterbi decoder on libfec.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace digimode::mfsk {

constexpr int kConstraintLength = 7;

class ConvolutionalEncoder {
public:
    // The two code bits of one data bit, the 0x6D polynomial's first.
    std::array<int, 2> encode(int bit);
    void reset() { state_ = 0; }

private:
    unsigned state_ = 0;
};

// Soft code bits in (-1 sure zero .. +1 sure one, 0 unknown), data bits out after a fixed
// decision delay. Decodes overlapping windows: each decides its first bits with the rest
// of the window as look-ahead, starting from the state the previous decisions left.
class ViterbiDecoder {
public:
    ViterbiDecoder();
    ~ViterbiDecoder();
    ViterbiDecoder(const ViterbiDecoder &) = delete;
    ViterbiDecoder &operator=(const ViterbiDecoder &) = delete;

    // Two soft code bits of one data bit; appends the data bits it has decided.
    void push(float first, float second, std::vector<int> &decided);
    void reset();

    // Data bits between entering and leaving.
    static int delay();

private:
    void *viterbi_ = nullptr;
    std::vector<std::uint8_t> symbols_; // pairs of the current window, 0 sure zero .. 255 sure one
    unsigned state_ = 0;                // encoder state before the window
};

} // namespace digimode::mfsk
