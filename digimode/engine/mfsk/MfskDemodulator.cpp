#include "MfskDemodulator.h"

#include <complex>
#include <liquid/liquid.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace digimode {

namespace {

// Transforms per symbol: the timing is found to a sixteenth of a symbol.
constexpr int kPhases = 16;
// Band-pass half widths beyond the outer tones, in tone spacings: 0 widest .. 3 narrowest.
constexpr std::array<double, 4> kBandPassSpacings = {6.0, 3.0, 2.0, 1.25};
// The S/N estimate forgets over about a hundred symbols.
constexpr double kSignalWeight = 0.02;
// Log-likelihoods beyond this many nats count as certain for the Viterbi decoder.
constexpr double kSoftScale = 6.0;
constexpr double kNoiseBandwidthHz = 2500.0;
constexpr std::size_t kBlock = 512;

} // namespace

MfskDemodulator::MfskDemodulator(Sideband sideband) : sideband_(sideband)
{
    mixer_ = nco_crcf_create(LIQUID_NCO);
    mode_ = mfsk::mfskMode(15.625);
    configure();
}

MfskDemodulator::~MfskDemodulator()
{
    nco_crcf_destroy(mixer_);
    if (resampler_)
        msresamp_crcf_destroy(resampler_);
    if (bandPass_)
        firfilt_crcf_destroy(bandPass_);
    if (plan_)
        fft_destroy_plan(plan_);
}

void MfskDemodulator::setCarrier(double hz)
{
    if (!std::isfinite(hz))
        return;
    carrier_ = std::clamp(hz, 0.0, kSampleRate / 2.0);
    afcHz_ = 0.0;
    afc_.reset();
    retune();
}

void MfskDemodulator::retune()
{
    nco_crcf_set_frequency(mixer_, float(2.0 * M_PI * (carrier_ + afcHz_) / kSampleRate));
}

void MfskDemodulator::setSpeed(double baud)
{
    const auto mode = mfsk::mfskMode(baud);
    if (mode.baud == mode_.baud && resampler_)
        return;
    mode_ = mode;
    configure();
}

void MfskDemodulator::setFilter(int index)
{
    filter_ = std::clamp(index, 0, int(kBandPassSpacings.size()) - 1);
    designBandPass();
}

void MfskDemodulator::designBandPass()
{
    const double spacing = mode_.baud;
    const double halfWidth = (0.5 * (mode_.tones - 1) + kBandPassSpacings[std::size_t(filter_)]) * spacing;
    // One tone spacing from pass to stop band.
    const double transition = spacing / mode_.sampleRate;
    const auto taps = unsigned(std::clamp(int(std::ceil(52.0 / (14.36 * transition))) | 1, 31, 511));
    if (bandPass_)
        firfilt_crcf_destroy(bandPass_);
    bandPass_ = firfilt_crcf_create_kaiser(taps, float(halfWidth / mode_.sampleRate), 60.0f, 0.0f);
    firfilt_crcf_set_scale(bandPass_, 2.0f * float(halfWidth / mode_.sampleRate));
}

void MfskDemodulator::configure()
{
    if (resampler_)
        msresamp_crcf_destroy(resampler_);
    resampler_ = msresamp_crcf_create(float(mode_.sampleRate / kSampleRate), 60.0f);
    resampled_.resize(std::size_t(std::ceil(kBlock * mode_.sampleRate / kSampleRate)) + 16);

    const int n = mode_.symbolSamples;
    filtered_.assign(std::size_t(n), {0.0f, 0.0f});
    raw_.assign(std::size_t(n), {0.0f, 0.0f});
    hop_ = n / kPhases;
    fftSize_ = 2 * n;
    fftIn_.assign(std::size_t(fftSize_), {0.0f, 0.0f});
    spectrum_.assign(std::size_t(fftSize_), {0.0f, 0.0f});
    if (plan_)
        fft_destroy_plan(plan_);
    plan_ = fft_create_plan(unsigned(fftSize_), fftIn_.data(), spectrum_.data(), LIQUID_FFT_FORWARD, 0);

    toneEnergy_.assign(std::size_t(mode_.tones), 0.0);
    // Tones are Gray coded: neighbouring tones differ in one bit.
    window_.resize(std::size_t(n));
    windowEnergy_ = 0.0;
    for (int i = 0; i < n; ++i) {
        window_[std::size_t(i)] = float(0.5 - 0.5 * std::cos(2.0 * M_PI * (i + 0.5) / n));
        windowEnergy_ += double(window_[std::size_t(i)]) * window_[std::size_t(i)];
    }
    symbolOfTone_.resize(std::size_t(mode_.tones));
    for (int t = 0; t < mode_.tones; ++t)
        symbolOfTone_[std::size_t(t)] = mfsk::grayDecode(t);
    softBits_.assign(std::size_t(mode_.bitsPerSymbol), 0.0f);
    afc_.configure(mode_, fftSize_);
    sync_.configure(kPhases);
    decoder_.configure(mode_);
    designBandPass();
    reset();
}

