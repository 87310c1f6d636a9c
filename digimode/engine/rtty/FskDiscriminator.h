// Mark and space detectors of a two-tone FSK signal at complex baseband: each tone mixed
// to zero and summed over one bit (the matched filter of a keyed tone), weighed by an
// automatic threshold control so that a fade of one tone does not bias the decision.
// The detectors also see how fast the keyed tone turns: the residual tuning error.
#pragma once

#include <complex>
#include <optional>
#include <vector>

namespace digimode::rtty {

class FskDiscriminator {
public:
    // markHz and spaceHz are offsets from the baseband centre.
    void configure(double sampleRate, double baud, double markHz, double spaceHz);
    void reset();

    // One baseband sample in, one soft decision out: above zero mark, below zero space.
    float process(std::complex<float> x);

    // How far (Hz) the tones lie above their detectors, measured since the last call,
    // when the measurement is clear enough to steer by.
    std::optional<double> takeFrequencyError();

private:
    struct Tone {
        std::complex<double> phasor{1.0, 0.0};
        std::complex<double> step{1.0, 0.0};
        std::vector<std::complex<float>> ring; // mixed samples of the last bit
        std::complex<double> sum{0.0, 0.0};
        std::vector<std::complex<double>> sums; // the last half bit of sums
        // Envelope while the tone is keyed, and while the other tone is.
        double level = 0.0;
        double floor = 0.0;

        void configure(double sampleRate, double hz, int length);
        void reset();
        void renormalise();
        // Advances by one sample; returns the matched filter's output.
        std::complex<double> filter(std::complex<float> x, std::size_t slot);
    };

    Tone mark_;
    Tone space_;
    int length_ = 1;
    std::size_t slot_ = 0;
    std::size_t lagSlot_ = 0;
    std::size_t renormalise_ = 0;
    double sampleRate_ = 1.0;
    double trackGain_ = 0.0;
    float last_ = 0.0f;
    // Phase turn of the keyed tone over half a bit, summed while the decision is clear.
    std::complex<double> turn_{0.0, 0.0};
    double turnWeight_ = 0.0;
};

} // namespace digimode::rtty
