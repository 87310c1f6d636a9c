#include "MfskDecoder.h"

#include <algorithm>
#include <cmath>

namespace digimode::mfsk {

namespace {
// The agreement forgets over about this many decided bits.
constexpr double kAgreementWeight = 1.0 / 64.0;
// Squelch: open above, close below (noise agrees half the time, a signal decoded without
// error every time).
constexpr double kOpen = 0.75;
constexpr double kClose = 0.65;
// Characters decoded this recently (in data bits) are held while the squelch decides.
constexpr std::int64_t kHeldBits = 96;
// The longest code: a character ending this soon after untrusted bits may hold some.
constexpr std::int64_t kLongestCode = 12;
} // namespace

void MfskDecoder::configure(const MfskMode &mode)
{
    mode_ = mode;
    deinterleaver_ = std::make_unique<DiagonalInterleaver<float>>(
        mode.bitsPerSymbol, mode.interleaverDepth, DiagonalInterleaver<float>::Direction::Deinterleave);
    pairings_.clear();
    const int count = mode.bitsPerSymbol % 2 == 0 ? 1 : 2;
    for (int i = 0; i < count; ++i)
        pairings_.push_back(std::make_unique<Pairing>());
    symbol_.assign(std::size_t(mode.bitsPerSymbol), 0.0f);
    reset();
}

void MfskDecoder::reset()
{
    if (deinterleaver_)
        deinterleaver_->reset();
    for (std::size_t i = 0; i < pairings_.size(); ++i) {
        Pairing &p = *pairings_[i];
        p.viterbi.reset();
        p.check.reset();
        p.varicode.reset();
        p.received.clear();
        p.agreement = 0.5;
        p.bits = 0;
        p.held.clear();
        // The second pairing starts one code bit later.
        p.half.reset();
        if (i == 1) {
            p.half = 0.0f;
            p.received.push_back(0.0f);
        }
    }
    speaker_ = 0;
    open_ = false;
    // Until the de-interleaver has filled, part of every symbol is made up.
    untrusted_ = deinterleaver_ ? deinterleaver_->latency() * mode_.bitsPerSymbol / 2 + kLongestCode : 0;
}

int MfskDecoder::latencySymbols() const
{
    const int bits = 2 * ViterbiDecoder::delay();
    return (deinterleaver_ ? deinterleaver_->latency() : 0) + (bits + mode_.bitsPerSymbol - 1) / mode_.bitsPerSymbol;
}

double MfskDecoder::agreement() const
{
    return pairings_.empty() ? 0.5 : pairings_[speaker_]->agreement;
}

void MfskDecoder::push(const float *softBits, const CharSink &sink)
{
    std::copy(softBits, softBits + mode_.bitsPerSymbol, symbol_.begin());
    deinterleaver_->process(symbol_.data());
    for (float bit : symbol_)
        for (auto &pairing : pairings_)
            feed(*pairing, bit);
    if (pairings_.size() == 2) {
        const std::size_t other = 1 - speaker_;
        // Change only on a clear margin, so the two do not take turns in noise.
        if (pairings_[other]->agreement > pairings_[speaker_]->agreement + 0.1)
            speaker_ = other;
    }
    Pairing &speaker = *pairings_[speaker_];
    if (open_ ? speaker.agreement < kClose : speaker.agreement > kOpen)
        open_ = !open_;
    release(speaker, sink);
}

void MfskDecoder::feed(Pairing &p, float bit)
{
    p.received.push_back(bit);
    if (!p.half) {
        p.half = bit;
        return;
    }
    p.decided.clear();
    p.viterbi.push(*p.half, bit, p.decided);
    p.half.reset();
    for (int data : p.decided) {
        // Re-encode the decision and compare with the code bits that carried it; bits
        // the de-interleaver made up (exactly zero) say nothing.
        const auto code = p.check.encode(data);
        const float a = p.received[0], b = p.received[1];
        p.received.erase(p.received.begin(), p.received.begin() + 2);
        for (const auto &[soft, expected] : {std::pair{a, code[0]}, std::pair{b, code[1]}}) {
            if (soft == 0.0f)
                continue;
            const double agrees = (soft > 0.0f) == (expected == 1) ? 1.0 : 0.0;
            p.agreement += kAgreementWeight * (agrees - p.agreement);
        }
        ++p.bits;
        if (const auto c = p.varicode.push(data); c && *c != 0 && p.bits > untrusted_)
            p.held.emplace_back(*c, p.bits);
    }
    while (!p.held.empty() && p.held.front().second < p.bits - kHeldBits)
        p.held.pop_front();
}

void MfskDecoder::release(Pairing &p, const CharSink &sink)
{
    if (!open_)
        return;
    for (const auto &[c, bit] : p.held)
        sink(c);
    p.held.clear();
}

} // namespace digimode::mfsk
