// Symbol timing of an MFSK signal: the tones are analysed at several phases per symbol;
// the phase where the strongest tone stands out most, averaged over many symbols, marks
// the symbol boundaries. Its slow drift is the difference of the two clocks.
#pragma once

#include <cstdint>
#include <vector>

namespace digimode::mfsk {

class SymbolSync {
public:
    void configure(int phases);
    void reset();

    // The sync measure of the newest analysis (one per phase step); true when this step
    // is where a symbol is to be decided.
    bool push(double metric);

    // Whether the timing is known: a clear best phase, and decisions taken at it.
    bool locked() const { return locked_; }

    // Positive when the symbols come longer than the clock of this receiver says.
    double clockErrorPpm() const;

private:
    double bestPhase() const;

    int phases_ = 16;
    std::vector<double> average_;
    std::int64_t step_ = -1;
    std::int64_t next_ = 0;
    std::int64_t symbols_ = 0;
    bool locked_ = false;
    // Weighted straight-line fit of the unwrapped best phase over the symbol count.
    double lastPhase_ = 0.0;
    int outliers_ = 0;
    double unwrapped_ = 0.0;
    double sw_ = 0.0, sx_ = 0.0, sy_ = 0.0, sxx_ = 0.0, sxy_ = 0.0;
};

} // namespace digimode::mfsk
