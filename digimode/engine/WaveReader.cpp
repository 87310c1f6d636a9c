#include "WaveReader.h"

#include "Demodulator.h"

#include <sndfile.h>

#include <QFileInfo>

#include <cmath>

namespace digimode {

WaveReader::WaveReader() = default;

WaveReader::~WaveReader()
{
    close();
}

void WaveReader::close()
{
    if (file_)
        sf_close(file_);
    file_ = nullptr;
    converter_.reset();
}

bool WaveReader::open(const QString &path, QString *error)
{
    close();
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Cannot read the recording %1: %2.").arg(QFileInfo(path).absoluteFilePath(), why);
        close();
        return false;
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("there is no such file. Check the name and the folder"));

    SF_INFO info{};
    file_ = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file_)
        return fail(QStringLiteral("%1 Choose a WAV file (any sample rate, mono or stereo)")
                        .arg(QString::fromLocal8Bit(sf_strerror(nullptr))));
    if (info.channels < 1 || info.samplerate < 1000 || info.samplerate > 768000)
        return fail(QStringLiteral("it has %1 channels at %2 Hz, which is no usable audio")
                        .arg(info.channels)
                        .arg(info.samplerate));
    channels_ = info.channels;
    fileRate_ = info.samplerate;
    converter_ = std::make_unique<RateConverter>(fileRate_);
    // Integer files are scaled to +-1; float files are taken as they are.
    sf_command(file_, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    return true;
}

bool WaveReader::read(std::size_t count, std::vector<float> &out)
{
    if (!file_)
        return false;
    const auto wanted = sf_count_t(std::ceil(double(count) * fileRate_ / kSampleRate)) + 1;
    frames_.resize(std::size_t(wanted) * std::size_t(channels_));
    const sf_count_t got = sf_readf_float(file_, frames_.data(), wanted);
    if (got <= 0)
        return false;
    mono_.resize(std::size_t(got));
    for (sf_count_t i = 0; i < got; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < channels_; ++c)
            sum += frames_[std::size_t(i) * std::size_t(channels_) + std::size_t(c)];
        const float v = sum / float(channels_);
        // A float file can hold anything; nothing that is not a number goes further.
        mono_[std::size_t(i)] = std::isfinite(v) ? v : 0.0f;
    }
    converter_->convert(mono_.data(), mono_.size(), out);
    return true;
}

} // namespace digimode
