// The seam between the receive engine and its modems: one demodulator per mode family,
// fed with real audio samples at the engine's rate, handing out decoded bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace digimode {

// Every modem runs at this rate; sound card and WAV input are resampled to it.
constexpr double kSampleRate = 11025.0;

class Demodulator {
public:
    // One decoded character: a byte in the mode's own character set (varicode and
    // MFSK varicode reach 0..255, Baudot decodes to ASCII). 13 is a line end, 8 an erase.
    using CharSink = std::function<void(unsigned char)>;

    virtual ~Demodulator() = default;

    void setCharSink(CharSink sink) { charSink_ = std::move(sink); }

    // The carrier is the centre of the signal in audio Hz (for FSK modes the middle of
    // the tone set). With AFC on, carrier() follows the signal.
    virtual void setCarrier(double hz) = 0;
    virtual double carrier() const = 0;
    virtual void setSpeed(double baud) = 0;
    virtual double speed() const = 0;
    virtual void setAfc(bool on) = 0;
    // Receive band-pass around the carrier: 0 widest .. 3 narrowest.
    virtual void setFilter(int index) = 0;

    virtual void process(const float *samples, std::size_t count) = 0;

    // Honest estimates: signal power over noise power in 2500 Hz, and the sample clock
    // error that symbol timing recovery has measured (positive: the signal arrives stretched,
    // the sender's clock slow against the sound card's).
    virtual double signalToNoiseDb() const = 0;
    virtual double clockErrorPpm() const = 0;

    // Forget the signal (new carrier or mode): timing, AFC and decoder state start afresh.
    virtual void reset() = 0;

protected:
    void emitChar(unsigned char c) const
    {
        if (charSink_)
            charSink_(c);
    }

private:
    CharSink charSink_;
};

// The modem families; each factory lives beside its modem.
enum class Sideband { Lower, Upper };
std::unique_ptr<Demodulator> makePskDemodulator(bool quadrature);   // "bpsk", "qpsk"
std::unique_ptr<Demodulator> makeRttyDemodulator(Sideband sideband); // "rtty-L", "rtty-U"
std::unique_ptr<Demodulator> makeMfskDemodulator(Sideband sideband); // "mfsk-L", "mfsk-U"

} // namespace digimode
