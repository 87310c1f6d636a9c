// An averaged power spectrum of the band around the receive frequency. It tells where a
// pair of tones of the expected shift lies (for the AFC) and how far the signal stands
// above the noise beside it (for the signal-to-noise estimate).
#pragma once

#include <complex>
#include <optional>
#include <vector>

struct fftplan_s; // liquid-dsp's transform plan

namespace digimode::rtty {

class ToneSpectrum {
public:
    ToneSpectrum();
    ~ToneSpectrum();
    ToneSpectrum(const ToneSpectrum &) = delete;
    ToneSpectrum &operator=(const ToneSpectrum &) = delete;

    // shiftHz: distance of the two tones; the signal is taken to extend signalHalfWidth
    // either side of the centre between them.
    void configure(double sampleRate, double shiftHz, double baud);
    void reset();

    // One baseband sample; true when a new spectrum has been averaged in.
    bool push(std::complex<float> x);

    // Offset of the centre of the strongest tone pair within ±range Hz, when a pair stands
    // clearly above the noise.
    std::optional<double> toneCentre(double range) const;
    // Signal power over the noise power in 2500 Hz, for a signal centred at offset Hz.
    double signalToNoiseDb(double offset) const;

private:
    double binOf(double hz) const { return hz / binHz_; }
    double power(int bin) const;
    double pairScore(int centreBin) const;
    double noiseDensity(double offset) const;

    int size_ = 512;
    double binHz_ = 1.0;
    double shift_ = 170.0;
    double baud_ = 45.45;
    std::vector<float> window_;
    std::vector<std::complex<float>> input_;
    std::size_t filled_ = 0;
    std::vector<double> average_;
    int frames_ = 0;
    std::vector<std::complex<float>> in_;
    std::vector<std::complex<float>> out_;
    fftplan_s *plan_ = nullptr;
};

} // namespace digimode::rtty
