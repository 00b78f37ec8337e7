#pragma once

// The PCM format of an audio stream: interleaved channels of whole-byte samples, 8-bit ones
// unsigned and 16-bit ones signed little-endian, as both WAV files and the audio server keep
// them. The one format type of every stream: capture, recording and the take file.
struct WaveFormat {
    int samplesPerSec = 0;
    int bitsPerSample = 0;
    int channels = 0;

    int bytesPerFrame() const { return channels * bitsPerSample / 8; }
    int bytesPerSecond() const { return samplesPerSec * bytesPerFrame(); }

    friend bool operator==(const WaveFormat&, const WaveFormat&) = default;
};
