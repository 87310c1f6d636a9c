#include "PskDemodulator.h"

#include "PulseShape.h"

#include <complex>
#include <liquid/liquid.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace digimode {
namespace {

constexpr double kPi = std::numbers::pi;
// Receive band-pass half widths in symbol rates, widest first.
constexpr std::array<double, 4> kBandPassWidths = {3.0, 2.0, 1.5, 1.2};
constexpr unsigned kBandPassTaps = 8 * 16 + 1;
// Carrier loop gains per symbol (second order, critically damped).
constexpr double kPhaseGain = 0.1;
constexpr double kFrequencyGain = kPhaseGain * kPhaseGain / 4.0;
constexpr double kMomentSmoothing = 1.0 / 64.0;
// Below this symbol signal-to-noise ratio (about -16 dB in 2500 Hz at 31.25 baud) the
// decoder stays quiet instead of printing noise; noise alone reads about -2 dB. The
// M2M4 estimate looks at the symbol magnitudes only, so neither a frequency error nor
// a carrier loop that has not locked yet keeps the squelch shut.
constexpr double kSquelchSymbolSnrDb = 2.0;
constexpr double kSquelchHysteresisDb = 1.5;
// A signal that stops: the symbol power of the last few symbols falls far below the mean
// long before the moments notice; the squelch closes at once.
constexpr double kRecentSmoothing = 1.0 / 4.0;
constexpr double kCollapse = 0.05;
// The phase step from symbol to symbol, raised to the constellation's power, strips the
// keying: its mean points at the frequency error (rad per symbol, times M), whether the
// carrier loop has locked or not.
constexpr double kStepSmoothing = 1.0 / 32.0;
// How fast that frequency estimate steers the carrier loop's own (per symbol).
constexpr double kFrequencyPull = 0.05;
// The carrier loop counts as locked while the mean of cos(M * phase error) stays above this.
constexpr double kLockSmoothing = 1.0 / 16.0;
constexpr double kLockBpsk = 0.4;
constexpr double kLockQpsk = 0.3;
// The largest turn per symbol (rad) left by a frequency error that QPSK still reads.
constexpr double kMaxResidualStep = 0.15;
constexpr double kSnrFloorDb = -40.0;
constexpr double kSnrCeilingDb = 60.0;

unsigned char softValue(double projection, double scale)
{
    const double v = 128.0 + 100.0 * projection / scale;
    return (unsigned char)(std::clamp(v, 0.0, 255.0));
}

} // namespace

struct PskDemodulator::Filters {
    msresamp_crcf resampler = nullptr;
    firfilt_crcf bandPass = nullptr;
    firfilt_crcf receive = nullptr;
    firfilt_crcf search = nullptr;
    ~Filters()
    {
        if (search)
            firfilt_crcf_destroy(search);
        if (resampler)
            msresamp_crcf_destroy(resampler);
        if (bandPass)
            firfilt_crcf_destroy(bandPass);
        if (receive)
            firfilt_crcf_destroy(receive);
    }
};

PskDemodulator::PskDemodulator(bool quadrature)
    : quadrature_(quadrature)
{
    configure();
}

PskDemodulator::~PskDemodulator() = default;

void PskDemodulator::configure()
{
    filters_ = std::make_unique<Filters>();
    const double rate = kSamplesPerSymbol * speed_ / kSampleRate;
    filters_->resampler = msresamp_crcf_create(float(rate), 60.0f);

    ReceiveFilter receive = pskReceiveFilter(kSamplesPerSymbol);
    efficiency_ = receive.efficiency;
    filters_->receive = firfilt_crcf_create(receive.taps.data(), unsigned(receive.taps.size()));
    buildBandPass();
    buildSearchFilter();

    timing_ = std::make_unique<SymbolTiming>(kSamplesPerSymbol);
    coarseAfc_.clear();
    coarseAfc_.push_back(std::make_unique<CoarseAfc>(2, kSamplesPerSymbol * speed_));
    if (quadrature_)
        coarseAfc_.push_back(std::make_unique<CoarseAfc>(4, kSamplesPerSymbol * speed_));
    for (auto &search : coarseAfc_)
        search->setRange(afcRangeHz());
    reset();
}

