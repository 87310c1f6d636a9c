#include "SoundCardInput.h"

#include "Demodulator.h"

#include <QAudioSource>

namespace digimode {
namespace {

QString deviceName(const QAudioDevice &device)
{
    return QStringLiteral("\"%1\"").arg(device.description());
}

} // namespace

SoundCardInput::SoundCardInput(QObject *parent)
    : QObject(parent)
{
}

SoundCardInput::~SoundCardInput()
{
    stop();
}

bool SoundCardInput::start(const QString &id)
{
    stop();
    if (!devices_) {
        devices_ = std::make_unique<QMediaDevices>();
        connect(devices_.get(), &QMediaDevices::audioInputsChanged, this, &SoundCardInput::onDevicesChanged);
    }
    bool ok = false;
    const int index = id.trimmed().toInt(&ok);
    const QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    if (!ok || index < -1) {
        emit failed(QStringLiteral("\"%1\" names no sound card. Choose -1 for the system's default input, "
                                   "or 0, 1, ... for the inputs in the order the system lists them.")
                        .arg(id));
        return false;
    }
    QAudioDevice device = index == -1 ? QMediaDevices::defaultAudioInput()
                                      : (index < inputs.size() ? inputs.at(index) : QAudioDevice());
    if (device.isNull()) {
        emit failed(index == -1
                        ? QStringLiteral("The system has no sound input. Connect a sound card (or start the sound "
                                         "server), then choose it in the Sound window.")
                        : QStringLiteral("There is no sound card %1: the system lists %2 input(s), numbered from 0. "
                                         "Choose another one in the Sound window.")
                              .arg(index)
                              .arg(inputs.size()));
        return false;
    }

    // Ask for the engine's own format; the sound server converts. A device that will
    // not is read in its preferred format and converted here.
    QAudioFormat format;
    format.setSampleRate(int(kSampleRate));
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        format = device.preferredFormat();

    device_ = device;
    format_ = format;
    converter_ = std::make_unique<RateConverter>(format.sampleRate());
    source_ = new QAudioSource(device, format, this);
    source_->setBufferSize(format.bytesForDuration(500000));
    connect(source_, &QAudioSource::stateChanged, this, &SoundCardInput::onStateChanged);
    io_ = source_->start();
    if (!io_ || source_->error() != QAudio::NoError) {
        fail(QStringLiteral("Cannot open the sound card %1. Check that it is connected and not held by "
                            "another program, or choose another one in the Sound window.")
                 .arg(deviceName(device)));
        return false;
    }
    connect(io_, &QIODevice::readyRead, this, &SoundCardInput::readAvailable);
    return true;
}

void SoundCardInput::stop()
{
    if (!source_)
        return;
    source_->disconnect(this);
    source_->stop();
    source_->deleteLater();
    source_ = nullptr;
    io_ = nullptr;
}

void SoundCardInput::fail(const QString &message)
{
    stop();
    emit failed(message);
}

void SoundCardInput::readAvailable()
{
    if (!io_)
        return;
    const QByteArray bytes = io_->readAll();
    const int frameBytes = format_.bytesPerFrame();
    const int channels = format_.channelCount();
    if (frameBytes <= 0 || channels <= 0)
        return;
    const qsizetype frames = bytes.size() / frameBytes;
    mono_.resize(std::size_t(frames));
    const char *data = bytes.constData();
    for (qsizetype f = 0; f < frames; ++f) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c)
            sum += format_.normalizedSampleValue(data + f * frameBytes + c * format_.bytesPerSample());
        mono_[std::size_t(f)] = sum / float(channels);
    }
    converted_.clear();
    converter_->convert(mono_.data(), mono_.size(), converted_);
    if (sink_ && !converted_.empty())
        sink_(converted_.data(), converted_.size());
}

void SoundCardInput::onStateChanged()
{
    if (source_ && source_->state() == QAudio::StoppedState && source_->error() != QAudio::NoError)
        fail(QStringLiteral("The sound card %1 stopped delivering audio. Check the device, or choose another one "
                            "in the Sound window.")
                 .arg(deviceName(device_)));
}

void SoundCardInput::onDevicesChanged()
{
    emit devicesChanged();
    if (!source_)
        return;
    for (const QAudioDevice &d : QMediaDevices::audioInputs())
        if (d.id() == device_.id())
            return;
    fail(QStringLiteral("The sound card %1 has gone. Reconnect it, or choose another one in the Sound window.")
             .arg(deviceName(device_)));
}

} // namespace digimode
