#include "PskModulator.h"

#include "QpskCode.h"
#include "PulseShape.h"
#include "Varicode.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace testsignal {
namespace {

std::vector<bool> bitsOf(const std::string &text, int idleBits)
{
    std::vector<bool> bits(std::size_t(idleBits), false);
    for (unsigned char c : text) {
        for (char b : digimode::varicode::code(c))
            bits.push_back(b == '1');
        bits.push_back(false);
        bits.push_back(false);
    }
    bits.insert(bits.end(), std::size_t(idleBits), false);
    return bits;
}

// Each symbol's carrier phasor: differential, so a symbol is the previous one turned by
// the phase change its bit (BPSK) or its two code bits (QPSK) stand for.
std::vector<std::complex<double>> symbolsOf(const std::vector<bool> &bits, const PskSignal &signal)
{
    std::vector<std::complex<double>> symbols;
    symbols.reserve(bits.size());
    std::complex<double> current(1.0, 0.0);
    digimode::ConvolutionalEncoder encoder;
    for (bool bit : bits) {
        if (signal.quadrature) {
            const auto code = encoder.push(bit);
            // 11: 0 deg, 10: +90, 00: 180, 01: -90.
            const std::complex<double> turn = code[0] ? (code[1] ? std::complex<double>(1, 0) : std::complex<double>(0, 1))
                                                      : (code[1] ? std::complex<double>(0, -1) : std::complex<double>(-1, 0));
            current *= signal.quarterTurnsReversed ? std::conj(turn) : turn;
        } else if (!bit) {
            current = -current;
        }
        symbols.push_back(current);
    }
    return symbols;
}

} // namespace

std::vector<float> modulatePsk(const std::string &text, const PskSignal &signal)
{
    const int idleBits = int(std::lround(signal.idleSeconds * signal.baud));
    const auto symbols = symbolsOf(bitsOf(text, idleBits), signal);
    const double samplesPerSymbol = signal.sampleRate / signal.baud;
    // The first pulse starts a symbol before its centre; so does the signal.
    const auto length = std::size_t(std::ceil((double(symbols.size()) + 1.0) * samplesPerSymbol));
    std::vector<float> out(length);
    const double w = 2.0 * std::numbers::pi * signal.carrierHz / signal.sampleRate;
    for (std::size_t n = 0; n < length; ++n) {
        const double t = double(n) / samplesPerSymbol - 1.0;   // in symbols, centre of symbol 0 at 0
        const auto k0 = long(std::floor(t));
        std::complex<double> envelope;
        for (long k = k0; k <= k0 + 1; ++k)
            if (k >= 0 && k < long(symbols.size()))
                envelope += symbols[std::size_t(k)] * digimode::pskPulse(t - double(k));
        const std::complex<double> carrier(std::cos(w * double(n)), std::sin(w * double(n)));
        out[n] = float(signal.amplitude * (envelope * carrier).real());
    }
    return out;
}

} // namespace testsignal
