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
// How fast the phase steps' frequency estimate steers the carrier loop (per symbol).
constexpr double kFrequencyPull = 0.05;
constexpr double kDifferentialSmoothing = 1.0 / 64.0;
// The loop frequency (rad per symbol) beyond which the mixer takes it over: 1 % of the
// symbol rate.
constexpr double kHandOver = 2.0 * kPi * 0.01;
// QPSK: a search result this share of a quarter symbol rate off is a false lock.
constexpr double kFalseLockShare = 0.6;
// QPSK: the phase steps' fourth power tells frequencies apart within +-1/8 turn per
// symbol; the loop follows them only well inside that.
constexpr double kQpskStepTrust = kPi / 8.0;

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
    , quality_(quadrature)
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
    // From the mixer to the symbol stage: half a slice, the resampler, the band-pass and
    // the receive filter (half their lengths) and the timing recovery's look-ahead.
    // (liquid gives the resampler's delay in input samples.)
    const double delay = kSlice * rate / 2.0 + msresamp_crcf_get_delay(filters_->resampler) * rate
        + (kBandPassTaps - 1) / 2.0 + double(receive.taps.size() - 1) / 2.0 + kSamplesPerSymbol / 2.0 + 2.0;
    pipelineSymbols_ = long(std::ceil(delay / kSamplesPerSymbol));
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
    handoffs_.clear();
    for (auto &search : coarseAfc_)
        search->restart();
}

double PskDemodulator::loopFrequencyHz() const
{
    // Less what the mixer has already taken over but the loop has not yet given up.
    double pending = 0.0;
    for (const Handoff &h : handoffs_)
        pending += h.radPerSymbol;
    return (frequency_ - pending) * speed_ / (2.0 * kPi);
}

double PskDemodulator::carrier() const
{
    if (!afc_)
        return carrier_;
    return carrier_ + loopFrequencyHz();
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
        handoffs_.clear();
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
    handoffs_.clear();
    squareAgrees_ = false;
    previous_ = {};
    quality_.reset();
    meanDifferential_ = 0.0;
    varicode_.reset();
    qpsk_.reset();
    squelchHistory_.fill(false);
    pending_.clear();
    symbolIndex_ = 0;
    bitIndex_ = 0;
}

void PskDemodulator::retune(double offsetHz, bool fromSearch)
{
    // Whatever the search finds, the carrier stays within its range of where the
    // operator tuned, so noise cannot walk it away.
    const double range = afcRangeHz();
    const double before = carrier_ + offset_;
    if (afc_)
        carrier_ = std::clamp(carrier_ + offsetHz, tuned_ - range, tuned_ + range);
    else
        offset_ = std::clamp(offset_ + offsetHz, -range, range);
    const double applied = carrier_ + offset_ - before;
    if (applied == 0.0)
        return;
    // What is still in the resampler and filters was mixed at the old frequency: the
    // carrier loop keeps its frequency until the first symbol mixed at the new one comes,
    // and the search must not see the old samples, or it would correct the error twice.
    handoffs_.push_back({symbolIndex_ + pipelineSymbols_, 2.0 * kPi * applied / speed_, fromSearch});
    for (auto &search : coarseAfc_)
        search->restart(kSearchSettling);
}

void PskDemodulator::process(const float *samples, std::size_t count)
{
    // In slices, so that a retune takes effect within a few milliseconds.
    for (std::size_t done = 0; done < count; done += kSlice)
        processSlice(samples + done, std::min(kSlice, count - done));
}

void PskDemodulator::processSlice(const float *samples, std::size_t count)
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
    std::complex<float> narrowed;
    firfilt_crcf_push(filters_->search, z);
    firfilt_crcf_execute(filters_->search, &narrowed);
    std::array<bool, 2> found{};
    std::array<double, 2> offset{};
    for (std::size_t i = 0; i < coarseAfc_.size(); ++i)
        found[i] = coarseAfc_[i]->push(narrowed, offset[i]);
    searchDecides(found, offset);

    std::complex<float> filtered, shaped;
    firfilt_crcf_push(filters_->bandPass, z);
    firfilt_crcf_execute(filters_->bandPass, &filtered);
    firfilt_crcf_push(filters_->receive, filtered);
    firfilt_crcf_execute(filters_->receive, &shaped);

    std::complex<float> symbol;
    if (timing_->push(shaped, symbol)) {
        if (timing_->takeJump())
            quality_.forgetLevels();
        onSymbol(symbol);
    }
}

