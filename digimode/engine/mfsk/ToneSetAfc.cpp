#include "ToneSetAfc.h"

#include <algorithm>
#include <cmath>

namespace digimode::mfsk {

namespace {
// Symbols between looks at the profile, and between fine steps: in a weak signal the
// lean of a few symbols is mostly noise.
constexpr int kCoarseSymbols = 4;
constexpr int kFineSymbols = 16;
// How fast the profile forgets, and how many symbols it needs before it is believed (a
// profile of few symbols shows only the few tones they used).
constexpr double kProfileWeight = 0.05;
constexpr int kProfileSymbols = 48;
// Tone positions beyond each end of the block that should hold noise only.
constexpr int kEdgeTones = 2;
// The share of the best score the current tuning must fall below to be moved from.
constexpr double kCoarseShare = 0.75;
// A steady tone (a preamble, a carrier) fits anywhere: no tone may hold this share.
constexpr double kSingleToneShare = 0.3;
// The block's outer tones must hold this much of an average tone's share: idle repeats
// a few tones, which fit the block in several places.
constexpr double kEdgeUse = 0.5;
// Weaker signals (energy per symbol over noise density; -8 dB S/N for MFSK16) the
// profile cannot place to a tone within its memory.
constexpr double kCoarseSymbolSnr = 25.0;
// The signal must stand this far above the noise in the profile at all.
constexpr double kPresent = 0.3;
} // namespace

void ToneSetAfc::configure(const MfskMode &mode, int points)
{
    mode_ = mode;
    points_ = points;
    reset();
}

void ToneSetAfc::reset()
{
    profile_.assign(std::size_t(points_), 0.0);
    profileSymbols_ = 0;
    symbols_ = 0;
    askedShift_ = 0;
    lean_ = leanWeight_ = 0.0;
    leanSymbols_ = 0;
}

double ToneSetAfc::at(int point) const
{
    return profile_[std::size_t(((point % points_) + points_) % points_)];
}

void ToneSetAfc::addSymbol(const std::vector<std::complex<float>> &spectrum, int loudest)
{
    ++profileSymbols_;
    const double weight = std::max(kProfileWeight, 1.0 / profileSymbols_);
    for (int k = 0; k < points_; ++k)
        profile_[std::size_t(k)] += weight * (double(std::norm(spectrum[std::size_t(k)])) - profile_[std::size_t(k)]);
    auto power = [&](int point) { return double(std::norm(spectrum[std::size_t(((point % points_) + points_) % points_)])); };
    const int centre = toneBin(mode_, loudest);
    const double below = power(centre - 1), above = power(centre + 1);
    if (below + above > 0.0) {
        const double energy = power(centre);
        lean_ += energy * (above - below) / (above + below);
        leanWeight_ += energy;
    }
}

double ToneSetAfc::score(int shift) const
{
    // Each tone holds only its share of the signal, so what places the block is its
    // edges: count the tone positions and take off what lies just beyond them.
    double inside = 0.0, beyond = 0.0;
    for (int t = 0; t < mode_.tones; ++t)
        inside += at(toneBin(mode_, t) + shift);
    for (int t = 1; t <= kEdgeTones; ++t)
        beyond += at(toneBin(mode_, -t) + shift) + at(toneBin(mode_, mode_.tones - 1 + t) + shift);
    return inside - beyond * mode_.tones / (2.0 * kEdgeTones);
}

std::optional<ToneSetAfc::Move> ToneSetAfc::step(double offsetHz, double noisePerBin, double symbolSnr)
{
    if (++symbols_ % kCoarseSymbols != 0)
        return std::nullopt;
    if (const auto move = coarse(offsetHz, noisePerBin, symbolSnr))
        return move;
    if (++leanSymbols_ < kFineSymbols / kCoarseSymbols)
        return std::nullopt;
    leanSymbols_ = 0;
    return fine(noisePerBin);
}

std::optional<ToneSetAfc::Move> ToneSetAfc::coarse(double offsetHz, double noisePerBin, double symbolSnr)
{
    const double halfSpacing = 0.5 * mode_.baud;
    const int reach = int(std::ceil(kRangeHz / halfSpacing));
    const double centred = score(0);
    double best = centred;
    int bestShift = 0;
    for (int shift = -reach; shift <= reach; ++shift) {
        const double value = score(shift);
        // The nearest of equal scores.
        if (value > best || (value == best && std::abs(shift) < std::abs(bestShift))) {
            best = value;
            bestShift = shift;
        }
    }
    double loudest = 0.0, sum = 0.0;
    for (int t = 0; t < mode_.tones; ++t) {
        loudest = std::max(loudest, at(toneBin(mode_, t) + bestShift));
        sum += at(toneBin(mode_, t) + bestShift);
    }
    const double perTone = (sum - mode_.tones * noisePerBin) / mode_.tones;
    const double edge = noisePerBin + kEdgeUse * perTone;
    const bool believed = profileSymbols_ >= kProfileSymbols && symbolSnr > kCoarseSymbolSnr
        && loudest < kSingleToneShare * sum && best > kPresent * noisePerBin * mode_.tones
        && at(toneBin(mode_, 0) + bestShift) > edge && at(toneBin(mode_, mode_.tones - 1) + bestShift) > edge;
    // Less than a tone off is the fine estimate's; a move must be asked for twice in a row.
    const bool asked = believed && std::abs(bestShift) >= 2 && centred < kCoarseShare * best
        && std::abs(offsetHz + bestShift * halfSpacing) <= kRangeHz;
    const bool again = asked && bestShift == askedShift_;
    askedShift_ = asked && !again ? bestShift : 0;
    if (!again)
        return std::nullopt;
    // The profile was of the old tuning.
    std::fill(profile_.begin(), profile_.end(), 0.0);
    profileSymbols_ = 0;
    lean_ = leanWeight_ = 0.0;
    leanSymbols_ = 0;
    return Move{bestShift * halfSpacing, true};
}

std::optional<ToneSetAfc::Move> ToneSetAfc::fine(double noisePerBin)
{
    // For a tone a fraction f of a spacing off, the lean is about 4 f.
    std::optional<Move> move;
    if (leanWeight_ > 0.0 && score(0) > kPresent * noisePerBin * mode_.tones) {
        const double fraction = std::clamp(lean_ / leanWeight_ / 4.0, -0.25, 0.25);
        move = Move{0.5 * fraction * mode_.baud, false};
    }
    lean_ = leanWeight_ = 0.0;
    return move;
}

} // namespace digimode::mfsk
