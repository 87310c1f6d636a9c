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
// The AFC pulls a signal from this far off the set carrier.
constexpr double kAfcRangeHz = 60.0;
// Symbols between AFC steps, and how fast the tone-set profile forgets (a steady
// preamble tone must not hide for long where the rest of the tones are).
constexpr int kAfcSymbols = 4;
constexpr int kFineAfcSymbols = 16;
constexpr double kProfileWeight = 0.05;
constexpr int kProfileSymbols = 48;
// The block's edges: tone positions beyond each end that should hold noise only, and the
// share of the best score the current tuning must fall below to be moved from.
constexpr int kEdgeTones = 2;
constexpr double kCoarseShare = 0.75;
constexpr double kSingleToneShare = 0.3;
constexpr double kEdgeUse = 0.5; // of the average tone's share
constexpr double kCoarseAfcSymbolSnr = 25.0; // -8 dB S/N in 2500 Hz for MFSK16
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
    profile_.assign(profile_.size(), 0.0);
    profileCount_ = 0;
    lean_ = leanWeight_ = 0.0;
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
    profile_.assign(std::size_t(fftSize_), 0.0);

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
    std::fill(profile_.begin(), profile_.end(), 0.0);
    profileCount_ = 0;
    symbols_ = 0;
    lean_ = leanWeight_ = 0.0;
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
        toneEnergy_[std::size_t(t)] = power(binOf(t));
        strongest = std::max(strongest, toneEnergy_[std::size_t(t)]);
    }
    if (!sync_.push(strongest))
        return;
    decideSymbol();
    transform(raw_);
    measureSignal();
    if (++symbols_ % kAfcSymbols == 0)
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

int MfskDemodulator::binOf(int tone) const
{
    // Tones lie at odd multiples of half a spacing from the centre of the set.
    return 2 * tone - (mode_.tones - 1);
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

    ++profileCount_;
    const double weight = std::max(kProfileWeight, 1.0 / profileCount_);
    for (int k = 0; k < fftSize_; ++k)
        profile_[std::size_t(k)] += weight * (power(k) - profile_[std::size_t(k)]);
    const double below = power(binOf(loudest) - 1), above = power(binOf(loudest) + 1);
    if (below + above > 0.0) {
        const double weight = toneEnergy_[std::size_t(loudest)];
        lean_ += weight * (above - below) / (above + below);
        leanWeight_ += weight;
    }
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

void MfskDemodulator::followTones()
{
    if (!afc_) {
        lean_ = leanWeight_ = 0.0;
        return;
    }
    const double halfSpacing = 0.5 * mode_.baud;
    // Offsets found in the (mirrored, on the lower sideband) baseband, in audio terms.
    const double audio = sideband_ == Sideband::Upper ? 1.0 : -1.0;
    // Coarse: where does the block of tones stand out of the averaged spectrum? Each tone
    // holds only its share of the signal, so what places the block is its edges: the
    // score counts the tone positions and takes off what lies just beyond them.
    const int reach = int(std::ceil(kAfcRangeHz / halfSpacing));
    auto at = [this](int bin) { return profile_[std::size_t(((bin % fftSize_) + fftSize_) % fftSize_)]; };
    auto score = [&](int shift) {
        double inside = 0.0, beyond = 0.0;
        for (int t = 0; t < mode_.tones; ++t)
            inside += at(binOf(t) + shift);
        for (int t = 1; t <= kEdgeTones; ++t)
            beyond += at(binOf(-t) + shift) + at(binOf(mode_.tones - 1 + t) + shift);
        return inside - beyond * mode_.tones / (2.0 * kEdgeTones);
    };
    double best = score(0);
    const double centred = best;
    int bestShift = 0;
    for (int shift = -reach; shift <= reach; ++shift) {
        const double value = score(shift);
        // The nearest of equal scores: a single tone (a preamble) fits many places.
        if (value > best || (value == best && std::abs(shift) < std::abs(bestShift))) {
            best = value;
            bestShift = shift;
        }
    }
    // The whole signal, seen against the noise the profile holds at the tone positions.
    const double floor = detectionNoise() * mode_.tones;
    // A profile of few symbols shows only the few tones they used, and a steady tone (a
    // preamble, a carrier) fits anywhere: the tones must have been used about evenly.
    double loudest = 0.0, sum = 0.0;
    for (int t = 0; t < mode_.tones; ++t) {
        loudest = std::max(loudest, at(binOf(t) + bestShift));
        sum += at(binOf(t) + bestShift);
    }
    // Weaker signals than this (energy per symbol over noise density) the profile cannot
    // place to a tone within its memory.
    const double symbolSnr = std::pow(10.0, signalToNoiseDb() / 10.0) * kNoiseBandwidthHz / mode_.baud;
    // And the block's outer tones must be in use: idle repeats a few tones, which fit the
    // block in several places.
    const double noisePerTone = detectionNoise();
    const double perTone = (sum - mode_.tones * noisePerTone) / mode_.tones;
    const bool edgesUsed = at(binOf(0) + bestShift) > noisePerTone + kEdgeUse * perTone
        && at(binOf(mode_.tones - 1) + bestShift) > noisePerTone + kEdgeUse * perTone;
    const bool seen = profileCount_ >= kProfileSymbols && loudest < kSingleToneShare * sum
        && symbolSnr > kCoarseAfcSymbolSnr && edgesUsed;
    // Less than a tone off is the fine AFC's; a move must be asked for twice in a row, as
    // idle (a few tones over and over) can leave the block's edges unclear for a while.
    const bool asked = seen && std::abs(bestShift) >= 2 && best > 0.3 * floor && centred < kCoarseShare * best
        && std::abs(afcHz_ + audio * bestShift * halfSpacing) <= kAfcRangeHz;
    const bool again = asked && bestShift == askedShift_;
    askedShift_ = asked ? bestShift : 0;
    if (again) {
        askedShift_ = 0;
        afcHz_ += audio * bestShift * halfSpacing;
        // Symbols read a whole tone off decode to nonsense: drop them.
        decoder_.reset();
        std::fill(profile_.begin(), profile_.end(), 0.0);
        profileCount_ = 0;
        lean_ = leanWeight_ = 0.0;
        retune();
        return;
    }
    // Fine: the loudest tone leans toward the half-bin point on the side it is off to;
    // for a tone a fraction f of a spacing off, the lean is about 4 f. In a weak signal
    // the lean of a few symbols is mostly noise: steer by that of many.
    if (++leanSymbols_ < kFineAfcSymbols / kAfcSymbols)
        return;
    leanSymbols_ = 0;
    if (leanWeight_ > 0.0 && best > 0.3 * floor) {
        const double fraction = std::clamp(lean_ / leanWeight_ / 4.0, -0.25, 0.25);
        afcHz_ = std::clamp(afcHz_ + audio * 0.5 * fraction * mode_.baud, -kAfcRangeHz, kAfcRangeHz);
        retune();
    }
    lean_ = leanWeight_ = 0.0;
}

std::unique_ptr<Demodulator> makeMfskDemodulator(Sideband sideband)
{
    return std::make_unique<MfskDemodulator>(sideband);
}

} // namespace digimode