void PskDemodulator::buildBandPass()
{
    std::vector<float> taps(kBandPassTaps);
    const float cutoff = float(kBandPassWidths[std::size_t(filter_)] / kSamplesPerSymbol);
    liquid_firdes_kaiser(kBandPassTaps, cutoff, 60.0f, 0.0f, taps.data());
    float sum = 0.0f;
    for (float t : taps)
        sum += t;
    for (float &t : taps)
        t /= sum;
    if (filters_->bandPass)
        firfilt_crcf_destroy(filters_->bandPass);
    filters_->bandPass = firfilt_crcf_create(taps.data(), kBandPassTaps);
}

// The frequency search squares the signal, and squared noise grows fast: it sees only
// the band the signal can occupy within the search range.
void PskDemodulator::buildSearchFilter()
{
    constexpr unsigned kTaps = 4 * 16 + 1;
    std::vector<float> taps(kTaps);
    const double halfWidth = afcRangeHz() + 1.5 * speed_;
    const float cutoff = float(std::min(0.45, halfWidth / (kSamplesPerSymbol * speed_)));
    liquid_firdes_kaiser(kTaps, cutoff, 50.0f, 0.0f, taps.data());
    if (filters_->search)
        firfilt_crcf_destroy(filters_->search);
    filters_->search = firfilt_crcf_create(taps.data(), kTaps);
}

double PskDemodulator::afcRangeHz() const
{
    // With AFC on the carrier is pulled in from +-50 Hz; with it off the receiver only
    // follows what lies well inside its filter.
    return afc_ ? std::max(50.0, speed_ / 2.0) : speed_ / 4.0;
}

void PskDemodulator::setCarrier(double hz)
{
    if (!std::isfinite(hz))
        return;
    carrier_ = std::clamp(hz, 0.0, kSampleRate / 2.0);
    tuned_ = carrier_;
    offset_ = 0.0;
    frequency_ = 0.0;
    for (auto &search : coarseAfc_)
        search->restart();
}

double PskDemodulator::carrier() const
{
    if (!afc_)
        return carrier_;
    return carrier_ + frequency_ * speed_ / (2.0 * kPi);
}

void PskDemodulator::setSpeed(double baud)
{
    if (!std::isfinite(baud) || baud <= 0.0 || baud == speed_)
        return;
    // The receiver is built for the PSK31 family; other rates are taken as the nearest.
    speed_ = std::clamp(baud, 31.25, 250.0);
    configure();
}

void PskDemodulator::setAfc(bool on)
{
    if (on == afc_)
        return;
    if (on) {
        carrier_ += offset_;
    } else {
        carrier_ = carrier();
        frequency_ = 0.0;
    }
    tuned_ = carrier_;
    offset_ = 0.0;
    afc_ = on;
    for (auto &search : coarseAfc_) {
        search->setRange(afcRangeHz());
        search->restart();
    }
    buildSearchFilter();
}

void PskDemodulator::setFilter(int index)
{
    filter_ = std::clamp(index, 0, int(kBandPassWidths.size()) - 1);
    buildBandPass();
}

void PskDemodulator::reset()
{
    msresamp_crcf_reset(filters_->resampler);
    firfilt_crcf_reset(filters_->bandPass);
    firfilt_crcf_reset(filters_->receive);
    timing_->reset();
    for (auto &search : coarseAfc_)
        search->restart();
    offset_ = 0.0;
    phase_ = 0.0;
    frequency_ = 0.0;
    previous_ = {};
    moment2_ = 0.0;
    moment4_ = 0.0;
    recentPower_ = 0.0;
    stepMean_ = 0.0;
    lockMean_ = 0.0;
    squelch_ = false;
    previousRaw_ = {};
    meanDifferential_ = 0.0;
    varicode_.reset();
    viterbi_.reset();
    squelchHistory_.fill(false);
    pending_.clear();
    symbolIndex_ = 0;
    bitIndex_ = 0;
}

void PskDemodulator::retune(double offsetHz)
{
    // Whatever the search finds, the carrier stays within its range of where the
    // operator tuned, so noise cannot walk it away.
    const double range = afcRangeHz();
    if (afc_)
        carrier_ = std::clamp(carrier_ + offsetHz, tuned_ - range, tuned_ + range);
    else
        offset_ = std::clamp(offset_ + offsetHz, -range, range);
    frequency_ = 0.0;
    for (auto &search : coarseAfc_)
        search->restart();
}

