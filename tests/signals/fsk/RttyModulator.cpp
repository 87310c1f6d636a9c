#include "RttyModulator.h"

#include "Baudot.h"
#include "Channel.h"

#include <cmath>

namespace testsignal {

using digimode::baudot::Case;

std::vector<unsigned> rttyCodes(const std::string &text)
{
    namespace baudot = digimode::baudot;
    std::vector<unsigned> codes;
    bool figures = false;
    for (char c : text) {
        const auto code = baudot::encode(c);
        if (!code)
            continue;
        if (code->shift == Case::Figures && !figures) {
            codes.push_back(baudot::kFigures);
            figures = true;
        } else if (code->shift == Case::Letters && figures) {
            codes.push_back(baudot::kLetters);
            figures = false;
        }
        codes.push_back(code->code);
        if (code->code == baudot::kSpace)
            figures = false;
    }
    return codes;
}

std::vector<float> rttySignal(const std::string &text, const RttySettings &settings)
{
    namespace baudot = digimode::baudot;
    std::vector<unsigned> codes(std::size_t(settings.idleBefore), baudot::kLetters);
    const auto body = rttyCodes(text);
    codes.insert(codes.end(), body.begin(), body.end());
    codes.insert(codes.end(), std::size_t(settings.idleAfter), baudot::kLetters);

    // Each character: start bit (space), five data bits from the least significant, stop.
    const double bitsPerCharacter = 6.0 + settings.stopBits;
    const double seconds = double(codes.size()) * bitsPerCharacter / settings.baud;
    const auto count = std::size_t(std::ceil(seconds * kSampleRate));
    const double markOffset = settings.sideband == digimode::Sideband::Upper ? 85.0 : -85.0;
    std::vector<float> out(count);
    double phase = 0.0;
    for (std::size_t n = 0; n < count; ++n) {
        const double bits = double(n) * settings.baud / kSampleRate;
        auto character = std::size_t(bits / bitsPerCharacter);
        if (character >= codes.size())
            character = codes.size() - 1;
        const auto bit = int(bits - double(character) * bitsPerCharacter);
        bool mark = true;
        if (bit == 0)
            mark = false;
        else if (bit <= 5)
            mark = (codes[character] >> (bit - 1)) & 1u;
        const double hz = settings.carrier + (mark ? markOffset : -markOffset);
        out[n] = settings.amplitude * float(std::sin(phase));
        phase = std::fmod(phase + 2.0 * M_PI * hz / kSampleRate, 2.0 * M_PI);
    }
    return out;
}

} // namespace testsignal
