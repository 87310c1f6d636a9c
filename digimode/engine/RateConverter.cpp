#include "RateConverter.h"

#include "Demodulator.h"

#include <complex>
#include <liquid/liquid.h>

#include <cmath>

namespace digimode {

RateConverter::RateConverter(double inputRate)
    : inputRate_(inputRate)
{
    if (std::abs(inputRate - kSampleRate) > 1e-6)
        resampler_ = msresamp_rrrf_create(float(kSampleRate / inputRate), 60.0f);
}

RateConverter::~RateConverter()
{
    if (resampler_)
        msresamp_rrrf_destroy(resampler_);
}

void RateConverter::convert(const float *samples, std::size_t count, std::vector<float> &out)
{
    if (!resampler_) {
        out.insert(out.end(), samples, samples + count);
        return;
    }
    input_.assign(samples, samples + count);
    const std::size_t start = out.size();
    out.resize(start + msresamp_rrrf_get_num_output(resampler_, unsigned(count)) + 8);
    unsigned produced = 0;
    msresamp_rrrf_execute(resampler_, input_.data(), unsigned(count), out.data() + start, &produced);
    out.resize(start + produced);
}

} // namespace digimode
