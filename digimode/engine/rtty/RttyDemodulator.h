// RTTY receiver: 170 Hz shift FSK, 1 start bit, 5 data bits, 1 to 2 stop bits, ITA2.
#pragma once

#include "Baudot.h"
#include "Demodulator.h"
#include "FskDiscriminator.h"
#include "StartStopFramer.h"
#include "ToneSpectrum.h"

#include <array>
#include <complex>
#include <vector>

struct nco_crcf_s;
struct firdecim_crcf_s;
struct firfilt_crcf_s;

namespace digimode {

class RttyDemodulator : public Demodulator {
public:
    explicit RttyDemodulator(Sideband sideband);
    ~RttyDemodulator() override;
    RttyDemodulator(const RttyDemodulator &) = delete;
    RttyDemodulator &operator=(const RttyDemodulator &) = delete;

    void setCarrier(double hz) override;
    double carrier() const override { return carrier_ + afcOffset_; }
    void setSpeed(double baud) override;
    double speed() const override { return baud_; }
    void setAfc(bool on) override { afc_ = on; }
    void setFilter(int index) override;
    void process(const float *samples, std::size_t count) override;
    double signalToNoiseDb() const override;
    double clockErrorPpm() const override { return framer_.clockErrorPpm(); }
    void reset() override;

private:
    void configure();
    void designBandPass();
    void processDecimated(std::complex<float> y);
    void followTones();

    Sideband sideband_;
    double carrier_ = 1500.0;
    double afcOffset_ = 0.0;
    double baud_ = 45.45;
    bool afc_ = true;
    int filter_ = 0;

    nco_crcf_s *mixer_ = nullptr;     // audio carrier to zero
    firdecim_crcf_s *decimator_ = nullptr;
    std::array<std::complex<float>, 8> pending_{};
    std::size_t pendingCount_ = 0;
    nco_crcf_s *afcMixer_ = nullptr;  // the AFC's correction, at the decimated rate
    firfilt_crcf_s *bandPass_ = nullptr;
    std::size_t bandPassTaps_ = 0;
    std::size_t warmUp_ = 0;

    rtty::ToneSpectrum spectrum_;
    rtty::FskDiscriminator discriminator_;
    rtty::StartStopFramer framer_;
    baudot::Decoder decoder_;
};

} // namespace digimode
