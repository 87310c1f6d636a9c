#include "Engine.h"

#include "SoundCardInput.h"
#include "WaveReader.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

QHash<int, TMMVARI *> &registry()
{
    static QHash<int, TMMVARI *> engines;
    return engines;
}

// A clock measurement every 32 spectrum frames, i.e. every two seconds.
constexpr long kFramesPerTiming = 32;
// A recording played in real time goes in 50 ms steps; otherwise in big ones.
constexpr int kWaveStepMs = 50;
constexpr std::size_t kFastWaveChunk = 16384;

} // namespace

int TMMVARI::nextHandle_ = 1;

TMMVARI::TMMVARI(QObject *parent)
    : QObject(parent)
    , handle_(nextHandle_++)
    , soundCard_(std::make_unique<digimode::SoundCardInput>())
    , wave_(std::make_unique<digimode::WaveReader>())
{
    registry().insert(handle_, this);
    receiver_.setCharSink([this](unsigned char c) {
        const QString text = QString(QChar(char16_t(c)));
        emit OnRxChar(0, text, int(c));
    });
    receiver_.setFrameSink([this] { onFrame(); });
    soundCard_->setSink([this](const float *samples, std::size_t count) {
        if (!isPlayingWaveFile())
            feed(samples, count);
    });
    connect(soundCard_.get(), &digimode::SoundCardInput::failed, this, &TMMVARI::reportError);
    // A card that was missing may have been plugged in: try again (a failure that is
    // the same as before is not reported twice).
    connect(soundCard_.get(), &digimode::SoundCardInput::devicesChanged, this, [this] {
        if (active_ && !soundCard_->isRunning() && !isPlayingWaveFile())
            startSoundCard();
    });
    connect(&waveTimer_, &QTimer::timeout, this, &TMMVARI::playWaveChunk);
}

TMMVARI::~TMMVARI()
{
    registry().remove(handle_);
}

TMMVARI *TMMVARI::fromHandle(int handle)
{
    return registry().value(handle, nullptr);
}

void TMMVARI::setBActive(bool on)
{
    if (on == active_)
        return;
    active_ = on;
    if (!on) {
        soundCard_->stop();
        return;
    }
    if (!isPlayingWaveFile())
        startSoundCard();
}

void TMMVARI::startSoundCard()
{
    if (soundCard_->start(soundId_))
        lastError_.clear();
}

void TMMVARI::reportError(const QString &message)
{
    // Once per trouble: a device that keeps failing must not flood the operator.
    if (message == lastError_)
        return;
    lastError_ = message;
    emit OnDeviceError(message);
}

int TMMVARI::wModeMax() const
{
    return int(digimode::modeList().size());
}

QString TMMVARI::ModeNameAt(int i) const
{
    if (i < 0 || i >= wModeMax())
        return {};
    return QString::fromStdString(digimode::modeList()[std::size_t(i)].name);
}

QString TMMVARI::ChannelMode(int ch) const
{
    return ch == 0 ? QString::fromStdString(receiver_.mode()) : QString();
}

void TMMVARI::setChannelMode(int ch, const QString &mode)
{
    if (ch != 0 || mode.toStdString() == receiver_.mode())
        return;
    const double before = receiver_.demodulator().speed();
    if (!receiver_.setMode(mode.toStdString()))
        return;
    const double after = receiver_.demodulator().speed();
    if (after != before)
        emit OnSpeed(0, after);
}

double TMMVARI::ChannelSpeed(int ch) const
{
    return ch == 0 ? receiver_.demodulator().speed() : 0.0;
}

void TMMVARI::setChannelSpeed(int ch, double baud)
{
    if (ch != 0 || !std::isfinite(baud) || baud <= 0.0)
        return;
    const double before = receiver_.demodulator().speed();
    receiver_.demodulator().setSpeed(baud);
    const double after = receiver_.demodulator().speed();
    if (after != before)
        emit OnSpeed(0, after);
}

int TMMVARI::ChannelCarrier(int ch) const
{
    if (ch != 0)
        return 0;
    const double hz = receiver_.demodulator().carrier();
    return std::isfinite(hz) ? int(std::lround(hz)) : 0;
}

void TMMVARI::setChannelCarrier(int ch, int hz)
{
    if (ch != 0)
        return;
    receiver_.demodulator().setCarrier(std::clamp(double(hz), 0.0, digimode::kSampleRate / 2.0));
}

int TMMVARI::ChannelSignalToNoise(int ch) const
{
    if (ch != 0)
        return 0;
    const double db = receiver_.demodulator().signalToNoiseDb();
    return std::isfinite(db) ? int(std::lround(db)) : 0;
}

int TMMVARI::ChannelAfc(int ch) const
{
    return ch == 0 && receiver_.afc() ? 1 : 0;
}

void TMMVARI::setChannelAfc(int ch, int on)
{
    if (ch == 0)
        receiver_.setAfc(on != 0);
}

int TMMVARI::nBPF() const
{
    return receiver_.filter();
}

void TMMVARI::setNBPF(int index)
{
    receiver_.setFilter(index);
}

void TMMVARI::setStrSoundID(const QString &id)
{
    if (id == soundId_)
        return;
    soundId_ = id;
    lastError_.clear();
    if (active_ && !isPlayingWaveFile())
        startSoundCard();
}

double TMMVARI::sampleRate() const
{
    return digimode::kSampleRate;
}

void TMMVARI::setSampleRate(double hz)
{
    if (hz != digimode::kSampleRate)
        reportError(QStringLiteral("The decoder engine works at 11025 Hz; %1 Hz cannot be set. The sound system "
                                   "converts the card's own rate.")
                        .arg(hz));
}

bool TMMVARI::openWaveFile(const QString &path, bool realTime)
{
    QString error;
    if (!wave_->open(path, &error)) {
        reportError(error);
        return false;
    }
    soundCard_->stop();
    waveRealTime_ = realTime;
    waveTimer_.start(realTime ? kWaveStepMs : 0);
    return true;
}

void TMMVARI::playWaveChunk()
{
    const std::size_t wanted = waveRealTime_ ? std::size_t(digimode::kSampleRate * kWaveStepMs / 1000) : kFastWaveChunk;
    waveBuffer_.clear();
    const bool more = wave_->read(wanted, waveBuffer_);
    if (!waveBuffer_.empty())
        feed(waveBuffer_.data(), waveBuffer_.size());
    if (more)
        return;
    waveTimer_.stop();
    wave_->close();
    receiver_.drain();
    emit OnWaveFileEnd();
    if (active_)
        startSoundCard();
}

void TMMVARI::feed(const float *samples, std::size_t count)
{
    receiver_.process(samples, count);
}

void TMMVARI::onFrame()
{
    const std::vector<float> &frame = receiver_.spectrum().frameDb();
    emit OnDrawFFT(int(frame.size()), QVector<float>(frame.begin(), frame.end()));
    if (++framesSinceTiming_ >= kFramesPerTiming) {
        framesSinceTiming_ = 0;
        const double ppm = receiver_.demodulator().clockErrorPpm();
        if (std::isfinite(ppm))
            emit OnTiming(0, int(std::lround(ppm)), 0);
    }
}

const std::vector<float> &TMMVARI::spectrumDb() const
{
    return receiver_.spectrum().frameDb();
}

double TMMVARI::spectrumBinHz() const
{
    return digimode::Spectrum::binHz();
}

double TMMVARI::inputLevel() const
{
    return receiver_.inputLevel();
}
