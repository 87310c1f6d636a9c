// Reads a sound file (WAV and the other formats libsndfile knows) as mono audio at the
// engine's rate, whatever its own rate and channel count.
#pragma once

#include "RateConverter.h"

#include <QString>

#include <memory>
#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace digimode {

class WaveReader {
public:
    WaveReader();
    ~WaveReader();
    WaveReader(const WaveReader &) = delete;
    WaveReader &operator=(const WaveReader &) = delete;

    // On failure returns false and a message that says what is wrong and what to do.
    bool open(const QString &path, QString *error);
    bool isOpen() const { return file_ != nullptr; }
    double fileRate() const { return fileRate_; }
    // Appends up to about `count` converted samples; returns false at the end of the file.
    bool read(std::size_t count, std::vector<float> &out);
    void close();

private:
    SNDFILE *file_ = nullptr;
    int channels_ = 0;
    double fileRate_ = 0.0;
    std::unique_ptr<RateConverter> converter_;
    std::vector<float> frames_;
    std::vector<float> mono_;
};

} // namespace digimode
