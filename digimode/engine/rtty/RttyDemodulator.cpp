#include "RttyDemodulator.h"

#include <complex>
#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>

namespace digimode {

namespace {

constexpr double kShiftHz = 170.0;
constexpr std::size_t kDecimation = 8;
constexpr double kRate = kSampleRate / double(kDecimation); // 1378.125 Hz
constexpr unsigned kDecimatorTaps = 143;
// The AFC pulls a signal from this far off the set carrier.
constexpr double kAfcRangeHz = 60.0;
// Within this many bauds of the tones the fine measure steers the AFC.
constexpr double kFineAfcBauds = 0.25;
// Speeds the decimated band can carry with the tone pair and its keying sidebands.
constexpr double kMinBaud = 10.0;
constexpr double kMaxBaud = 150.0;
// Receive band-pass half widths beyond the tones, in bauds: 0 widest .. 3 narrowest.
// The narrowest still passes the first keying sidebands of both tones.
constexpr std::array<double, 4> kBandPassBauds = {3.0, 2.0, 1.4, 1.0};

double radiansPerSample(double hz, double rate)
{
    return 2.0 * M_PI * hz / rate;
}

} // namespace

RttyDemodulator::RttyDemodulator(Sideband sideband) : sideband_(sideband)
{
    mixer_ = nco_crcf_create(LIQUID_NCO);
    afcMixer_ = nco_crcf_create(LIQUID_NCO);
    // Flat to beyond 550 Hz (where the noise is measured), and at least 60 dB down from
    // 828 Hz, the lowest frequency that folds back into that band.
    std::vector<float> h(kDecimatorTaps);
    liquid_firdes_kaiser(kDecimatorTaps, float(689.0 / kSampleRate), 60.0f, 0.0f, h.data());
    float gain = 0.0f;
    for (float c : h)
        gain += c;
    for (float &c : h)
        c /= gain;
    decimator_ = firdecim_crcf_create(kDecimation, h.data(), kDecimatorTaps);
    configure();
}

RttyDemodulator::~RttyDemodulator()
{
    nco_crcf_destroy(mixer_);
    nco_crcf_destroy(afcMixer_);
    firdecim_crcf_destroy(decimator_);
    if (bandPass_)
        firfilt_crcf_destroy(bandPass_);
}

void RttyDemodulator::setCarrier(double hz)
{
    if (!std::isfinite(hz))
        return;
    carrier_ = std::clamp(hz, 0.0, kSampleRate / 2.0);
    afcOffset_ = 0.0;
    nco_crcf_set_frequency(mixer_, float(radiansPerSample(carrier_, kSampleRate)));
    nco_crcf_set_frequency(afcMixer_, 0.0f);
    spectrum_.reset();
}

void RttyDemodulator::setSpeed(double baud)
{
    if (!std::isfinite(baud))
        return;
    const double clamped = std::clamp(baud, kMinBaud, kMaxBaud);
    if (clamped == baud_ && bandPass_)
        return;
    baud_ = clamped;
    configure();
}

void RttyDemodulator::setFilter(int index)
{
    filter_ = std::clamp(index, 0, int(kBandPassBauds.size()) - 1);
    designBandPass();
}

void RttyDemodulator::designBandPass()
{
    // A low-pass at baseband is a band-pass centred on the carrier in the audio.
    const double halfWidth = 0.5 * kShiftHz + kBandPassBauds[std::size_t(filter_)] * baud_;
    // Transition about half a baud wide, so the narrow settings stay selective.
    const double transition = std::max(0.5 * baud_, 15.0) / kRate;
    const auto taps = unsigned(std::clamp(int(std::ceil(52.0 / (14.36 * transition))) | 1, 31, 301));
    if (bandPass_)
        firfilt_crcf_destroy(bandPass_);
    bandPass_ = firfilt_crcf_create_kaiser(taps, float(halfWidth / kRate), 60.0f, 0.0f);
    bandPassTaps_ = taps;
    firfilt_crcf_set_scale(bandPass_, 2.0f * float(halfWidth / kRate));
}

void RttyDemodulator::configure()
{
    const double mark = sideband_ == Sideband::Upper ? kShiftHz / 2.0 : -kShiftHz / 2.0;
    discriminator_.configure(kRate, baud_, mark, -mark);
    framer_.configure(kRate / baud_);
    spectrum_.configure(kRate, kShiftHz, baud_);
    setCarrier(carrier_);
    designBandPass();
    reset();
}

void RttyDemodulator::reset()
{
    afcOffset_ = 0.0;
    nco_crcf_reset(mixer_);
    nco_crcf_set_frequency(mixer_, float(radiansPerSample(carrier_, kSampleRate)));
    nco_crcf_reset(afcMixer_);
    firdecim_crcf_reset(decimator_);
    pendingCount_ = 0;
    firfilt_crcf_reset(bandPass_);
    spectrum_.reset();
    discriminator_.reset();
    framer_.reset();
    decoder_.reset();
    warmUp_ = bandPassTaps_ + std::size_t(std::ceil(kRate / baud_)) + kDecimatorTaps / kDecimation;
}

void RttyDemodulator::process(const float *samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        // Non-finite input would poison every filter state; treat it as silence.
        const float x = std::isfinite(samples[i]) ? samples[i] : 0.0f;
        std::complex<float> z;
        nco_crcf_mix_down(mixer_, std::complex<float>(x, 0.0f), &z);
        nco_crcf_step(mixer_);
        pending_[pendingCount_++] = z;
        if (pendingCount_ == kDecimation) {
            pendingCount_ = 0;
            std::complex<float> y;
            firdecim_crcf_execute(decimator_, pending_.data(), &y);
            processDecimated(y);
        }
    }
}