void PskDemodulator::process(const float *samples, std::size_t count)
{
    const double mixer = carrier_ + offset_;
    const double w = -2.0 * kPi * mixer / kSampleRate;
    step_ = {std::cos(w), std::sin(w)};
    mixed_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        mixed_[i] = std::complex<float>(float(samples[i] * phasor_.real()), float(samples[i] * phasor_.imag()));
        phasor_ *= step_;
        if (++renormalise_ == 1024) {
            phasor_ /= std::abs(phasor_);
            renormalise_ = 0;
        }
    }
    resampled_.resize(msresamp_crcf_get_num_output(filters_->resampler, unsigned(count)) + 8);
    unsigned produced = 0;
    msresamp_crcf_execute(filters_->resampler, mixed_.data(), unsigned(count), resampled_.data(), &produced);
    for (unsigned i = 0; i < produced; ++i)
        onBaseband(resampled_[i]);
}

void PskDemodulator::onBaseband(std::complex<float> z)
{
    bool found = false;
    double offset = 0.0;
    std::complex<float> narrowed;
    firfilt_crcf_push(filters_->search, z);
    firfilt_crcf_execute(filters_->search, &narrowed);
    for (auto &search : coarseAfc_) {
        double estimate = 0.0;
        if (search->push(narrowed, estimate) && !found) {
            found = true;
            offset = estimate;
        }
    }
    // A locked carrier loop knows better than the search; the search takes over when the
    // loop has lost the signal. QPSK is detected differentially and its phase loop rarely
    // locks firmly at low SNR, while the square of QPSK data can show lines of its own:
    // there the search waits until the signal itself is lost.
    if (found && !(quadrature_ ? squelch_ : carrierLocked())) {
        const double tracked = frequency_ * speed_ / (2.0 * kPi);
        if (std::abs(offset - tracked) > std::max(0.4, 0.012 * speed_))
            retune(offset);
    }

    std::complex<float> filtered, shaped;
    firfilt_crcf_push(filters_->bandPass, z);
    firfilt_crcf_execute(filters_->bandPass, &filtered);
    firfilt_crcf_push(filters_->receive, filtered);
    firfilt_crcf_execute(filters_->receive, &shaped);

    std::complex<float> symbol;
    if (timing_->push(shaped, symbol))
        onSymbol(symbol);
}

void PskDemodulator::onSymbol(std::complex<float> y)
{
    // A plain mean over the first symbols, so the estimate is ready within a few
    // symbols of a fresh start rather than after the averaging time.
    const double power = std::norm(y);
    const double weight = std::max(kMomentSmoothing, 1.0 / double(symbolIndex_ + 1));
    moment2_ += weight * (power - moment2_);
    moment4_ += weight * (power * power - moment4_);
    recentPower_ += kRecentSmoothing * (power - recentPower_);
    timing_->setClockTracking(squelch_);

    const std::complex<float> a = y * std::complex<float>(float(std::cos(-phase_)), float(std::sin(-phase_)));
    const float magnitude = std::abs(a);
    std::complex<float> decided;
    if (quadrature_) {
        const float angle = std::round(std::arg(a) / float(kPi / 2.0)) * float(kPi / 2.0);
        decided = {std::cos(angle), std::sin(angle)};
    } else {
        decided = {a.real() >= 0.0f ? 1.0f : -1.0f, 0.0f};
    }
    if (magnitude > 0.0f) {
        std::complex<double> unit = std::complex<double>(a) / double(magnitude);
        unit *= quadrature_ ? unit * unit * unit : unit;
        lockMean_ += kLockSmoothing * (unit.real() - lockMean_);
        const double error = std::imag(a * std::conj(decided)) / magnitude;
        frequency_ += kFrequencyGain * error;
        phase_ += kPhaseGain * error;
    }
    const std::complex<float> step = y * std::conj(previousRaw_);
    previousRaw_ = y;
    if (std::abs(step) > 0.0f) {
        std::complex<double> unit = std::complex<double>(step) / double(std::abs(step));
        unit *= quadrature_ ? unit * unit * unit : unit;
        stepMean_ += kStepSmoothing * (unit - stepMean_);
        // Once the loop holds the carrier its own estimate is the cleaner one.
        if (std::abs(stepMean_) > 0.1 && !carrierLocked()) {
            const double measured = std::arg(stepMean_) / (quadrature_ ? 4.0 : 2.0);
            frequency_ += kFrequencyPull * (measured - frequency_);
        }
    }
    // Keep the loop inside the coarse search's resolution; beyond it the AFC retunes.
    frequency_ = std::clamp(frequency_, -kPi / 4.0, kPi / 4.0);
    phase_ = std::remainder(phase_ + frequency_, 2.0 * kPi);

    updateSquelch();
    squelchHistory_[std::size_t(symbolIndex_) % kHistory] = squelch_;

    if (quadrature_) {
        // The phase change carries the two code bits (Gray-coded: 0 deg = 11,
        // +90 = 10, 180 = 00, -90 = 01), read by projecting on the diagonals.
        const std::complex<float> u = a * std::conj(previous_);
        const float diagonal = float(std::sqrt(0.5));
        const double s0 = (u * std::complex<float>(diagonal, -diagonal)).real();
        const double s1 = (u * std::complex<float>(diagonal, diagonal)).real();
        meanDifferential_ += kMomentSmoothing * (std::abs(u) - meanDifferential_);
        const double scale = std::max(meanDifferential_, 1e-30);
        viterbi_.push(softValue(s0, scale), softValue(s1, scale), [this](bool bit) { onBit(bit, bitIndex_++); });
    } else {
        // Differential coding: a one keeps the phase, a zero reverses it.
        onBit((a.real() >= 0.0f) == (previous_.real() >= 0.0f), symbolIndex_);
    }
    previous_ = a;
    releasePending();
    ++symbolIndex_;
}

