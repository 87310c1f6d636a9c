// MFSK8, MFSK16 and MFSK32: incoherent multi-tone FSK with a K=7 rate 1/2 code, IZ8BLY's
// diagonal interleaver and the MFSK varicode. The tones are found by one transform per
// symbol, taken at the symbol timing that the tones themselves reveal.
#pragma once

#include "Demodulator.h"
#include "MfskDecoder.h"
#include "MfskMode.h"
#include "SymbolSync.h"
#include "ToneSetAfc.h"

#include <complex>
#include <cstdint>
#include <vector>

struct nco_crcf_s;
struct msresamp_crcf_s;
struct firfilt_crcf_s;
struct fftplan_s;

namespace digimode {

class MfskDemodulator : public Demodulator {
public:
    explicit MfskDemodulator(Sideband sideband);
    ~MfskDemodulator() override;
    MfskDemodulator(const MfskDemodulator &) = delete;
    MfskDemodulator &operator=(const MfskDemodulator &) = delete;

    void setCarrier(double hz) override;
    double carrier() const override { return carrier_ + afcHz_; }
    void setSpeed(double baud) override;
    double speed() const override { return mode_.baud; }
    void setAfc(bool on) override;
    void setFilter(int index) override;
    void process(const float *samples, std::size_t count) override;
    double signalToNoiseDb() const override;
    double clockErrorPpm() const override { return sync_.clockErrorPpm(); }
    void reset() override;

private:
    void configure();
    void designBandPass();
    void retune();
    void processResampled(std::complex<float> raw);
    void transform(const std::vector<std::complex<float>> &ring);
    double power(int bin) const { return std::norm(spectrum_[std::size_t(((bin % fftSize_) + fftSize_) % fftSize_)]); }
    void decideSymbol();
    void measureSignal();
    double detectionNoise() const;
    double detectionAmplitude() const;
    void followTones();

    Sideband sideband_;
    mfsk::MfskMode mode_{};
    double carrier_ = 1500.0;
    double afcHz_ = 0.0;
    bool tracking_ = true; // the AFC is on
    int filter_ = 0;

    nco_crcf_s *mixer_ = nullptr;
    msresamp_crcf_s *resampler_ = nullptr;
    firfilt_crcf_s *bandPass_ = nullptr;
    std::vector<std::complex<float>> resampled_;

    // The last symbol's samples, band-passed for the tones and raw for the noise beside.
    std::vector<std::complex<float>> filtered_;
    std::vector<std::complex<float>> raw_;
    std::size_t write_ = 0;
    int hop_ = 4;
    int sinceHop_ = 0;
    int fftSize_ = 128; // twice the symbol: half-bin points between the tones
    std::vector<float> window_;
    double windowEnergy_ = 1.0;
    std::vector<std::complex<float>> fftIn_;
    std::vector<std::complex<float>> spectrum_;
    fftplan_s *plan_ = nullptr;
    std::vector<double> toneEnergy_;
    std::vector<int> symbolOfTone_;

    mfsk::SymbolSync sync_;
    mfsk::ToneSetAfc afc_;
    int loudest_ = 0; // tone of the last decided symbol
    mfsk::MfskDecoder decoder_;
    std::vector<float> softBits_;

    // Averages over symbols of signal and noise per point (S/N).
    double signal_ = 0.0;
    double noise_ = 0.0;
    int measured_ = 0;
};

} // namespace digimode
