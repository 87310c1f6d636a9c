#include "CerSweep.h"

#include "Channel.h"

#include <cstdio>
#include <random>

namespace bench {

std::string mixedText()
{
    return "CQ CQ TEST DE UA1ABC UA1ABC K\r"
           "UA1ABC DE DL2XYZ 599 014 014 BK\r"
           "R TU 599 027 027 73 GL\r"
           "hello Joe, the band is wide open tonight, 20 watts into a dipole at 12 m.\r"
           "RN3DEF/P 5NN 123 QTH Moscow, loc KO85, name Sergey?\r"
           "vy 73 & tnx fer QSO; pse QSL via bureau (or direct): 1-2-3 #45 @home\r"
           "K1ABC VE3XYZ JA1ZZZ 9A2AA LZ1QQ OH2BH 4X4NJ EA8ZZ W9RE VK2ABC\r";
}

double runCerSweep(const CerCase &c, const CerOptions &options)
{
    const std::string text = mixedText();
    std::printf("%s: CER over %zu characters x %d trials (random carrier 800-2200 Hz, "
                "tuning error up to +-%.0f Hz, AFC on, clock +-200 ppm)\n",
                c.name.c_str(), text.size(), options.trials, options.tuningErrorHz);
    std::printf("  SNR dB   CER %%\n");
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> carrier(800.0, 2200.0), tuning(-options.tuningErrorHz, options.tuningErrorHz),
        clock(-200.0, 200.0);
    double threshold = options.toDb + 1.0;
    bool allGood = true;
    std::vector<std::pair<double, double>> rows;
    for (double snr = options.fromDb; snr <= options.toDb + 1e-9; snr += 1.0) {
        std::size_t errors = 0, sent = 0;
        for (int t = 0; t < options.trials; ++t) {
            const double f = carrier(rng);
            auto audio = c.transmit(text, f);
            testsignal::addNoise(audio, snr, rng());
            audio = testsignal::withClockError(audio, clock(rng));
            auto demodulator = c.receiver();
            demodulator->setCarrier(f + tuning(rng));
            demodulator->setAfc(true);
            std::string received;
            demodulator->setCharSink([&](unsigned char ch) { received.push_back(char(ch)); });
            for (std::size_t i = 0; i < audio.size(); i += 1024)
                demodulator->process(audio.data() + i, std::min<std::size_t>(1024, audio.size() - i));
            // Silence after the transmission lets the decoders' delay run out.
            const auto quiet = testsignal::silence(4.0);
            demodulator->process(quiet.data(), quiet.size());
            errors += std::size_t(testsignal::characterErrorRate(text, received) * double(text.size()) + 0.5);
            sent += text.size();
        }
        const double cer = double(errors) / double(sent);
        rows.emplace_back(snr, cer);
        std::printf("  %6.1f  %6.2f\n", snr, 100.0 * cer);
        std::fflush(stdout);
    }
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (it->second > 0.02)
            break;
        threshold = it->first;
    }
    allGood = threshold <= c.goalDb;
    std::printf("  %s: 2 %% CER reached at %.1f dB (goal %.1f dB): %s\n\n", c.name.c_str(), threshold, c.goalDb,
                allGood ? "met" : "missed");
    return threshold;
}

} // namespace bench
