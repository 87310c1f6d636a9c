// The BPSK and QPSK receivers (PSK31 family: 31.25, 62.5, 125 and 250 baud).
#pragma once

#include "CoarseAfc.h"
#include "Demodulator.h"
#include "QpskReadings.h"
#include "SignalQuality.h"
#include "SymbolTiming.h"
#include "Varicode.h"

#include <array>
#include <complex>
#include <deque>
#include <memory>
#include <vector>

namespace digimode {

class PskDemodulator final : public Demodulator {
public:
    explicit PskDemodulator(bool quadrature);
    ~PskDemodulator() override;

    void setCarrier(double hz) override;
    double carrier() const override;
    void setSpeed(double baud) override;
    double speed() const override { return speed_; }
    void setAfc(bool on) override;
    void setFilter(int index) override;
    void process(const float *samples, std::size_t count) override;
    double signalToNoiseDb() const override;
    double clockErrorPpm() const override;
    void reset() override;

private:
    struct Filters;
    void configure();
    void buildBandPass();
    void buildSearchFilter();
    void retune(double offsetHz, bool fromSearch);
    void processSlice(const float *samples, std::size_t count);
    void onBaseband(std::complex<float> z);
    void searchDecides(const std::array<bool, 2> &found, const std::array<double, 2> &offset);
    void onSymbol(std::complex<float> y);
    void onBit(bool bit, long symbol);
    void releasePending();
    double afcRangeHz() const;
    double loopFrequencyHz() const;

    static constexpr int kSamplesPerSymbol = 16;
    static constexpr std::size_t kSlice = 128;   // input samples mixed at one frequency
    // Baseband samples the search skips after a retune: the slice in flight, the
    // resampler's and the search filter's delay.
    static constexpr int kSearchSettling = 96;

    const bool quadrature_;
    double carrier_ = 1000.0;
    double tuned_ = 1000.0;       // where the carrier was last set; AFC stays near it
    double speed_ = 31.25;
    bool afc_ = true;
    int filter_ = 0;

    // Mixer: its frequency is carrier_ + offset_; offset_ is the small correction the
    // receiver makes on its own while AFC is off (the carrier then stays where it was set).
    double offset_ = 0.0;
    std::complex<double> phasor_{1.0, 0.0};
    std::complex<double> step_{1.0, 0.0};
    int renormalise_ = 0;

    std::unique_ptr<Filters> filters_;
    std::unique_ptr<SymbolTiming> timing_;
    // BPSK searches the square of the signal; QPSK the fourth power, and the square too,
    // which shows a line during the idle reversals of a preamble.
    std::vector<std::unique_ptr<CoarseAfc>> coarseAfc_;
    double efficiency_ = 1.0;

    // Carrier phase loop at the symbol rate (rad, rad per symbol).
    double phase_ = 0.0;
    double frequency_ = 0.0;
    // Retunes on their way through the filters: when the first symbol mixed at the new
    // frequency comes, the loop gives up what the mixer has taken over.
    struct Handoff {
        long symbol;
        double radPerSymbol;
        bool fromSearch;
    };
    std::deque<Handoff> handoffs_;
    bool squareAgrees_ = false;
    long pipelineSymbols_ = 0;
    std::complex<float> previous_{};

    SignalQuality quality_;
    double meanDifferential_ = 0.0;   // mean |QPSK phase step|, scales the soft values

    varicode::Decoder varicode_;
    QpskReadings qpsk_;
    // The squelch's verdict per symbol, and characters waiting for it: QPSK's bits come
    // a Viterbi window after their symbols, and every character waits a few symbols.
    static constexpr std::size_t kHistory = 256;
    static constexpr long kConfirmSymbols = 12;
    static_assert(kHistory > std::size_t(QpskReadings::window() + kConfirmSymbols));
    struct Pending {
        unsigned char c;
        long symbol;
    };
    std::array<bool, kHistory> squelchHistory_{};
    std::deque<Pending> pending_;
    long symbolIndex_ = 0;
    long bitIndex_ = 0;
    std::vector<std::complex<float>> mixed_;
    std::vector<std::complex<float>> resampled_;
};

} // namespace digimode
