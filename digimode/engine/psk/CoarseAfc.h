// Coarse frequency search for the PSK modes: raising the baseband signal to the power
// of the constellation (2 for BPSK, 4 for QPSK) strips the keying and leaves a line at
// that multiple of the frequency error, which an FFT finds even in heavy noise.
#pragma once

#include <complex>
#include <vector>

typedef struct fftwf_plan_s *fftwf_plan;

namespace digimode {

class CoarseAfc {
public:
    CoarseAfc(int power, double sampleRate);
    ~CoarseAfc();
    CoarseAfc(const CoarseAfc &) = delete;
    CoarseAfc &operator=(const CoarseAfc &) = delete;

    // Searches offsets within +-rangeHz.
    void setRange(double hz) { range_ = hz; }
    // Feeds one baseband sample; returns true with the frequency error in Hz (signal
    // minus mixer) when a block is complete and its spectrum shows a clear line.
    bool push(std::complex<float> z, double &offsetHz);
    // Forgets the averaged spectra (call after retuning), and skips the next samples
    // that were still mixed at the old frequency.
    void restart(int skip = 0);

private:
    static constexpr int kSize = 256;
    const int power_;
    const double sampleRate_;
    double range_ = 50.0;
    std::vector<float> window_;
    std::vector<float> average_;
    int averaged_ = 0;
    int fill_ = 0;
    int skip_ = 0;
    static constexpr int kNoCandidate = 1 << 20;
    int candidate_ = kNoCandidate;    // the peak bin of the last block, awaiting confirmation
    std::complex<float> *in_;
    std::complex<float> *out_;
    fftwf_plan plan_;
};

} // namespace digimode
