#include "StartStopFramer.h"

#include <algorithm>
#include <cmath>

namespace digimode::rtty {

namespace {
constexpr int kDataBits = 5;
// A measured edge this close to the predicted one (in bits) belongs to the rhythm.
constexpr double kRhythmWindow = 0.4;
// The prediction of the rhythm counts as much as this many measured transitions: the
// rhythm of a machine sender is steadier than any one noisy edge.
constexpr double kPredictionWeight = 10.0;
// Characters in a row in one rhythm after which it is trusted over a single edge.
constexpr int kSteadyCharacters = 3;
// The clock measurement forgets old characters slowly (about a thousand characters).
constexpr double kClockMemory = 0.999;
} // namespace

void StartStopFramer::configure(double samplesPerBit)
{
    bit_ = samplesPerBit;
    // Room for a whole character after its edge, and for scanning back after a rejection.
    history_.assign(std::size_t(std::ceil(bit_ * 12.0)) + 8, 0.0f);
    reset();
}

void StartStopFramer::reset()
{
    std::fill(history_.begin(), history_.end(), 0.0f);
    now_ = -1;
    scan_ = 1;
    candidate_.reset();
    lastMeasured_.reset();
    rhythm_ = 0;
    quietStarts_ = 0;
    lastUsed_ = 0.0;
    period_ = 7.5;
    otherHalves_ = 0.0;
    deviation_ = 0.0;
    nominal_ = 0.0;
}

float StartStopFramer::at(double t) const
{
    const auto i = std::int64_t(std::floor(t));
    const double f = t - double(i);
    const std::int64_t oldest = now_ - std::int64_t(history_.size()) + 1;
    if (i < oldest || i + 1 > now_)
        return 0.0f;
    return float((1.0 - f) * sample(i) + f * sample(i + 1));
}

std::optional<unsigned> StartStopFramer::push(float v)
{
    ++now_;
    history_[std::size_t(now_) % history_.size()] = v;

    std::optional<unsigned> result;
    for (;;) {
        if (candidate_) {
            // The stop bit's decision lies 6.5 bits after the crossing of the start edge;
            // the transition search reaches a further half bit.
            if (double(now_) < candidate_->at + 7.2 * bit_ + 2.0)
                break;
            const Candidate candidate = *candidate_;
            candidate_.reset();
            result = candidate.flywheel ? coast(candidate.at) : evaluate(candidate.at);
            continue;
        }
        const std::int64_t oldest = now_ - std::int64_t(history_.size()) + 2;
        scan_ = std::max(scan_, oldest);
        // In a steady rhythm the next start edge is expected at a known place: a crossing
        // well before it is noise in the stop bit; none by well after it, a start edge
        // the noise hid.
        const bool steady = lastMeasured_ && rhythm_ >= kSteadyCharacters;
        const double expected = lastUsed_ + period_ * bit_;
        const double latest = expected + kRhythmWindow * bit_;
        for (; scan_ <= now_; ++scan_) {
            if (steady && double(scan_) > latest + 1.0)
                break;
            const float before = sample(scan_ - 1);
            const float after = sample(scan_);
            if (before > 0.0f && after <= 0.0f) {
                const double x = double(scan_ - 1) + double(before) / double(before - after);
                if (steady && x < expected - kRhythmWindow * bit_)
                    continue;
                candidate_ = Candidate{x, false};
                ++scan_;
                break;
            }
        }
        if (!candidate_ && steady && double(now_) > latest + 1.0)
            candidate_ = Candidate{expected, true};
        if (!candidate_)
            break;
    }
    return result;
}

// The detectors sum over one bit, so their decision crosses zero half a bit after an
// edge and shows a bit whole one bit after it began: bit k (0 the start bit) is read
// at crossing + (k + 0.5) bits, and its leading transition crosses at crossing + k bits.
StartStopFramer::Frame StartStopFramer::read(double crossing) const
{
    Frame frame;
    for (int k = 0; k < 7; ++k)
        frame.bits[k] = at(crossing + (k + 0.5) * bit_) >= 0.0f;
    for (int k = 1; k <= kDataBits; ++k)
        if (frame.bits[k])
            frame.code |= 1u << (k - 1);
    frame.valid = !frame.bits[0] && frame.bits[6];
    return frame;
}

std::optional<double> StartStopFramer::crossingNear(double t, bool falling) const
{
    // The zero crossing of the expected direction closest to t, within half a bit.
    const auto first = std::int64_t(std::floor(t - 0.5 * bit_));
    const auto last = std::int64_t(std::ceil(t + 0.5 * bit_));
    std::optional<double> best;
    for (std::int64_t i = first; i < last; ++i) {
        const float a = at(double(i)), b = at(double(i + 1));
        const bool crosses = falling ? (a >= 0.0f && b < 0.0f) : (a < 0.0f && b >= 0.0f);
        if (!crosses)
            continue;
        const double x = double(i) + double(a) / double(a - b);
        if (!best || std::abs(x - t) < std::abs(*best - t))
            best = x;
    }
    return best;
}

std::optional<unsigned> StartStopFramer::evaluate(double crossing)
{
    std::optional<double> predicted;
    if (lastMeasured_) {
        const double p = lastUsed_ + period_ * bit_;
        if (std::abs(crossing - p) < kRhythmWindow * bit_)
            predicted = p;
    }
    Frame frame = read(crossing);
    if (!frame.valid && predicted)
        frame = read(*predicted);
    if (!frame.valid) {
        // In a steady rhythm a bad start or stop bit is noise: the character is where the
        // rhythm puts it.
        if (predicted && rhythm_ >= kSteadyCharacters)
            return coast(*predicted);
        // Otherwise noise or a framing error: look again just after this crossing.
        lastMeasured_.reset();
        rhythm_ = 0;
        scan_ = std::int64_t(std::floor(crossing)) + 2;
        return std::nullopt;
    }

    // Every transition inside the character says where the character starts; average
    // them, with the rhythm's prediction, and read the bits again at the better time.
    double measured = crossing;
    int transitions = 1;
    for (int k = 1; k <= kDataBits + 1; ++k) {
        if (frame.bits[k] == frame.bits[k - 1])
            continue;
        if (const auto x = crossingNear(crossing + k * bit_, frame.bits[k - 1])) {
            measured += *x - k * bit_;
            ++transitions;
        }
    }
    measured /= transitions;
    double start = measured;
    if (predicted)
        start = (measured * transitions + *predicted * kPredictionWeight)
            / (transitions + kPredictionWeight);
    if (const Frame better = read(start); better.valid)
        frame = better;

    measureRhythm(measured);
    rhythm_ = predicted ? rhythm_ + 1 : 1;
    quietStarts_ = 0;
    lastMeasured_ = measured;
    lastUsed_ = start;
    // The next start bit can follow a single stop bit; hunt from the middle of this one.
    scan_ = std::int64_t(std::floor(start + (kDataBits + 1.5) * bit_));
    return frame.code;
}

std::optional<unsigned> StartStopFramer::coast(double start)
{
    // A character the rhythm places: its data bits, whatever its start and stop bits say.
    // The sender's pause shows as start bits in mark (and reads as LTRS, which prints
    // nothing): after two of those the rhythm is given up.
    const Frame frame = read(start);
    quietStarts_ = frame.bits[0] ? quietStarts_ + 1 : 0;
    lastUsed_ = start;
    if (quietStarts_ >= 2) {
        lastMeasured_.reset();
        rhythm_ = 0;
        quietStarts_ = 0;
        scan_ = std::int64_t(std::floor(start)) + 1;
        return std::nullopt;
    }
    scan_ = std::int64_t(std::floor(start + (kDataBits + 1.5) * bit_));
    return frame.code;
}

void StartStopFramer::measureRhythm(double measured)
{
    if (!lastMeasured_)
        return;
    const double spacing = (measured - *lastMeasured_) / bit_;
    // Back to back, characters are 7, 7.5 or 8 bits apart (one, one and a half or two
    // stop bits, which a sender keeps); a longer gap is a pause and says nothing.
    const double halves = std::round(spacing * 2.0) / 2.0;
    if (halves < 7.0 || halves > 8.0 || std::abs(spacing - halves) > 0.3)
        return;
    if (std::abs(halves - std::round(period_ * 2.0) / 2.0) > 0.1) {
        // Another stop length than the rhythm's: take it on when the next agrees.
        if (std::abs(halves - otherHalves_) < 0.1)
            period_ = spacing;
        otherHalves_ = halves;
        return;
    }
    otherHalves_ = 0.0;
    period_ += 0.05 * (spacing - period_);
    // The clock: deviations from the whole number of half bits; their sum telescopes,
    // so it is as good as the first and last edges of a run.
    deviation_ = kClockMemory * deviation_ + (spacing - halves);
    nominal_ = kClockMemory * nominal_ + halves;
}

double StartStopFramer::clockErrorPpm() const
{
    if (nominal_ < 1.0)
        return 0.0;
    // Characters further apart than nominal: a positive error, as the engine reports a
    // signal stretched against our clock (the test channel's positive clock error).
    return deviation_ / nominal_ * 1e6;
}

} // namespace digimode::rtty