void MfskDemodulator::reset()
{
    afcHz_ = 0.0;
    nco_crcf_reset(mixer_);
    retune();
    msresamp_crcf_reset(resampler_);
    firfilt_crcf_reset(bandPass_);
    std::fill(filtered_.begin(), filtered_.end(), std::complex<float>(0.0f, 0.0f));
    std::fill(raw_.begin(), raw_.end(), std::complex<float>(0.0f, 0.0f));
    write_ = 0;
    sinceHop_ = 0;
    sync_.reset();
    decoder_.reset();
    afc_.reset();
    signal_ = noise_ = 0.0;
    measured_ = 0;
}

void MfskDemodulator::process(const float *samples, std::size_t count)
{
    std::array<std::complex<float>, kBlock> block;
    while (count > 0) {
        const std::size_t n = std::min(count, kBlock);
        for (std::size_t i = 0; i < n; ++i) {
            // Non-finite input would poison every filter state; treat it as silence.
            const float x = std::isfinite(samples[i]) ? samples[i] : 0.0f;
            std::complex<float> z;
            nco_crcf_mix_down(mixer_, std::complex<float>(x, 0.0f), &z);
            nco_crcf_step(mixer_);
            // On the lower sideband the tones run downward in audio: mirror them.
            block[i] = sideband_ == Sideband::Upper ? z : std::conj(z);
        }
        unsigned produced = 0;
        msresamp_crcf_execute(resampler_, block.data(), unsigned(n), resampled_.data(), &produced);
        for (unsigned i = 0; i < produced; ++i)
            processResampled(resampled_[i]);
        samples += n;
        count -= n;
    }
}

void MfskDemodulator::processResampled(std::complex<float> raw)
{
    std::complex<float> filtered;
    firfilt_crcf_push(bandPass_, raw);
    firfilt_crcf_execute(bandPass_, &filtered);
    raw_[write_] = raw;
    filtered_[write_] = filtered;
    write_ = (write_ + 1) % filtered_.size();
    if (++sinceHop_ < hop_)
        return;
    sinceHop_ = 0;

    transform(filtered_);
    double strongest = 0.0;
    for (int t = 0; t < mode_.tones; ++t) {
        toneEnergy_[std::size_t(t)] = power(mfsk::toneBin(mode_, t));
        strongest = std::max(strongest, toneEnergy_[std::size_t(t)]);
    }
    if (!sync_.push(strongest))
        return;
    decideSymbol();
    if (tracking_)
        afc_.addSymbol(spectrum_, loudest_);
    transform(raw_);
    measureSignal();
    if (tracking_)
        followTones();
}

void MfskDemodulator::transform(const std::vector<std::complex<float>> &ring)
{
    // The symbol's samples in time order, then zeros: the transform of twice the length
    // gives the tone bins and the half-bin points between them.
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i)
        fftIn_[i] = ring[(write_ + i) % n];
    std::fill(fftIn_.begin() + std::ptrdiff_t(n), fftIn_.end(), std::complex<float>(0.0f, 0.0f));
    fft_execute(plan_);
}

