#include "support/wav_analysis.h"

#include <sndfile.h>

#include <cmath>
#include <vector>

SoundFileFacts analyseSoundFile(const std::string& path) {
    SoundFileFacts facts;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return facts;
    facts.opened = true;
    facts.sampleRate = info.samplerate;
    facts.channels = info.channels;
    facts.format = info.format;
    facts.frames = info.frames;
    facts.seconds = info.samplerate > 0 ? double(info.frames) / info.samplerate : 0;

    std::vector<float> samples(static_cast<std::size_t>(info.frames) * std::size_t(info.channels));
    const sf_count_t read = sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);

    const sf_count_t skip = info.samplerate / 10;
    long long crossings = 0;
    float previous = 0;
    for (sf_count_t i = 0; i < read; ++i) {
        const float v = samples[std::size_t(i) * std::size_t(info.channels)];
        facts.peak = std::max(facts.peak, double(std::fabs(v)));
        if (i > skip && ((previous < 0 && v >= 0) || (previous >= 0 && v < 0)))
            ++crossings;
        previous = v;
    }
    const double span = double(read - skip) / info.samplerate;
    if (span > 0)
        facts.dominantHz = crossings / 2.0 / span;
    return facts;
}
