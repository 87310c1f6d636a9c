// Quality and speed of the RTTY and MFSK receivers: character error rate over a few
// hundred characters of mixed text per 1 dB of S/N (noise in 2500 Hz), with a random
// carrier offset and sample clock error, and the real-time factor of each demodulator.
//   bench_fsk [--trials N] [--mode rtty45|rtty50|rtty75|mfsk16|mfsk8|mfsk32] [--from DB --to DB]
#include "Channel.h"
#include "Demodulator.h"
#include "MfskModulator.h"
#include "RttyModulator.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using digimode::Sideband;

struct Mode {
    const char *name;
    bool rtty;
    double baud;
    double firstSnr, lastSnr;
    double offsetHz; // carrier offsets drawn from +- this
    double goalSnr;  // the S/N at which 2 % CER is wanted; 0 for none
};

const Mode kModes[] = {
    {"rtty45", true, 45.45, -9.0, -4.0, 30.0, -6.0},
    {"rtty50", true, 50.0, -10.0, -2.0, 30.0, 0.0},
    {"rtty75", true, 75.0, -8.0, 0.0, 30.0, 0.0},
    {"mfsk16", false, 15.625, -17.0, -10.0, 5.0, -13.5},
    {"mfsk8", false, 7.8125, -20.0, -12.0, 2.5, 0.0},
    {"mfsk32", false, 31.25, -14.0, -6.0, 10.0, 0.0},
};

// Mixed text of a contest and a chat: calls, reports, numbers, words, punctuation.
std::string text(bool rtty, std::mt19937 &rng)
{
    static const char *words[] = {"CQ", "TEST", "DE", "UA1XYZ", "DL2ABC", "K", "599", "5NN", "001", "017",
                                  "TU", "73", "RR", "QSL?", "NAME", "IS", "OP", "the", "quick", "brown",
                                  "fox", "jumps", "over", "lazy", "dog", "weather", "here", "is", "sunny,",
                                  "temp", "-5", "C.", "rig", "ant", "dipole", "pwr", "100W", "GL", "QRZ?", "/P"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(words) - 1);
    std::string t;
    while (t.size() < 300) {
        std::string w = words[pick(rng)];
        if (rtty)
            for (char &c : w)
                c = char(std::toupper(static_cast<unsigned char>(c)));
        t += w;
        t += ' ';
    }
    return t;
}

std::unique_ptr<digimode::Demodulator> receiver(const Mode &mode, Sideband sideband)
{
    auto rx = mode.rtty ? digimode::makeRttyDemodulator(sideband) : digimode::makeMfskDemodulator(sideband);
    rx->setSpeed(mode.baud);
    rx->setCarrier(1500.0);
    rx->setAfc(true);
    return rx;
}

std::vector<float> transmit(const Mode &mode, const std::string &t, double carrier, Sideband sideband)
{
    if (mode.rtty) {
        testsignal::RttySettings s;
        s.baud = mode.baud;
        s.carrier = carrier;
        s.sideband = sideband;
        return testsignal::rttySignal(t, s);
    }
    testsignal::MfskSettings s;
    s.baud = mode.baud;
    s.carrier = carrier;
    s.sideband = sideband;
    return testsignal::mfskSignal(t, s);
}

struct Point {
    double cer;
    double snrEstimate;
};

Point measure(const Mode &mode, double snr, int trials, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> offset(-mode.offsetHz, mode.offsetHz);
    std::uniform_real_distribution<double> ppm(-200.0, 200.0);
    std::size_t errors = 0, sent = 0;
    double estimate = 0.0;
    for (int trial = 0; trial < trials; ++trial) {
        const Sideband sideband = trial % 2 ? Sideband::Lower : Sideband::Upper;
        const std::string t = text(mode.rtty, rng);
        auto samples = testsignal::withClockError(transmit(mode, t, 1500.0 + offset(rng), sideband), ppm(rng));
        testsignal::addNoise(samples, snr, rng());
        auto rx = receiver(mode, sideband);
        std::string got;
        rx->setCharSink([&got](unsigned char c) { got += char(c); });
        rx->process(samples.data(), samples.size());
        errors += std::size_t(testsignal::characterErrorRate(t, got) * double(t.size()) + 0.5);
        sent += t.size();
        estimate += rx->signalToNoiseDb();
    }
    return {double(errors) / double(sent), estimate / trials};
}

double realTimeFactor(const Mode &mode)
{
    std::mt19937 rng(99);
    std::string t;
    auto samples = transmit(mode, text(mode.rtty, rng), 1500.0, Sideband::Upper);
    testsignal::addNoise(samples, 0.0, 5);
    auto rx = receiver(mode, Sideband::Upper);
    rx->setCharSink([](unsigned char) {});
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < samples.size(); i += 512)
        rx->process(samples.data() + i, std::min<std::size_t>(512, samples.size() - i));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return double(samples.size()) / digimode::kSampleRate / seconds;
}

} // namespace

int main(int argc, char **argv)
{
    int trials = 2;
    const char *only = nullptr;
    double from = 0.0, to = 0.0;
    bool range = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--trials") && i + 1 < argc)
            trials = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--mode") && i + 1 < argc)
            only = argv[++i];
        else if (!std::strcmp(argv[i], "--from") && i + 1 < argc)
            from = std::atof(argv[++i]), range = true;
        else if (!std::strcmp(argv[i], "--to") && i + 1 < argc)
            to = std::atof(argv[++i]), range = true;
        else {
            std::fprintf(stderr, "usage: %s [--trials N] [--mode NAME] [--from DB --to DB]\n", argv[0]);
            return 2;
        }
    }
    std::printf("Character error rate, %d x 300 characters per point, offsets at random, "
                "clock error at random within +-200 ppm, both sidebands\n\n", trials);
    for (const Mode &mode : kModes) {
        if (only && std::strcmp(only, mode.name))
            continue;
        std::printf("%s (carrier offset within +-%.1f Hz)\n  S/N dB   CER      S/N estimate\n", mode.name, mode.offsetHz);
        double previousSnr = 0.0, previousCer = 1.0;
        double crossing = 0.0;
        bool crossed = false, below = false;
        const double first = range ? from : mode.firstSnr, last = range ? to : mode.lastSnr;
        for (double snr = first; snr <= last + 1e-9; snr += 1.0) {
            const Point p = measure(mode, snr, trials, std::uint32_t(1000 + snr * 10));
            std::printf("  %6.1f   %6.2f %%  %6.1f\n", snr, 100.0 * p.cer, p.snrEstimate);
            if (!crossed && p.cer <= 0.02 && snr == first)
                below = crossed = true, crossing = first;
            if (!crossed && p.cer <= 0.02) {
                // Where the error rate falls through 2 %, between this point and the last.
                const double f = previousCer > p.cer ? (previousCer - 0.02) / (previousCer - p.cer) : 1.0;
                crossing = previousSnr + f * (snr - previousSnr);
                crossed = true;
            }
            previousSnr = snr;
            previousCer = p.cer;
        }
        if (below)
            std::printf("  2 %% CER at or below %.1f dB, the first point", crossing);
        else if (crossed)
            std::printf("  2 %% CER at %.1f dB", crossing);
        else
            std::printf("  2 %% CER not reached");
        if (mode.goalSnr != 0.0)
            std::printf(" (goal %.1f dB: %s)", mode.goalSnr, crossed && crossing <= mode.goalSnr ? "met" : "missed");
        std::printf("\n  real-time factor of the demodulator alone: %.0fx\n\n", realTimeFactor(mode));
        std::fflush(stdout);
    }
    return 0;
}
