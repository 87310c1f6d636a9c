#include "ConvolutionalCode.h"

// libfec's header declares C functions without extern "C" of its own.
extern "C" {
#include <fec.h>
}

#include <algorithm>
#include <bit>
#include <cmath>

namespace digimode::mfsk {

namespace {
constexpr unsigned kPolyA = V27POLYA; // 0x6D
constexpr unsigned kPolyB = V27POLYB; // 0x4F
// Each window decides this many bits ...
constexpr int kDecided = 16;
// ... behind this much look-ahead (about seven constraint lengths: a wrong guess of the
// final state no longer matters there).
constexpr int kLookAhead = 48;
// libfec traces back from the state after the window's last six bits.
constexpr int kTail = kConstraintLength - 1;
constexpr int kWindow = kDecided + kLookAhead + kTail;
} // namespace

std::array<int, 2> ConvolutionalEncoder::encode(int bit)
{
    state_ = ((state_ << 1) | (bit ? 1u : 0u)) & 0x7Fu;
    return {std::popcount(state_ & kPolyA) & 1, std::popcount(state_ & kPolyB) & 1};
}

ViterbiDecoder::ViterbiDecoder()
{
    viterbi_ = create_viterbi27(kWindow);
    symbols_.reserve(2 * kWindow);
}

ViterbiDecoder::~ViterbiDecoder()
{
    if (viterbi_)
        delete_viterbi27(viterbi_);
}

int ViterbiDecoder::delay()
{
    return kLookAhead + kTail + kDecided;
}

void ViterbiDecoder::reset()
{
    symbols_.clear();
    state_ = 0;
}

void ViterbiDecoder::push(float first, float second, std::vector<int> &decided)
{
    auto quantise = [](float soft) {
        const float v = std::isfinite(soft) ? std::clamp(soft, -1.0f, 1.0f) : 0.0f;
        return std::uint8_t(std::lround(127.5f + 127.5f * v));
    };
    symbols_.push_back(quantise(first));
    symbols_.push_back(quantise(second));
    if (symbols_.size() < std::size_t(2 * kWindow))
        return;

    init_viterbi27(viterbi_, int(state_));
    update_viterbi27_blk(viterbi_, symbols_.data(), kWindow);
    std::array<unsigned char, (kWindow - kTail + 7) / 8> data{};
    chainback_viterbi27(viterbi_, data.data(), kWindow - kTail, 0);
    for (int i = 0; i < kDecided; ++i) {
        const int bit = (data[std::size_t(i >> 3)] >> (7 - (i & 7))) & 1;
        decided.push_back(bit);
        state_ = ((state_ << 1) | unsigned(bit)) & 0x3Fu;
    }
    symbols_.erase(symbols_.begin(), symbols_.begin() + 2 * kDecided);
}

} // namespace digimode::mfsk
