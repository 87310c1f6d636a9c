// QPSK decoded both ways round. Whether a +90 degree step means 10 or 01 depends on the
// sender's convention and on the sideband both stations use; turning the steps the
// other way swaps the two code bits of every symbol. Both readings are decoded and the
// bits of the one that fits the code better are handed out.
#pragma once

#include "QpskCode.h"

#include <array>
#include <cstdint>

namespace digimode {

class QpskReadings {
public:
    using BitSink = ViterbiDecoder::BitSink;

    // One received symbol as ViterbiDecoder::push takes it. The reading changes only
    // while a signal is there to judge: noise would pick one at random.
    void push(unsigned char soft0, unsigned char soft1, bool signalPresent, const BitSink &sink);
    void reset();

    // The code bits arrive swapped (the other sideband's way).
    bool swapped() const { return reading_ == 1; }

    static constexpr int window() { return ViterbiDecoder::window(); }

private:
    std::array<ViterbiDecoder, 2> decoders_;
    // How much more the current reading's best path has paid than the other's, summed
    // while it keeps paying more (a cumulative-sum change test).
    std::int64_t evidence_ = 0;
    int reading_ = 0;
};

} // namespace digimode
