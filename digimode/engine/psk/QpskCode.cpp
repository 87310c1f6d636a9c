#include "QpskCode.h"

#include <algorithm>
#include <bit>

namespace digimode {
namespace {

constexpr unsigned kRegisterMask = 0x1f;
constexpr unsigned kStateMask = 0x0f;

// The two code bits a register content (newest bit lowest) sends.
constexpr std::array<std::uint8_t, 32> codePairs()
{
    std::array<std::uint8_t, 32> pairs{};
    for (unsigned r = 0; r < 32; ++r)
        pairs[r] = std::uint8_t((std::popcount(r & unsigned(kCodePolynomialA)) & 1) << 1
                                | (std::popcount(r & unsigned(kCodePolynomialB)) & 1));
    return pairs;
}
constexpr auto kCodePairs = codePairs();

} // namespace

std::array<bool, 2> ConvolutionalEncoder::push(bool bit)
{
    const unsigned r = ((state_ << 1) | unsigned(bit)) & kRegisterMask;
    state_ = r & kStateMask;
    return {bool(kCodePairs[r] & 2u), bool(kCodePairs[r] & 1u)};
}

ViterbiDecoder::ViterbiDecoder()
{
    reset();
}

void ViterbiDecoder::push(unsigned char soft0, unsigned char soft1, const BitSink &sink)
{
    // The cost of each code pair: how far the soft values are from it.
    const std::uint32_t near0 = soft0, near1 = soft1, far0 = 255u - near0, far1 = 255u - near1;
    const std::array<std::uint32_t, 4> cost = {near0 + near1, near0 + far1, far0 + near1, far0 + far1};

    // State n holds the four newest bits; its predecessors differ in the oldest one,
    // which the new register holds in its top bit.
    std::array<std::uint32_t, kStates> next{};
    std::uint16_t decided = 0;
    for (unsigned n = 0; n < kStates; ++n) {
        const unsigned p0 = n >> 1, p1 = p0 | 8u;
        const std::uint32_t m0 = metrics_[p0] + cost[kCodePairs[n]];
        const std::uint32_t m1 = metrics_[p1] + cost[kCodePairs[n | 16u]];
        if (m1 < m0) {
            next[n] = m1;
            decided |= std::uint16_t(1u << n);
        } else {
            next[n] = m0;
        }
    }
    const std::uint32_t least = *std::min_element(next.begin(), next.end());
    for (unsigned n = 0; n < kStates; ++n)
        metrics_[n] = next[n] - least;
    lastCost_ = least;
    decisions_[std::size_t(symbols_ % window())] = decided;
    ++symbols_;
    if (symbols_ < window())
        return;

    unsigned state = unsigned(std::min_element(metrics_.begin(), metrics_.end()) - metrics_.begin());
    for (long k = symbols_ - 1; k > symbols_ - window(); --k) {
        const unsigned oldest = (decisions_[std::size_t(k % window())] >> state) & 1u;
        state = (state >> 1) | (oldest << 3);
    }
    sink(state & 1u);
}

void ViterbiDecoder::reset()
{
    // The encoder starts from zeros (the idle before a transmission), but a receiver
    // joins at any point: no state is favoured.
    metrics_.fill(0);
    decisions_.fill(0);
    symbols_ = 0;
    lastCost_ = 0;
}

} // namespace digimode
