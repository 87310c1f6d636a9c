#include "QpskReadings.h"

#include <algorithm>
#include <optional>

namespace digimode {
namespace {

// Near the decoding threshold (about -12 dB in 2500 Hz at 31.25 baud) the wrong reading
// pays some 20 more a symbol than the right one, give or take 40: this much evidence
// comes in about 25 symbols, within the decoder's delay, so the first text bits already
// come from the right reading; the right one gathers it by chance once in many hours.
// The idle before a text costs both alike and cannot tip it for long.
constexpr std::int64_t kEvidenceToChange = 500;

} // namespace

void QpskReadings::push(unsigned char soft0, unsigned char soft1, bool signalPresent, const BitSink &sink)
{
    std::array<std::optional<bool>, 2> bits;
    decoders_[0].push(soft0, soft1, [&](bool b) { bits[0] = b; });
    decoders_[1].push(soft1, soft0, [&](bool b) { bits[1] = b; });

    if (signalPresent) {
        const int other = 1 - reading_;
        evidence_ = std::max<std::int64_t>(0, evidence_ + std::int64_t(decoders_[std::size_t(reading_)].lastCost())
                                                  - std::int64_t(decoders_[std::size_t(other)].lastCost()));
        if (evidence_ > kEvidenceToChange) {
            reading_ = other;
            evidence_ = 0;
        }
    }

    if (bits[std::size_t(reading_)])
        sink(*bits[std::size_t(reading_)]);
}

void QpskReadings::reset()
{
    for (auto &d : decoders_)
        d.reset();
    evidence_ = 0;
    reading_ = 0;
}

} // namespace digimode
