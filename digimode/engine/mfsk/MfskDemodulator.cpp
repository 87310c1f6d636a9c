#include "MfskDemodulator.h"

namespace digimode {

MfskDemodulator::MfskDemodulator(Sideband sideband) : sideband_(sideband) {}

std::unique_ptr<Demodulator> makeMfskDemodulator(Sideband sideband)
{
    return std::make_unique<MfskDemodulator>(sideband);
}

} // namespace digimode
