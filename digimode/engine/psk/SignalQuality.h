// What the PSK receiver knows about the signal from its symbols: the signal-to-noise
// ratio (M2M4), whether the carrier loop holds the phase, the frequency error the phase
// steps show, and from these the squelch.
#pragma once

#include <complex>

namespace digimode {

class SignalQuality {
public:
    explicit SignalQuality(bool quadrature)
        : quadrature_(quadrature)
    {
    }

    // One symbol: y as it came, a turned by the carrier loop's phase.
    void observe(std::complex<float> y, std::complex<float> a);
    // Decides the squelch for this symbol; loopFrequency is the carrier loop's own
    // frequency (rad per symbol); tuningConfirmed: the square of a preamble has shown the
    // carrier where the receiver is tuned (QPSK cannot tell a false lock otherwise).
    void updateSquelch(double loopFrequency, bool tuningConfirmed);
    void reset();
    // After a retune the steps measured so far show a frequency error that is gone.
    void forgetFrequency()
    {
        stepMean_ = {};
        steps_ = 0;
    }
    // After a timing jump the magnitudes measured so far were taken off the symbol centres.
    void forgetLevels() { symbols_ = 0; }

    double symbolSnrDb() const;
    bool carrierLocked() const;
    // The frequency error the phase steps show (rad per symbol), when they show one.
    bool stepFrequency(double &radPerSymbol) const;
    bool squelchOpen() const { return squelch_; }

    static constexpr double kSnrFloorDb = -40.0;
    static constexpr double kSnrCeilingDb = 60.0;

private:
    const bool quadrature_;
    long symbols_ = 0;
    // Second and fourth moments of the symbol magnitudes, and the power of the last few.
    double moment2_ = 0.0;
    double moment4_ = 0.0;
    double recentPower_ = 0.0;
    // Mean of (a/|a|)^M: near 1 while the loop holds the phase.
    double lockMean_ = 0.0;
    // Mean of the M-th power of the unit phase step from symbol to symbol.
    std::complex<double> stepMean_{};
    long steps_ = 0;
    std::complex<float> previous_{};
    bool squelch_ = false;
    long presentFor_ = 0;   // symbols in a row with a signal present
};

} // namespace digimode
