// Real-time factor of the receiver on one core: one mode's demodulator plus the
// spectrum, as the engine runs them, over a minute of noisy audio.
// Run by hand: bench-bin/orvo_bench_realtime
#include "Channel.h"
#include "PskModulator.h"
#include "Receiver.h"

#include <chrono>
#include <cstdio>

namespace {

constexpr double kSeconds = 60.0;

std::vector<float> testAudio()
{
    testsignal::PskSignal s;
    s.carrierHz = 1500.0;
    s.idleSeconds = 2.0;
    std::string text;
    while (text.size() < 300)
        text += "CQ TEST UA1ABC UA1ABC 599 001 ";
    auto audio = testsignal::modulatePsk(text, s);
    audio.resize(std::size_t(kSeconds * testsignal::kSampleRate), 0.0f);
    testsignal::addNoise(audio, -5.0, 1);
    return audio;
}

double secondsToRun(digimode::Receiver &receiver, const std::vector<float> &audio)
{
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < audio.size(); i += 1024)
        receiver.process(audio.data() + i, std::min<std::size_t>(1024, audio.size() - i));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    const auto audio = testAudio();
    struct Case {
        const char *mode;
        double speed;
    };
    const Case cases[] = {{"bpsk", 31.25}, {"bpsk", 62.5}, {"bpsk", 125.0}, {"bpsk", 250.0}, {"qpsk", 31.25},
                          {"qpsk", 62.5},  {"qpsk", 125.0}, {"qpsk", 250.0}, {"rtty-U", 45.45}, {"mfsk-U", 15.625}};
    std::printf("Real-time factor, one core, %.0f s of audio at 11025 Hz, mode + spectrum (goal >= 30x)\n", kSeconds);
    std::printf("  mode     baud     RTF\n");
    for (const Case &c : cases) {
        digimode::Receiver receiver;
        receiver.setMode(c.mode);
        receiver.demodulator().setSpeed(c.speed);
        receiver.demodulator().setCarrier(1500.0);
        receiver.setCharSink([](unsigned char) {});
        const double wall = secondsToRun(receiver, audio);
        std::printf("  %-7s %6.2f  %6.0fx\n", c.mode, c.speed, kSeconds / wall);
    }
    return 0;
}
