// RTTY receiver: 170 Hz shift FSK, 1 start bit, 5 data bits, 1 to 2 stop bits, ITA2.
#pragma once

#include "Baudot.h"
#include "Demodulator.h"

namespace digimode {

class RttyDemodulator : public Demodulator {
public:
    explicit RttyDemodulator(Sideband sideband);
    ~RttyDemodulator() override;

    void setCarrier(double hz) override;
    double carrier() const override;
    void setSpeed(double baud) override;
    double speed() const override { return baud_; }
    void setAfc(bool on) override { afc_ = on; }
    void setFilter(int index) override;
    void process(const float *samples, std::size_t count) override;
    double signalToNoiseDb() const override { return 0.0; }
    double clockErrorPpm() const override { return 0.0; }
    void reset() override;

private:
    Sideband sideband_;
    double carrier_ = 1500.0;
    double baud_ = 45.45;
    bool afc_ = true;
    int filter_ = 0;
    baudot::Decoder decoder_;
};

} // namespace digimode
