#pragma once

#include <string>

// What a test needs to know of a recorded sound file.
struct SoundFileFacts {
    bool opened = false;
    int sampleRate = 0;
    int channels = 0;
    int format = 0; // libsndfile's SF_FORMAT_* value
    long long frames = 0;
    double seconds = 0;
    double dominantHz = 0; // from the first channel's zero crossings (skipping the first 0.1 s)
    double peak = 0;       // largest magnitude, 1.0 = full scale
};

SoundFileFacts analyseSoundFile(const std::string& path);
