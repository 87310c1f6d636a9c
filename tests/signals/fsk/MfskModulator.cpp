#include "MfskModulator.h"

#include "Channel.h"
#include "ConvolutionalCode.h"
#include "DiagonalInterleaver.h"
#include "MfskMode.h"
#include "MfskVaricode.h"

#include <cmath>

namespace testsignal {

using namespace digimode::mfsk;

std::vector<int> mfskTones(const std::string &text, const MfskSettings &settings)
{
    const MfskMode mode = mfskMode(settings.baud);
    std::vector<int> data;
    auto sendCode = [&data](unsigned char c) {
        const VaricodeEntry e = varicode(c);
        for (int i = e.length - 1; i >= 0; --i)
            data.push_back((e.bits >> i) & 1);
    };
    auto idle = [&](int symbols) {
        const std::size_t until = data.size() + std::size_t(symbols * mode.bitsPerSymbol / 2);
        while (data.size() < until)
            sendCode(0);
    };
    idle(settings.idleSymbols);
    for (char c : text)
        sendCode(static_cast<unsigned char>(c));
    // A receiver knows a code has ended when the next one begins; idle long enough to
    // push the last character through the interleaver's spread and the decoder's
    // look-ahead, and as long again for a receiver that waits before it shows a character.
    const int decoderBits = 2 * ViterbiDecoder::delay();
    idle((mode.bitsPerSymbol - 1) * mode.interleaverDepth + 2 * decoderBits / mode.bitsPerSymbol + 24);

    // The preamble is the encoder's output for zeros: the lowest tone.
    std::vector<int> code(std::size_t(2 * settings.preambleSymbols * mode.bitsPerSymbol / 2), 0);
    ConvolutionalEncoder encoder;
    for (int bit : data) {
        const auto pair = encoder.encode(bit);
        code.push_back(pair[0]);
        code.push_back(pair[1]);
    }
    while (code.size() % std::size_t(mode.bitsPerSymbol) != 0)
        code.push_back(0);

    DiagonalInterleaver<int> interleaver(mode.bitsPerSymbol, mode.interleaverDepth,
                                         DiagonalInterleaver<int>::Direction::Interleave);
    std::vector<int> tones;
    std::vector<int> symbol(std::size_t(mode.bitsPerSymbol));
    for (std::size_t i = 0; i < code.size(); i += std::size_t(mode.bitsPerSymbol)) {
        std::copy(code.begin() + std::ptrdiff_t(i), code.begin() + std::ptrdiff_t(i) + mode.bitsPerSymbol,
                  symbol.begin());
        interleaver.process(symbol.data());
        int value = 0;
        for (int b : symbol)
            value = (value << 1) | b;
        tones.push_back(grayEncode(value));
    }
    return tones;
}

std::vector<float> mfskSignal(const std::string &text, const MfskSettings &settings)
{
    const MfskMode mode = mfskMode(settings.baud);
    const auto tones = mfskTones(text, settings);
    const double direction = settings.sideband == digimode::Sideband::Upper ? 1.0 : -1.0;
    const auto count = std::size_t(std::ceil(double(tones.size()) / mode.baud * kSampleRate));
    std::vector<float> out(count);
    double phase = 0.0;
    for (std::size_t n = 0; n < count; ++n) {
        auto symbol = std::size_t(double(n) * mode.baud / kSampleRate);
        if (symbol >= tones.size())
            symbol = tones.size() - 1;
        const double offset = (tones[symbol] - 0.5 * (mode.tones - 1)) * mode.baud;
        const double hz = settings.carrier + direction * offset;
        out[n] = settings.amplitude * float(std::sin(phase));
        phase = std::fmod(phase + 2.0 * M_PI * hz / kSampleRate, 2.0 * M_PI);
    }
    return out;
}

} // namespace testsignal
