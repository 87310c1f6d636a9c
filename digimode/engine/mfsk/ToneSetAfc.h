// Where an MFSK signal's tone set lies: a coarse estimate from the edges of the averaged
// spectrum of many symbols (whole tones off), and a fine one from how each symbol's tone
// leans toward the points half a spacing either side (a fraction of a tone off).
#pragma once

#include "MfskMode.h"

#include <complex>
#include <optional>
#include <vector>

namespace digimode::mfsk {

class ToneSetAfc {
public:
    // points: the size of the symbol transform, two points per tone spacing.
    void configure(const MfskMode &mode, int points);
    void reset();

    // One decided symbol's transform and its loudest tone.
    void addSymbol(const std::vector<std::complex<float>> &spectrum, int loudest);

    struct Move {
        double hz;       // how far the tones lie above the tuning, at baseband
        bool wholeTones; // symbols decided before it were read whole tones off
    };
    // Once a symbol: the move to make, if any. offsetHz: how far the tuning already lies
    // from the operator's carrier (moves beyond the AFC's range are refused);
    // noisePerBin: the noise in one tone bin; symbolSnr: energy per symbol over noise
    // density.
    std::optional<Move> step(double offsetHz, double noisePerBin, double symbolSnr);

    static constexpr double kRangeHz = 60.0;

private:
    double at(int point) const;
    double score(int shift) const;
    std::optional<Move> coarse(double offsetHz, double noisePerBin, double symbolSnr);
    std::optional<Move> fine(double noisePerBin);

    MfskMode mode_{};
    int points_ = 128;
    std::vector<double> profile_;
    int profileSymbols_ = 0; // in the profile since it was last cleared
    int symbols_ = 0;
    int askedShift_ = 0;     // the coarse estimate's last request, in half spacings
    double lean_ = 0.0;
    double leanWeight_ = 0.0;
    int leanSymbols_ = 0;
};

} // namespace digimode::mfsk
