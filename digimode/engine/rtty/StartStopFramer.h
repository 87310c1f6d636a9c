// Start-stop character timing: finds the mark-to-space edge of each start bit in the
// soft decisions, samples the five data bits in their centres and checks the stop bit.
// Each character's timing is refined from all of its bit transitions, and back-to-back
// characters keep a steady rhythm, so the edge the rhythm predicts is weighed in too;
// once steady, the rhythm carries over start and stop bits that noise has spoilt. The
// rhythm also measures the sender's clock.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace digimode::rtty {

class StartStopFramer {
public:
    // samplesPerBit at the rate of the soft decisions, for an exact clock: the clock
    // error is measured against it.
    void configure(double samplesPerBit);
    void reset();

    // One soft decision in (above zero mark); the five-bit code when a character ends.
    std::optional<unsigned> push(float v);

    // Measured over runs of back-to-back characters; positive when the characters come
    // further apart than the clock of this receiver says they should.
    double clockErrorPpm() const;

private:
    struct Frame {
        bool valid = false;
        unsigned code = 0;
        bool bits[7] = {}; // start, five data bits, stop: true for mark
    };

    float at(double t) const;
    float sample(std::int64_t i) const { return history_[std::size_t(i) % history_.size()]; }
    Frame read(double crossing) const;
    std::optional<double> crossingNear(double t, bool falling) const;
    std::optional<unsigned> evaluate(double crossing);
    std::optional<unsigned> coast(double start);
    void measureRhythm(double crossing);

    double bit_ = 1.0;
    std::vector<float> history_;
    std::int64_t now_ = -1; // index of the newest decision
    std::int64_t scan_ = 1; // next index whose step from the one before is examined
    struct Candidate {
        double at;
        bool flywheel; // placed by the rhythm, not by a crossing
    };
    std::optional<Candidate> candidate_;

    // Rhythm of the previous character: its measured and its used crossing.
    std::optional<double> lastMeasured_;
    double lastUsed_ = 0.0;
    double period_ = 7.5; // characters apart, in bits
    double otherHalves_ = 0.0; // a spacing that disagreed with the rhythm, waiting for a second
    int rhythm_ = 0;      // characters in a row that kept it
    int quietStarts_ = 0; // characters in a row the rhythm placed on a start bit in mark
    // Clock measurement: deviations of character spacings from whole half-bit counts.
    double deviation_ = 0.0;
    double nominal_ = 0.0;
};

} // namespace digimode::rtty