// When the frequency search may retune. A locked carrier loop knows better than the
// search; the search takes over when the loop has lost the signal. QPSK is detected
// differentially, its phase loop rarely locks firmly at low SNR, and the square of QPSK
// data can show lines of its own: while the squelch is open the search counts there
// only to pull the carrier off a false lock a quarter of the symbol rate away, which
// the phase steps cannot tell from the true one.
void PskDemodulator::searchDecides(const std::array<bool, 2> &found, const std::array<double, 2> &offset)
{
    const double smallest = std::max(0.4, 0.012 * speed_);
    if (!quadrature_) {
        if (found[0] && !quality_.carrierLocked() && std::abs(offset[0]) > smallest)
            retune(offset[0], true);
        return;
    }
    // The square's line shows a preamble's idle reversals: it tunes the carrier once,
    // before the signal is read. Later lines of it belong to the data.
    const bool open = quality_.squelchOpen();
    if (found[0] && !open && !squareAgrees_) {
        if (std::abs(offset[0]) > smallest)
            retune(offset[0], true);
        squareAgrees_ = true;
        return;
    }
    // The fourth power: before the signal is read (no preamble seen), or to leave a
    // false lock.
    if (found[1]
        && ((!open && !squareAgrees_ && std::abs(offset[1]) > smallest)
            || std::abs(offset[1]) > kFalseLockShare * speed_ / 4.0)) {
        retune(offset[1], true);
        squareAgrees_ = false;
    }
}

void PskDemodulator::onSymbol(std::complex<float> y)
{
    while (!handoffs_.empty() && handoffs_.front().symbol <= symbolIndex_) {
        // A search found the signal: the loop had not, and starts afresh on it. A locked
        // loop's own error moved to the mixer: the loop keeps the rest.
        frequency_ = handoffs_.front().fromSearch ? 0.0 : frequency_ - handoffs_.front().radPerSymbol;
        handoffs_.pop_front();
        quality_.forgetFrequency();
    }

    const std::complex<float> a = y * std::complex<float>(float(std::cos(-phase_)), float(std::sin(-phase_)));
    quality_.observe(y, a);
    timing_->setClockTracking(quality_.squelchOpen());

    double measured = 0.0;
    if (quadrature_) {
        // QPSK is read from symbol to symbol: it needs the frequency, not the phase. A
        // decision-directed loop at low SNR wanders towards the false locks an eighth of
        // the symbol rate away; the phase steps' own estimate does not.
        if (quality_.stepFrequency(measured) && std::abs(measured) < kQpskStepTrust)
            frequency_ += kFrequencyPull * (measured - frequency_);
    } else {
        // Decision-directed carrier loop; until it holds the carrier, the phase steps
        // pull it towards the frequency.
        const float magnitude = std::abs(a);
        if (magnitude > 0.0f) {
            const std::complex<float> decided(a.real() >= 0.0f ? 1.0f : -1.0f, 0.0f);
            const double error = std::imag(a * std::conj(decided)) / magnitude;
            frequency_ += kFrequencyGain * error;
            phase_ += kPhaseGain * error;
        }
        if (!quality_.carrierLocked() && quality_.stepFrequency(measured))
            frequency_ += kFrequencyPull * (measured - frequency_);
    }
    // Within what the phase steps can tell apart (a quarter or half turn per symbol).
    const double limit = quadrature_ ? kPi / 4.0 : kPi / 2.0;
    frequency_ = std::clamp(frequency_, -limit, limit);
    phase_ = std::remainder(phase_ + frequency_, 2.0 * kPi);
    // A locked BPSK loop hands a lasting frequency error to the mixer, which keeps the
    // signal in the middle of the filters. (QPSK's loop is too loose at low SNR: handing
    // its wander to the mixer walks the carrier off towards a false lock.)
    if (!quadrature_ && handoffs_.empty() && quality_.carrierLocked() && std::abs(frequency_) > kHandOver)
        retune(frequency_ * speed_ / (2.0 * kPi), false);

    const bool wasOpen = quality_.squelchOpen();
    quality_.updateSquelch(frequency_, squareAgrees_);
    // A signal has gone: the next one needs its own preamble.
    if (wasOpen && !quality_.squelchOpen())
        squareAgrees_ = false;
    squelchHistory_[std::size_t(symbolIndex_) % kHistory] = quality_.squelchOpen();

    if (quadrature_) {
        // The phase change carries the two code bits (Gray-coded: 0 deg = 11,
        // +90 = 10, 180 = 00, -90 = 01, or the quarter turns the other way round),
        // read by projecting on the diagonals.
        const std::complex<float> u = a * std::conj(previous_);
        const float diagonal = float(std::sqrt(0.5));
        const double s0 = (u * std::complex<float>(diagonal, -diagonal)).real();
        const double s1 = (u * std::complex<float>(diagonal, diagonal)).real();
        meanDifferential_ += kDifferentialSmoothing * (std::abs(u) - meanDifferential_);
        const double scale = std::max(meanDifferential_, 1e-30);
        qpsk_.push(softValue(s0, scale), softValue(s1, scale), quality_.squelchOpen(),
                   [this](bool bit) { onBit(bit, bitIndex_++); });
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

double PskDemodulator::signalToNoiseDb() const
{
    const double symbol = quality_.symbolSnrDb();
    if (symbol <= SignalQuality::kSnrFloorDb || symbol >= SignalQuality::kSnrCeilingDb)
        return symbol;
    // Symbol energy over noise density, then the noise counted in 2500 Hz.
    const double esN0 = symbol - 10.0 * std::log10(efficiency_);
    return std::clamp(esN0 + 10.0 * std::log10(speed_ / 2500.0), SignalQuality::kSnrFloorDb,
                      SignalQuality::kSnrCeilingDb);
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
