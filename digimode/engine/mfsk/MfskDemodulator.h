// MFSK8, MFSK16 and MFSK32: incoherent multi-tone FSK with a K=7 rate-1/2 code, a
// diagonal bit interleaver and the IZ8BLY varicode.
#pragma once

#include "Demodulator.h"

namespace digimode {

class MfskDemodulator : public Demodulator {
public:
    explicit MfskDemodulator(Sideband sideband);

    void setCarrier(double hz) override { carrier_ = hz; }
    double carrier() const override { return carrier_; }
    void setSpeed(double baud) override { speed_ = baud; }
    double speed() const override { return speed_; }
    void setAfc(bool on) override { afc_ = on; }
    void setFilter(int index) override { filter_ = index; }
    void process(const float *, std::size_t) override {}
    double signalToNoiseDb() const override { return -30.0; }
    double clockErrorPpm() const override { return 0.0; }
    void reset() override {}

private:
    Sideband sideband_;
    double carrier_ = 1500.0;
    double speed_ = 15.625;
    bool afc_ = true;
    int filter_ = 0;
};

} // namespace digimode
