// The convolutional code of the QPSK modes as they are sent on the air: rate 1/2,
// constraint length 5, generators 0x17 and 0x19 (newest bit in the lowest tap), with a
// 16-state soft-decision Viterbi decoder.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace digimode {

constexpr int kCodePolynomialA = 0x17;
constexpr int kCodePolynomialB = 0x19;

class ConvolutionalEncoder {
public:
    // Shifts one data bit in and returns the two code bits sent for it.
    std::array<bool, 2> push(bool bit);
    void reset() { state_ = 0; }

private:
    unsigned state_ = 0;
};

// Decodes a continuous stream: after every symbol the survivor of the best state is
// traced back window() symbols and the bit at its far end is handed out, so the delay
// is window() symbols. Five constraint lengths and more is where a longer traceback
// stops paying.
class ViterbiDecoder {
public:
    using BitSink = std::function<void(bool)>;

    ViterbiDecoder();

    // One received symbol: the soft values of its two code bits, 0 = surely 0,
    // 255 = surely 1, 128 = no idea.
    void push(unsigned char soft0, unsigned char soft1, const BitSink &sink);
    void reset();

    // What the best path paid for the last symbol: small while the symbols fit the code.
    std::uint32_t lastCost() const { return lastCost_; }

    static constexpr int window() { return kWindow; }

private:
    static constexpr int kWindow = 32;
    static constexpr int kStates = 16;

    std::array<std::uint32_t, kStates> metrics_{};
    // For every symbol of the window, one bit per state: which of its two predecessors
    // survived (the value of the bit that left the register).
    std::array<std::uint16_t, kWindow> decisions_{};
    long symbols_ = 0;
    std::uint32_t lastCost_ = 0;
};

} // namespace digimode