void MfskDemodulator::decideSymbol()
{
    const double noise = detectionNoise();
    const double amplitude = detectionAmplitude();
    int loudest = 0;
    for (int t = 1; t < mode_.tones; ++t)
        if (toneEnergy_[std::size_t(t)] > toneEnergy_[std::size_t(loudest)])
            loudest = t;

    // For each bit, the strongest tone that says one against the strongest that says
    // zero: the max-log likelihood of incoherent detection in white noise.
    for (int j = 0; j < mode_.bitsPerSymbol; ++j) {
        const int mask = 1 << (mode_.bitsPerSymbol - 1 - j);
        double one = 0.0, zero = 0.0;
        for (int t = 0; t < mode_.tones; ++t) {
            const double a = std::sqrt(toneEnergy_[std::size_t(t)]);
            double &side = (symbolOfTone_[std::size_t(t)] & mask) ? one : zero;
            side = std::max(side, a);
        }
        const double llr = 2.0 * amplitude * (one - zero) / noise;
        softBits_[std::size_t(j)] = float(std::clamp(llr / kSoftScale, -1.0, 1.0));
    }
    // How far the strongest tone stands above the noise; nothing while the timing is
    // unknown, as then the transforms straddle symbols.
    const float clarity = sync_.locked() ? float(toneEnergy_[std::size_t(loudest)] / noise) : 0.0f;
    decoder_.push(softBits_.data(), clarity, [this](unsigned char c) { emitChar(c); });
    loudest_ = loudest;
}

// The S/N transform is windowed, the tone transform is not; a tone bin of the latter
// holds the symbol length times the noise per sample, and a tone's amplitude times the
// symbol length.
double MfskDemodulator::detectionNoise() const
{
    return noise_ > 0.0 ? noise_ * mode_.symbolSamples / windowEnergy_ : 1.0;
}

double MfskDemodulator::detectionAmplitude() const
{
    const double power = std::max(signal_, 0.0) / (double(fftSize_) * windowEnergy_);
    return std::sqrt(power) * mode_.symbolSamples;
}

void MfskDemodulator::measureSignal()
{
    // A windowed transform of the unfiltered symbol: its leakage stays out of the bins
    // beside the tone set, where the noise is measured.
    const std::size_t n = raw_.size();
    for (std::size_t i = 0; i < n; ++i)
        fftIn_[i] = raw_[(write_ + i) % n] * window_[i];
    std::fill(fftIn_.begin() + std::ptrdiff_t(n), fftIn_.end(), std::complex<float>(0.0f, 0.0f));
    fft_execute(plan_);

    const int edge = mode_.tones + 4; // half-bins from the centre to beyond the outer tones
    const int inner = mode_.tones + 8;
    const int outer = (3 * mode_.symbolSamples) / 4;
    double sum = 0.0;
    int count = 0;
    for (int k = inner; k <= outer; ++k) {
        sum += power(k) + power(-k);
        count += 2;
    }
    const double noise = sum / count;
    double signal = 0.0;
    for (int k = -edge; k <= edge; ++k)
        signal += power(k) - noise;
    ++measured_;
    const double weight = std::max(kSignalWeight, 1.0 / measured_);
    signal_ += weight * (signal - signal_);
    noise_ += weight * (noise - noise_);
}

double MfskDemodulator::signalToNoiseDb() const
{
    if (measured_ == 0)
        return -30.0;
    // Every half-bin point holds its share of the noise: the noise in 2500 Hz is the
    // noise of as many points as fit in 2500 Hz.
    const double pointHz = mode_.sampleRate / fftSize_;
    const double signalPower = signal_;
    const double noisePower = noise_ * kNoiseBandwidthHz / pointHz;
    if (!(noisePower > 0.0) || !std::isfinite(noisePower))
        return signal_ > 0.0 ? 60.0 : -30.0;
    const double ratio = std::max(signalPower / noisePower, 1e-3);
    return std::clamp(10.0 * std::log10(ratio), -30.0, 60.0);
}

void MfskDemodulator::setAfc(bool on)
{
    if (on && !tracking_)
        afc_.reset();
    tracking_ = on;
}

void MfskDemodulator::followTones()
{
    // The AFC works in the baseband, which the lower sideband mirrors.
    const double audio = sideband_ == Sideband::Upper ? 1.0 : -1.0;
    const double symbolSnr = std::pow(10.0, signalToNoiseDb() / 10.0) * kNoiseBandwidthHz / mode_.baud;
    const auto move = afc_.step(audio * afcHz_, detectionNoise(), symbolSnr);
    if (!move)
        return;
    afcHz_ = std::clamp(afcHz_ + audio * move->hz, -mfsk::ToneSetAfc::kRangeHz, mfsk::ToneSetAfc::kRangeHz);
    // Symbols read whole tones off decode to nonsense: drop them.
    if (move->wholeTones)
        decoder_.reset();
    retune();
}

std::unique_ptr<Demodulator> makeMfskDemodulator(Sideband sideband)
{
    return std::make_unique<MfskDemodulator>(sideband);
}

} // namespace digimode
