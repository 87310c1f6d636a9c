// The decoder engine component TMMVARI: receives a digital mode from the sound card (or
// a recording), decodes it on channel 0 and reports spectrum frames, characters, speed
// and clock timing as signals on the GUI thread. View and meter find it by its handle.
#pragma once

#include "Receiver.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <memory>

namespace digimode {
class SoundCardInput;
class WaveReader;
}

class TMMVARI : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool bActive READ bActive WRITE setBActive)
    Q_PROPERTY(int dwHandle READ dwHandle CONSTANT)
    Q_PROPERTY(int wModeMax READ wModeMax CONSTANT)
    Q_PROPERTY(int nBPF READ nBPF WRITE setNBPF)
    Q_PROPERTY(QString strSoundID READ strSoundID WRITE setStrSoundID)
    Q_PROPERTY(double sampleRate READ sampleRate WRITE setSampleRate)

public:
    explicit TMMVARI(QObject *parent = nullptr);
    ~TMMVARI() override;

    // The engine a handle stands for, or null (unknown handle, engine destroyed).
    static TMMVARI *fromHandle(int handle);

    bool bActive() const { return active_; }
    // True starts receiving from the sound card strSoundID; false stops.
    void setBActive(bool on);
    int dwHandle() const { return handle_; }

    int wModeMax() const;
    QString ModeNameAt(int i) const;          // empty outside 0 .. wModeMax - 1

    // Channel properties; only channel 0 exists: other channels read as empty or 0
    // and ignore writes.
    QString ChannelMode(int ch) const;
    void setChannelMode(int ch, const QString &mode);   // unknown names are ignored
    double ChannelSpeed(int ch) const;
    void setChannelSpeed(int ch, double baud);
    int ChannelCarrier(int ch) const;                   // Hz
    void setChannelCarrier(int ch, int hz);
    int ChannelSignalToNoise(int ch) const;             // dB, noise in 2500 Hz
    int ChannelAfc(int ch) const;                       // 1 on, 0 off
    void setChannelAfc(int ch, int on);

    int nBPF() const;                                   // 0 widest .. 3 narrowest
    void setNBPF(int index);

    QString strSoundID() const { return soundId_; }
    // Takes effect at once while receiving; a text that names no device is reported
    // through OnDeviceError and leaves the engine without input, but working.
    void setStrSoundID(const QString &id);

    // The engine runs at 11025 Hz; the sound system converts whatever the card does.
    // Any other value is reported through OnDeviceError and ignored.
    double sampleRate() const;
    void setSampleRate(double hz);

    // Plays a recording through the receiver in place of the sound card (which resumes
    // afterwards if the engine is active). realTime false runs it as fast as the event
    // loop allows. Returns false, after OnDeviceError, when the file cannot be read.
    bool openWaveFile(const QString &path, bool realTime = true);
    bool isPlayingWaveFile() const { return waveTimer_.isActive(); }

    // Runs audio at 11025 Hz through the receiver at once; the signals it causes are
    // emitted before it returns.
    void feed(const float *samples, std::size_t count);

    // For the view and the meter.
    const std::vector<float> &spectrumDb() const;       // latest frame, bins from 0 Hz
    double spectrumBinHz() const;
    double inputLevel() const;                          // 0 .. 1 of full scale

signals:
    void OnDrawFFT(int wCount, const QVector<float> &pArray);
    void OnRxChar(int nIndex, const QString &strChar, int wChar);
    void OnSpeed(int nIndex, double dblSpeed);
    void OnTiming(int nIndex, int dwTiming, int wUnit);
    // A sound card or recording that cannot be used: the message says what to do.
    void OnDeviceError(const QString &message);
    // A recording opened with openWaveFile has been played to its end.
    void OnWaveFileEnd();

private:
    void startSoundCard();
    void reportError(const QString &message);
    void playWaveChunk();
    void onFrame();

    static int nextHandle_;
    const int handle_;
    bool active_ = false;
    QString soundId_ = QStringLiteral("-1");
    QString lastError_;
    digimode::Receiver receiver_;
    std::unique_ptr<digimode::SoundCardInput> soundCard_;
    std::unique_ptr<digimode::WaveReader> wave_;
    QTimer waveTimer_;
    bool waveRealTime_ = true;
    std::vector<float> waveBuffer_;
    long framesSinceTiming_ = 0;
};
