// One receive channel without any Qt: the mode's demodulator, the spectrum and the
// input level, fed with audio at 11025 Hz. The engine component and orvo-decode both
// run on it.
#pragma once

#include "Demodulator.h"
#include "Spectrum.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace digimode {

struct ModeInfo {
    std::string name;        // as the engine spells it: "bpsk", "rtty-U", ...
    double defaultSpeed;     // baud
};

// The modes the engine offers, in the order it lists them.
const std::vector<ModeInfo> &modeList();
const ModeInfo *findMode(const std::string &name);

class Receiver {
public:
    using FrameSink = std::function<void()>;

    Receiver();

    // Switches the demodulator; carrier, AFC and filter carry over; the speed too within
    // a family (bpsk/qpsk, the two sidebands), else it becomes the new mode's usual one.
    // Returns false (and changes nothing) for an unknown name.
    bool setMode(const std::string &name);
    const std::string &mode() const { return mode_; }
    Demodulator &demodulator() { return *demodulator_; }
    const Demodulator &demodulator() const { return *demodulator_; }

    // AFC and filter are kept here too, since a new mode's demodulator inherits them.
    void setAfc(bool on);
    bool afc() const { return afc_; }
    void setFilter(int index);
    int filter() const { return filter_; }

    void setCharSink(Demodulator::CharSink sink);
    void setFrameSink(FrameSink sink) { frameSink_ = std::move(sink); }

    // Samples outside +-1 are taken as they come (clipping is the sound card's business),
    // but anything that is not a finite number is replaced by silence first.
    void process(const float *samples, std::size_t count);

    // Plays silence through the receiver for as long as its decoders lag behind (QPSK's
    // Viterbi window is 2.6 s at 31.25 baud), so a recording that stops right after
    // its last character still prints it.
    void drain();
    static constexpr double kDrainSeconds = 4.0;

    const Spectrum &spectrum() const { return spectrum_; }
    // Input peak level, 0..1 (full scale), falling back slowly like a meter's needle.
    double inputLevel() const { return level_; }

private:
    std::string mode_;
    std::unique_ptr<Demodulator> demodulator_;
    Demodulator::CharSink charSink_;
    FrameSink frameSink_;
    Spectrum spectrum_;
    std::vector<float> clean_;
    double level_ = 0.0;
    bool afc_ = true;
    int filter_ = 0;
};

} // namespace digimode
