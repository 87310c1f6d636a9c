#include "FskDiscriminator.h"

#include <algorithm>
#include <cmath>

namespace digimode::rtty {

namespace {
// The envelope trackers follow a fade over about this many bits: slow enough to stay
// steady in weak signals, still quick enough for the slow selective fading of a path.
constexpr double kTrackBits = 128.0;
// Only samples whose decision is this clear (relative to the keyed level) measure the
// tuning: near a transition both tones are in the filters.
constexpr double kClearDecision = 0.5;
} // namespace

void FskDiscriminator::Tone::configure(double sampleRate, double hz, int length)
{
    const double w = -2.0 * M_PI * hz / sampleRate;
    step = {std::cos(w), std::sin(w)};
    ring.assign(std::size_t(length), {0.0f, 0.0f});
    sums.assign(std::size_t(std::max(1, length / 2)), {0.0, 0.0});
    reset();
}

void FskDiscriminator::Tone::reset()
{
    phasor = {1.0, 0.0};
    std::fill(ring.begin(), ring.end(), std::complex<float>(0.0f, 0.0f));
    std::fill(sums.begin(), sums.end(), std::complex<double>(0.0, 0.0));
    sum = {0.0, 0.0};
    level = 0.0;
    floor = 0.0;
}

void FskDiscriminator::Tone::renormalise()
{
    // The running sum and the phasor drift by rounding; rebuild them now and then.
    phasor /= std::abs(phasor);
    sum = {0.0, 0.0};
    for (const auto &r : ring)
        sum += std::complex<double>(r);
}

std::complex<double> FskDiscriminator::Tone::filter(std::complex<float> x, std::size_t slot)
{
    const std::complex<double> mixed = std::complex<double>(x) * phasor;
    phasor *= step;
    sum += mixed - std::complex<double>(ring[slot]);
    ring[slot] = std::complex<float>(mixed);
    return sum / double(ring.size());
}

void FskDiscriminator::configure(double sampleRate, double baud, double markHz, double spaceHz)
{
    sampleRate_ = sampleRate;
    length_ = std::max(2, int(std::lround(sampleRate / baud)));
    mark_.configure(sampleRate, markHz, length_);
    space_.configure(sampleRate, spaceHz, length_);
    trackGain_ = 1.0 / (kTrackBits * length_);
    reset();
}

void FskDiscriminator::reset()
{
    mark_.reset();
    space_.reset();
    slot_ = 0;
    lagSlot_ = 0;
    renormalise_ = 0;
    last_ = 0.0f;
    turn_ = {0.0, 0.0};
    turnWeight_ = 0.0;
}

float FskDiscriminator::process(std::complex<float> x)
{
    const std::complex<double> zm = mark_.filter(x, slot_);
    const std::complex<double> zs = space_.filter(x, slot_);
    slot_ = (slot_ + 1) % std::size_t(length_);
    if (++renormalise_ == 4096) {
        renormalise_ = 0;
        mark_.renormalise();
        space_.renormalise();
    }
    const double m = std::abs(zm);
    const double s = std::abs(zs);

    // Track each tone's keyed level and its floor (what the filter sees while the other
    // tone is keyed), steered by the previous decision.
    if (last_ >= 0.0f) {
        mark_.level += trackGain_ * (m - mark_.level);
        space_.floor += trackGain_ * (s - space_.floor);
    } else {
        space_.level += trackGain_ * (s - space_.level);
        mark_.floor += trackGain_ * (m - mark_.floor);
    }

    // Threshold control: the envelope difference is compared with the midpoint of what
    // it is for a mark (mark level less space floor) and for a space (mark floor less
    // space level). With both tones equally strong this is the plain comparison, the best
    // there is in white noise; when one tone fades the threshold follows it.
    const double v = (m - s) - 0.5 * ((mark_.level - space_.floor) + (mark_.floor - space_.level));

    // While one tone clearly holds, its filter output turns by the tuning error.
    const double keyed = 0.5 * (mark_.level + space_.level);
    Tone &held = v >= 0.0 ? mark_ : space_;
    const std::complex<double> now = v >= 0.0 ? zm : zs;
    const std::complex<double> before = held.sums[lagSlot_];
    if (std::abs(v) > kClearDecision * keyed) {
        turn_ += now * std::conj(before);
        turnWeight_ += std::abs(now) * std::abs(before);
    }
    mark_.sums[lagSlot_] = zm;
    space_.sums[lagSlot_] = zs;
    lagSlot_ = (lagSlot_ + 1) % mark_.sums.size();

    last_ = float(v);
    return last_;
}

std::optional<double> FskDiscriminator::takeFrequencyError()
{
    const std::complex<double> turn = turn_;
    const double weight = turnWeight_;
    turn_ = {0.0, 0.0};
    turnWeight_ = 0.0;
    // In noise the turns point every way and their sum is short against their lengths.
    if (!(weight > 0.0) || std::abs(turn) < 0.2 * weight)
        return std::nullopt;
    const double lag = double(mark_.sums.size()) / sampleRate_;
    return std::arg(turn) / (2.0 * M_PI * lag);
}

} // namespace digimode::rtty
