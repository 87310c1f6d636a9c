// Audio from a sound card through Qt Multimedia, handed on as mono samples at 11025 Hz.
// The device is named as the decoder window names it: "-1" the system's default input,
// "0", "1", ... the inputs in the order the system lists them.
#pragma once

#include "RateConverter.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QMediaDevices>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QAudioSource;
class QIODevice;

namespace digimode {

class SoundCardInput : public QObject {
    Q_OBJECT
public:
    using Sink = std::function<void(const float *samples, std::size_t count)>;

    explicit SoundCardInput(QObject *parent = nullptr);
    ~SoundCardInput() override;

    void setSink(Sink sink) { sink_ = std::move(sink); }
    // Returns false, after emitting failed(), when the device cannot be opened.
    bool start(const QString &id);
    void stop();
    bool isRunning() const { return source_ != nullptr; }

signals:
    // What went wrong and what the operator can do about it.
    void failed(const QString &message);
    // The system's list of inputs has changed (a card plugged in or out).
    void devicesChanged();

private:
    void readAvailable();
    void onStateChanged();
    void onDevicesChanged();
    void fail(const QString &message);

    // Made at the first start: it connects to the sound server, which an engine that
    // only plays recordings never needs.
    std::unique_ptr<QMediaDevices> devices_;
    QAudioDevice device_;
    QAudioFormat format_;
    QAudioSource *source_ = nullptr;
    QIODevice *io_ = nullptr;
    std::unique_ptr<RateConverter> converter_;
    Sink sink_;
    std::vector<float> mono_;
    std::vector<float> converted_;
};

} // namespace digimode
