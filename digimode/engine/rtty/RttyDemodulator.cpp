#include "RttyDemodulator.h"

namespace digimode {

RttyDemodulator::RttyDemodulator(Sideband sideband) : sideband_(sideband) {}
RttyDemodulator::~RttyDemodulator() = default;
void RttyDemodulator::setCarrier(double hz) { carrier_ = hz; }
double RttyDemodulator::carrier() const { return carrier_; }
void RttyDemodulator::setSpeed(double baud) { baud_ = baud; }
void RttyDemodulator::setFilter(int index) { filter_ = index; }
void RttyDemodulator::process(const float *, std::size_t) {}
void RttyDemodulator::reset() { decoder_.reset(); }

std::unique_ptr<Demodulator> makeRttyDemodulator(Sideband sideband)
{
    return std::make_unique<RttyDemodulator>(sideband);
}

} // namespace digimode
