#include "MfskMode.h"

#include <array>
#include <cmath>

namespace digimode::mfsk {

MfskMode mfskMode(double baud)
{
    static constexpr std::array<MfskMode, 3> kModes = {{
        {32, 7.8125, 5, 10, 128, 1000.0},
        {16, 15.625, 4, 10, 64, 1000.0},
        {16, 31.25, 4, 10, 64, 2000.0},
    }};
    if (!(baud > 0.0) || !std::isfinite(baud))
        return kModes[1];
    const MfskMode *best = &kModes[0];
    for (const auto &mode : kModes)
        if (std::abs(std::log(baud / mode.baud)) < std::abs(std::log(baud / best->baud)))
            best = &mode;
    return *best;
}

} // namespace digimode::mfsk
