#include "Receiver.h"

#include <algorithm>
#include <cmath>

namespace digimode {
namespace {

std::unique_ptr<Demodulator> makeDemodulator(const std::string &name)
{
    if (name == "bpsk")
        return makePskDemodulator(false);
    if (name == "qpsk")
        return makePskDemodulator(true);
    if (name == "rtty-L")
        return makeRttyDemodulator(Sideband::Lower);
    if (name == "rtty-U")
        return makeRttyDemodulator(Sideband::Upper);
    if (name == "mfsk-L")
        return makeMfskDemodulator(Sideband::Lower);
    if (name == "mfsk-U")
        return makeMfskDemodulator(Sideband::Upper);
    return nullptr;
}

// Modes of one family share their speeds: switching sideband or BPSK/QPSK keeps it.
std::string familyOf(const std::string &mode)
{
    if (mode == "bpsk" || mode == "qpsk")
        return "psk";
    return mode.substr(0, mode.find('-'));
}

// A meter needle: rises at once, falls by this share of full scale per second.
constexpr double kLevelFallPerSecond = 1.5;

} // namespace

const std::vector<ModeInfo> &modeList()
{
    static const std::vector<ModeInfo> modes = {
        {"bpsk", 31.25}, {"qpsk", 31.25}, {"rtty-L", 45.45}, {"rtty-U", 45.45}, {"mfsk-L", 15.625}, {"mfsk-U", 15.625},
    };
    return modes;
}

const ModeInfo *findMode(const std::string &name)
{
    for (const ModeInfo &m : modeList())
        if (m.name == name)
            return &m;
    return nullptr;
}

Receiver::Receiver()
{
    setMode("bpsk");
}

bool Receiver::setMode(const std::string &name)
{
    const ModeInfo *info = findMode(name);
    if (!info)
        return false;
    auto next = makeDemodulator(name);
    next->setFilter(filter_);
    if (demodulator_) {
        next->setCarrier(demodulator_->carrier());
        next->setSpeed(familyOf(name) == familyOf(mode_) ? demodulator_->speed() : info->defaultSpeed);
    } else {
        next->setSpeed(info->defaultSpeed);
    }
    next->setAfc(afc_);
    next->setCharSink(charSink_);
    demodulator_ = std::move(next);
    mode_ = name;
    return true;
}

void Receiver::setAfc(bool on)
{
    afc_ = on;
    demodulator_->setAfc(on);
}

void Receiver::setFilter(int index)
{
    filter_ = std::clamp(index, 0, 3);
    demodulator_->setFilter(filter_);
}

void Receiver::setCharSink(Demodulator::CharSink sink)
{
    charSink_ = std::move(sink);
    demodulator_->setCharSink(charSink_);
}

void Receiver::drain()
{
    const std::vector<float> quiet(std::size_t(kDrainSeconds * kSampleRate), 0.0f);
    process(quiet.data(), quiet.size());
}

void Receiver::process(const float *samples, std::size_t count)
{
    clean_.resize(count);
    double peak = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const float s = std::isfinite(samples[i]) ? samples[i] : 0.0f;
        clean_[i] = s;
        peak = std::max(peak, double(std::abs(s)));
    }
    level_ = std::max(std::min(peak, 1.0), level_ - kLevelFallPerSecond * double(count) / kSampleRate);
    level_ = std::max(level_, 0.0);

    // Spectrum frames and the demodulator interleave in steps of one frame hop, so a
    // frame reports the carrier and S/N of the moment it was taken.
    std::size_t done = 0;
    while (done < count) {
        const std::size_t n = std::min<std::size_t>(Spectrum::kHop, count - done);
        demodulator_->process(clean_.data() + done, n);
        spectrum_.push(clean_.data() + done, n, [this] {
            if (frameSink_)
                frameSink_();
        });
        done += n;
    }
}

} // namespace digimode
