// orvo-decode: decodes a recording with the receive engine and prints the text.
//   orvo-decode FILE --mode bpsk --speed 31.25 [--carrier HZ] [--afc on|off] [--filter N] [--readouts]
#include "Receiver.h"
#include "Spectrum.h"
#include "WaveReader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cmath>
#include <cstdio>

namespace {

constexpr std::size_t kChunk = 8192;

int usageError(const QString &message)
{
    std::fprintf(stderr, "orvo-decode: %s\nTry 'orvo-decode --help'.\n", qPrintable(message));
    return 2;
}

// How wide a signal of the mode is, to find its centre in the spectrum.
double signalWidthHz(const std::string &mode, double speed)
{
    if (mode.rfind("rtty", 0) == 0)
        return 170.0 + 2.0 * speed;
    if (mode.rfind("mfsk", 0) == 0)
        return 16.0 * speed;
    return 2.0 * speed;
}

// The recording's strongest signal between 200 and 3000 Hz, from its mean spectrum.
bool findStrongest(const QString &path, const std::string &mode, double speed, double &carrier, QString &error)
{
    digimode::WaveReader reader;
    if (!reader.open(path, &error))
        return false;
    digimode::Spectrum spectrum;
    std::vector<float> audio;
    while (true) {
        audio.clear();
        const bool more = reader.read(kChunk, audio);
        spectrum.push(audio.data(), audio.size(), [] {});
        if (!more)
            break;
    }
    carrier = digimode::strongestSignalHz(spectrum.averagePower(), digimode::Spectrum::binHz(), 200.0, 3000.0,
                                          signalWidthHz(mode, speed));
    return true;
}

void printChar(unsigned char c)
{
    if (c == 13)
        std::fputc('\n', stdout);
    else if (c == 10 || (c < 32 && c != 9) || c == 127)
        return;   // a line end comes as CR; other control characters print nothing
    else
        std::fputs(QString(QChar(char16_t(c))).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvo-decode"));

    QStringList modes;
    for (const auto &m : digimode::modeList())
        modes << QString::fromStdString(m.name);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Decodes a digital-mode recording (WAV or any sound file, any sample rate) with the "
                       "ORVO receive engine and prints the text on standard output."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("Mode: %1.").arg(modes.join(", ")),
                                  QStringLiteral("MODE"), QStringLiteral("bpsk"));
    const QCommandLineOption speed(QStringLiteral("speed"),
                                   QStringLiteral("Speed in baud (default: the mode's usual one)."), QStringLiteral("BAUD"));
    const QCommandLineOption carrier(QStringLiteral("carrier"),
                                     QStringLiteral("Carrier in Hz (default: the strongest signal of the recording)."),
                                     QStringLiteral("HZ"));
    const QCommandLineOption afc(QStringLiteral("afc"), QStringLiteral("Automatic frequency control, on or off (default on)."),
                                 QStringLiteral("on|off"), QStringLiteral("on"));
    const QCommandLineOption filter(QStringLiteral("filter"),
                                    QStringLiteral("Receive filter 0 (widest) to 3 (narrowest), default 0."),
                                    QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption readouts(QStringLiteral("readouts"),
                                      QStringLiteral("After the text, print carrier, S/N and clock offset."));
    parser.addOptions({help, mode, speed, carrier, afc, filter, readouts});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The recording to decode."));

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return usageError(files.isEmpty() ? QStringLiteral("name one recording to decode.")
                                          : QStringLiteral("name only one recording, not %1.").arg(files.size()));

    const std::string modeName = parser.value(mode).toStdString();
    const digimode::ModeInfo *info = digimode::findMode(modeName);
    if (!info)
        return usageError(QStringLiteral("unknown mode '%1'; choose one of %2.").arg(parser.value(mode), modes.join(", ")));

    double baud = info->defaultSpeed;
    if (parser.isSet(speed)) {
        bool ok = false;
        baud = parser.value(speed).toDouble(&ok);
        if (!ok || !std::isfinite(baud) || baud <= 0.0 || baud > 1000.0)
            return usageError(QStringLiteral("'%1' is no speed in baud (for example 31.25).").arg(parser.value(speed)));
    }
    bool afcOn = true;
    if (parser.value(afc) == QLatin1String("off"))
        afcOn = false;
    else if (parser.value(afc) != QLatin1String("on"))
        return usageError(QStringLiteral("--afc takes on or off, not '%1'.").arg(parser.value(afc)));
    bool ok = false;
    const int filterIndex = parser.value(filter).toInt(&ok);
    if (!ok || filterIndex < 0 || filterIndex > 3)
        return usageError(QStringLiteral("--filter takes 0, 1, 2 or 3, not '%1'.").arg(parser.value(filter)));

    double carrierHz = 0.0;
    QString error;
    if (parser.isSet(carrier)) {
        carrierHz = parser.value(carrier).toDouble(&ok);
        if (!ok || !std::isfinite(carrierHz) || carrierHz <= 0.0 || carrierHz >= digimode::kSampleRate / 2.0)
            return usageError(QStringLiteral("'%1' is no carrier frequency in Hz (0 to 5512).").arg(parser.value(carrier)));
    } else if (!findStrongest(files.first(), modeName, baud, carrierHz, error)) {
        std::fprintf(stderr, "orvo-decode: %s\n", qPrintable(error));
        return 1;
    }

    digimode::WaveReader reader;
    if (!reader.open(files.first(), &error)) {
        std::fprintf(stderr, "orvo-decode: %s\n", qPrintable(error));
        return 1;
    }
    digimode::Receiver receiver;
    receiver.setMode(modeName);
    receiver.demodulator().setSpeed(baud);
    receiver.setFilter(filterIndex);
    receiver.setAfc(afcOn);
    receiver.demodulator().setCarrier(carrierHz);
    // The readouts are those of the moment the last character came, while the signal
    // was there (at the end of a recording the receiver hears only its fading tail).
    struct Readout {
        double carrier = 0.0, snr = 0.0, ppm = 0.0;
    } readout;
    readout.carrier = carrierHz;
    receiver.setCharSink([&](unsigned char c) {
        printChar(c);
        const digimode::Demodulator &d = receiver.demodulator();
        readout = {d.carrier(), d.signalToNoiseDb(), d.clockErrorPpm()};
    });

    std::vector<float> audio;
    bool more = true;
    while (more) {
        audio.clear();
        more = reader.read(kChunk, audio);
        receiver.process(audio.data(), audio.size());
    }
    receiver.drain();
    std::fputc('\n', stdout);
    if (parser.isSet(readouts))
        std::printf("carrier %ld Hz, S/N %ld dB, clock %+ld ppm\n", std::lround(readout.carrier),
                    std::lround(readout.snr), std::lround(readout.ppm));
    return 0;
}
