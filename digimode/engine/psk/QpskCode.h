// The rate 1/2, constraint length 7 convolutional code of the QPSK modes (generator
// polynomials 0x6D and 0x4F) and its soft-decision Viterbi decoder on libfec.
#pragma once

#include <array>
#include <functional>
#include <vector>

namespace digimode {

constexpr int kCodePolynomialA = 0x6D;
constexpr int kCodePolynomialB = 0x4F;

class ConvolutionalEncoder {
public:
    // Shifts one data bit in and returns the two code bits sent for it.
    std::array<bool, 2> push(bool bit);
    void reset() { state_ = 0; }

private:
    unsigned state_ = 0;
};

// Decodes a continuous stream with a sliding window: every few symbols the window is
// traced back from its end and the oldest bits, on which all survivors agree by then,
// are handed out. The delay is window() symbols. libfec does not say which state is
// best at the end of a window, so the traceback starts from an arbitrary one and needs
// about twice the usual depth to be sure it has joined the best path.
class ViterbiDecoder {
public:
    using BitSink = std::function<void(bool)>;

    ViterbiDecoder();
    ~ViterbiDecoder();
    ViterbiDecoder(const ViterbiDecoder &) = delete;
    ViterbiDecoder &operator=(const ViterbiDecoder &) = delete;

    // One received symbol: the soft values of its two code bits, 0 = surely 0,
    // 255 = surely 1, 128 = no idea.
    void push(unsigned char soft0, unsigned char soft1, const BitSink &sink);
    void reset();

    static constexpr int window() { return kDecided + kTraceback; }

private:
    static constexpr int kDecided = 16;
    static constexpr int kTraceback = 64;

    void *decoder_;
    std::vector<unsigned char> symbols_;
    unsigned startState_ = 0;
};

} // namespace digimode
