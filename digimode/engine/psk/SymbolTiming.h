// Symbol timing recovery for the PSK modes: finds the symbol centres in a stream of
// filtered baseband samples from the envelope, whose dips mark the phase reversals, and
// measures from its drift how far the sender's sample clock is off.
#pragma once

#include <array>
#include <complex>
#include <cstdint>

namespace digimode {

class SymbolTiming {
public:
    explicit SymbolTiming(int samplesPerSymbol);

    // Feeds one sample; returns true and the interpolated symbol-centre value when a
    // symbol centre has passed.
    bool push(std::complex<float> x, std::complex<float> &symbol);

    // True once after the timing has jumped to a new phase: what was measured on the
    // symbols before is stale.
    bool takeJump()
    {
        const bool jumped = jumped_;
        jumped_ = false;
        return jumped;
    }

    // While the signal is weak the clock estimate is held instead of wandering.
    void setClockTracking(bool on) { clockTracking_ = on; }
    // Positive: the symbols arrive stretched, the sender's clock runs fast.
    double clockErrorPpm() const { return ppm_; }
    void reset();

private:
    std::complex<float> at(std::int64_t index) const { return ring_[std::size_t(index) & kMask]; }
    std::complex<float> interpolate(double t) const;
    std::complex<double> envelopeFundamental(double t) const;

    static constexpr std::size_t kRing = 64;
    static constexpr std::size_t kMask = kRing - 1;
    const int nominal_;
    std::array<std::complex<float>, kRing> ring_{};
    std::int64_t count_ = 0;          // samples received so far
    double strobe_ = 0.0;             // the next symbol centre, in sample indices
    double period_ = 0.0;             // samples per symbol as measured
    double ppm_ = 0.0;
    bool clockTracking_ = true;
    // Symbols left with the fast loop gain after a start or a jump; the clock estimate
    // leaves them out, their large corrections belong to acquisition.
    int fastSymbols_ = 0;
    bool jumped_ = false;
    // Acquisition: the mean envelope phase over a run of symbols, to jump to the right
    // timing at once instead of creeping out of the unstable point half a symbol away.
    std::complex<double> run_{};
    int runLength_ = 0;
};

} // namespace digimode