void RttyDemodulator::processDecimated(std::complex<float> y)
{
    if (spectrum_.push(y))
        followTones();

    std::complex<float> corrected;
    nco_crcf_mix_down(afcMixer_, y, &corrected);
    nco_crcf_step(afcMixer_);
    std::complex<float> filtered;
    firfilt_crcf_push(bandPass_, corrected);
    firfilt_crcf_execute(bandPass_, &filtered);

    const float v = discriminator_.process(filtered);
    // Until the filters have filled, their output is a transient, not a signal.
    if (warmUp_ > 0) {
        --warmUp_;
        return;
    }
    if (const auto code = framer_.push(v)) {
        if (const auto c = decoder_.decode(*code); c && *c != '\a')
            emitChar(static_cast<unsigned char>(*c));
    }
}

void RttyDemodulator::followTones()
{
    const auto residual = discriminator_.takeFrequencyError();
    if (!afc_)
        return;
    // Far off, the spectrum finds the tone pair; close in, the detectors' own phase turn
    // is the finer measure (the spectrum of keyed tones leans toward the busier tone).
    const double closeIn = std::max(kFineAfcBauds * baud_, 12.0);
    const auto centre = spectrum_.toneCentre(kAfcRangeHz);
    if (centre && std::abs(*centre - afcOffset_) > closeIn)
        afcOffset_ += 0.5 * (*centre - afcOffset_);
    else if (residual)
        afcOffset_ += 0.3 * *residual;
    else
        return;
    afcOffset_ = std::clamp(afcOffset_, -kAfcRangeHz, kAfcRangeHz);
    nco_crcf_set_frequency(afcMixer_, float(radiansPerSample(afcOffset_, kRate)));
}

double RttyDemodulator::signalToNoiseDb() const
{
    return spectrum_.signalToNoiseDb(afcOffset_);
}

std::unique_ptr<Demodulator> makeRttyDemodulator(Sideband sideband)
{
    return std::make_unique<RttyDemodulator>(sideband);
}

} // namespace digimode
