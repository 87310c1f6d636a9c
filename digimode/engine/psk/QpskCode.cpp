#include "QpskCode.h"

#include <bit>
#include <cassert>
#include <new>

extern "C" {
#include <fec.h>
}

namespace digimode {
namespace {

bool parity(unsigned x) { return std::popcount(x) & 1; }

// libfec's Viterbi assumes the encoder register has its newest bit at the bottom and
// that it was flushed with six zero bits; the last six symbols of a window therefore
// serve as the tail of the traceback and are never handed out.
constexpr int kTail = 6;
static_assert(kCodePolynomialA == V27POLYA && kCodePolynomialB == V27POLYB,
              "the decoder uses libfec's default K=7 polynomials");

} // namespace

std::array<bool, 2> ConvolutionalEncoder::push(bool bit)
{
    state_ = ((state_ << 1) | unsigned(bit)) & 0x7f;
    return {parity(state_ & kCodePolynomialA), parity(state_ & kCodePolynomialB)};
}

ViterbiDecoder::ViterbiDecoder()
    : decoder_(create_viterbi27(window()))
{
    if (!decoder_)
        throw std::bad_alloc();
    symbols_.reserve(2 * window());
}

ViterbiDecoder::~ViterbiDecoder()
{
    delete_viterbi27(decoder_);
}

void ViterbiDecoder::push(unsigned char soft0, unsigned char soft1, const BitSink &sink)
{
    symbols_.push_back(soft0);
    symbols_.push_back(soft1);
    if (int(symbols_.size()) < 2 * window())
        return;

    init_viterbi27(decoder_, int(startState_));
    update_viterbi27_blk(decoder_, symbols_.data(), window());
    unsigned char packed[(window() + 7) / 8] = {};
    chainback_viterbi27(decoder_, packed, window() - kTail, 0);

    for (int i = 0; i < kDecided; ++i) {
        const bool bit = (packed[i >> 3] >> (7 - (i & 7))) & 1;
        startState_ = ((startState_ << 1) | unsigned(bit)) & 0x3f;
        sink(bit);
    }
    symbols_.erase(symbols_.begin(), symbols_.begin() + 2 * kDecided);
}

void ViterbiDecoder::reset()
{
    symbols_.clear();
    startState_ = 0;
}

} // namespace digimode
