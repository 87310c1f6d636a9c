#include "MfskDecoder.h"

#include <algorithm>
#include <cmath>

namespace digimode::mfsk {

namespace {
// The pairing choice weighs about this many recent code bits.
constexpr double kAgreementWeight = 1.0 / 128.0;
// A character is judged by the clarity of this many data bits on either side of its end.
constexpr std::int64_t kJudgedBits = 32;
// In noise the strongest of M tone bins holds on average H(M) = 1 + 1/2 + ... + 1/M
// times the noise per bin; a signal at the decoding limit about twice that. Shown: a
// character whose surroundings clear H(M) by this much (five times what the average of
// noise strays), and whose own bits clear H(M) (fewer bits, so a looser test).
constexpr double kShownMargin = 0.7;
constexpr double kOwnShownMargin = 0.0;
// The longest code: a character ending this soon after untrusted bits may hold some.
constexpr std::int64_t kLongestCode = 12;
} // namespace

void MfskDecoder::configure(const MfskMode &mode)
{
    mode_ = mode;
    deinterleaver_ = std::make_unique<DiagonalInterleaver<float>>(
        mode.bitsPerSymbol, mode.interleaverDepth, DiagonalInterleaver<float>::Direction::Deinterleave);
    clarityDeinterleaver_ = std::make_unique<DiagonalInterleaver<float>>(
        mode.bitsPerSymbol, mode.interleaverDepth, DiagonalInterleaver<float>::Direction::Deinterleave);
    double harmonic = 0.0;
    for (int m = 1; m <= mode.tones; ++m)
        harmonic += 1.0 / m;
    shownClarity_ = harmonic + kShownMargin;
    ownShownClarity_ = harmonic + kOwnShownMargin;
    symbolClarity_.assign(std::size_t(mode.bitsPerSymbol), 0.0f);
    pairings_.clear();
    const int count = mode.bitsPerSymbol % 2 == 0 ? 1 : 2;
    for (int i = 0; i < count; ++i)
        pairings_.push_back(std::make_unique<Pairing>());
    symbol_.assign(std::size_t(mode.bitsPerSymbol), 0.0f);
    reset();
}

void MfskDecoder::reset()
{
    if (deinterleaver_) {
        deinterleaver_->reset();
        clarityDeinterleaver_->reset();
    }
    for (std::size_t i = 0; i < pairings_.size(); ++i) {
        Pairing &p = *pairings_[i];
        p.viterbi.reset();
        p.check.reset();
        p.varicode.reset();
        p.received.clear();
        p.agreement = 0.5;
        p.bits = 0;
        p.pending.clear();
        p.clarity.clear();
        p.firstBit = 0;
        p.ownSum = 0.0;
        p.ownBits = 0;
        p.ownUnclear = 0;
        p.halfClarity = 0.0f;
        p.held.clear();
        // The second pairing starts one code bit later.
        p.half.reset();
        if (i == 1) {
            p.half = 0.0f;
            p.received.push_back(0.0f);
        }
    }
    speaker_ = 0;
    // Until the de-interleaver has filled, part of every symbol is made up.
    untrusted_ = deinterleaver_ ? deinterleaver_->latency() * mode_.bitsPerSymbol / 2 + kLongestCode : 0;
}

void MfskDecoder::push(const float *softBits, float clarity, const CharSink &sink)
{
    std::copy(softBits, softBits + mode_.bitsPerSymbol, symbol_.begin());
    deinterleaver_->process(symbol_.data());
    std::fill(symbolClarity_.begin(), symbolClarity_.end(), std::isfinite(clarity) ? clarity : 0.0f);
    clarityDeinterleaver_->process(symbolClarity_.data());
    for (std::size_t j = 0; j < symbol_.size(); ++j)
        for (auto &pairing : pairings_)
            feed(*pairing, symbol_[j], symbolClarity_[j]);
    if (pairings_.size() == 2) {
        const std::size_t other = 1 - speaker_;
        // Change only on a clear margin, so the two do not take turns in noise.
        if (pairings_[other]->agreement > pairings_[speaker_]->agreement + 0.1)
            speaker_ = other;
    }
    for (std::size_t i = 0; i < pairings_.size(); ++i)
        release(*pairings_[i], i == speaker_, sink);
}

void MfskDecoder::feed(Pairing &p, float bit, float clarity)
{
    p.received.push_back(bit);
    if (!p.half) {
        p.half = bit;
        p.halfClarity = clarity;
        return;
    }
    p.pending.push_back(std::min(p.halfClarity, clarity));
    p.decided.clear();
    p.viterbi.push(*p.half, bit, p.decided);
    p.half.reset();
    for (int data : p.decided) {
        // Re-encode the decision and compare with the code bits that carried it; bits
        // the de-interleaver made up (exactly zero) say nothing.
        const auto code = p.check.encode(data);
        for (int k = 0; k < 2; ++k) {
            const float soft = p.received[std::size_t(k)];
            if (soft == 0.0f)
                continue;
            const bool agrees = (soft > 0.0f) == (code[std::size_t(k)] == 1);
            p.agreement += kAgreementWeight * ((agrees ? 1.0 : 0.0) - p.agreement);
        }
        p.received.erase(p.received.begin(), p.received.begin() + 2);
        const float bitClarity = p.pending.front();
        p.pending.pop_front();
        p.clarity.push_back(bitClarity);
        p.ownSum += bitClarity;
        ++p.ownBits;
        p.ownUnclear += bitClarity == 0.0f ? 1 : 0;
        ++p.bits;
        if (const auto c = p.varicode.push(data)) {
            // The code just ended is all but the newest bit, which begins the next one.
            const int unclear = p.ownUnclear - (bitClarity == 0.0f ? 1 : 0);
            const double own = p.ownBits > 1 && unclear == 0 ? (p.ownSum - bitClarity) / (p.ownBits - 1) : 0.0;
            if (*c != 0 && p.bits > untrusted_)
                p.held.push_back({*c, p.bits, own});
            p.ownSum = bitClarity;
            p.ownBits = 1;
            p.ownUnclear = bitClarity == 0.0f ? 1 : 0;
        }
    }
}

void MfskDecoder::release(Pairing &p, bool speaks, const CharSink &sink)
{
    while (!p.held.empty() && p.held.front().end + kJudgedBits <= p.bits) {
        const Held held = p.held.front();
        p.held.pop_front();
        double sum = 0.0;
        int count = 0;
        const std::int64_t from = std::max(p.firstBit, held.end - kJudgedBits);
        for (std::int64_t i = from; i < held.end + kJudgedBits; ++i, ++count)
            sum += p.clarity[std::size_t(i - p.firstBit)];
        if (speaks && count > 0 && sum >= shownClarity_ * count && held.ownClarity >= ownShownClarity_)
            sink(held.c);
    }
    // Keep the bits that a character still held may be judged by.
    const std::int64_t keep = (p.held.empty() ? p.bits : p.held.front().end) - kJudgedBits;
    while (p.firstBit < keep && !p.clarity.empty()) {
        p.clarity.pop_front();
        ++p.firstBit;
    }
}

} // namespace digimode::mfsk
