// CER tables of the PSK modes. Run by hand: bench-bin/orvo_bench_psk_cer [trials [MODE]]
// (about ten minutes on one core with the default 8 trials).
#include "CerSweep.h"
#include "PskModulator.h"

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    bench::CerOptions options;
    options.trials = 8;   // 2700 characters a step: fewer leave a single bad start decisive
    if (argc > 1)
        options.trials = std::max(1, std::atoi(argv[1]));

    struct Mode {
        const char *name;
        bool quadrature;
        bool quarterTurnsReversed;   // QPSK from a sender on the other sideband
        double baud;
        double goal;
        double from, to;
    };
    const Mode modes[] = {
        {"BPSK31", false, false, 31.25, -12.0, -16.0, -6.0},
        {"BPSK63", false, false, 62.5, -9.0, -13.0, -3.0},
        {"BPSK125", false, false, 125.0, -6.0, -10.0, 0.0},
        {"QPSK31", true, false, 31.25, -11.0, -16.0, -6.0},
        {"QPSK31-reversed", true, true, 31.25, -11.0, -16.0, -6.0},
        {"QPSK63", true, false, 62.5, -8.0, -13.0, -3.0},
        {"QPSK125", true, false, 125.0, -5.0, -10.0, 0.0},
    };
    for (const Mode &m : modes) {
        if (argc > 2 && std::strcmp(argv[2], m.name) != 0)
            continue;
        bench::CerCase c;
        c.name = m.name;
        c.goalDb = m.goal;
        c.transmit = [m](const std::string &text, double carrierHz) {
            testsignal::PskSignal s;
            s.carrierHz = carrierHz;
            s.baud = m.baud;
            s.quadrature = m.quadrature;
            s.quarterTurnsReversed = m.quarterTurnsReversed;
            s.idleSeconds = 64.0 / m.baud;   // 64 idle symbols to acquire on, as a real over lasts
            return testsignal::modulatePsk(text, s);
        };
        c.receiver = [m] {
            auto d = digimode::makePskDemodulator(m.quadrature);
            d->setSpeed(m.baud);
            return d;
        };
        options.fromDb = m.from;
        options.toDb = m.to;
        bench::runCerSweep(c, options);
    }
    return 0;
}