void PskDemodulator::onBit(bool bit, long symbol)
{
    const int c = varicode_.push(bit);
    if (c >= 0)
        pending_.push_back({(unsigned char)c, symbol});
}

// A character counts if the squelch was open when its last bit was sent and still is a
// little later: the fading tail of a transmission decodes into stray characters before
// the squelch can tell the signal has gone.
void PskDemodulator::releasePending()
{
    while (!pending_.empty() && pending_.front().symbol + kConfirmSymbols <= symbolIndex_) {
        const Pending p = pending_.front();
        pending_.pop_front();
        if (p.symbol + long(kHistory) <= symbolIndex_)
            continue;   // older than the record (cannot happen with a sane window)
        if (squelchHistory_[std::size_t(p.symbol) % kHistory]
            && squelchHistory_[std::size_t(p.symbol + kConfirmSymbols) % kHistory])
            emitChar(p.c);
    }
}

bool PskDemodulator::carrierLocked() const
{
    return lockMean_ > (quadrature_ ? kLockQpsk : kLockBpsk);
}

void PskDemodulator::updateSquelch()
{
    const double level = squelch_ ? kSquelchSymbolSnrDb - kSquelchHysteresisDb : kSquelchSymbolSnrDb;
    const bool present = symbolSnr() > level && recentPower_ > kCollapse * moment2_;
    if (squelch_ || !present) {
        squelch_ = present;
        return;
    }
    // A signal has come: open once it is read right. BPSK is detected against the
    // carrier loop's phase, so the loop must hold it; QPSK is detected from symbol to
    // symbol, so no frequency error may be left to turn the steps. (Once open, these
    // noisier measures are not asked again: a weak signal would flicker.)
    if (quadrature_) {
        const double residual = std::remainder(std::arg(stepMean_) / 4.0 - frequency_, kPi / 2.0);
        squelch_ = std::abs(residual) < kMaxResidualStep;
    } else {
        squelch_ = carrierLocked();
    }
}

double PskDemodulator::symbolSnr() const
{
    // The M2M4 estimator: for a constant-modulus signal in Gaussian noise,
    // S = sqrt(2 M2^2 - M4) and N = M2 - S.
    if (!(moment2_ > 1e-30))
        return kSnrFloorDb;
    const double signal = std::sqrt(std::max(0.0, 2.0 * moment2_ * moment2_ - moment4_));
    const double noise = moment2_ - signal;
    if (signal <= 0.0)
        return kSnrFloorDb;
    if (noise <= signal * 1e-6)
        return kSnrCeilingDb;
    return std::clamp(10.0 * std::log10(signal / noise), kSnrFloorDb, kSnrCeilingDb);
}

double PskDemodulator::signalToNoiseDb() const
{
    const double symbol = symbolSnr();
    if (symbol <= kSnrFloorDb || symbol >= kSnrCeilingDb)
        return symbol;
    // Symbol energy over noise density, then the noise counted in 2500 Hz.
    const double esN0 = symbol - 10.0 * std::log10(efficiency_);
    return std::clamp(esN0 + 10.0 * std::log10(speed_ / 2500.0), kSnrFloorDb, kSnrCeilingDb);
}

double PskDemodulator::clockErrorPpm() const
{
    return timing_->clockErrorPpm();
}

std::unique_ptr<Demodulator> makePskDemodulator(bool quadrature)
{
    return std::make_unique<PskDemodulator>(quadrature);
}

} // namespace digimode
