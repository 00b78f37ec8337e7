#pragma once

#include <cstddef>
#include <span>

// What a playback stream plays: interleaved 32-bit float frames, read block by block on the
// stream's own thread while it plays.
class SampleSource {
public:
    // Frames a player asks for per read().
    static constexpr std::size_t kBlockFrames = 4096;

    virtual ~SampleSource() = default;

    // 0 when there is nothing to play.
    virtual int channels() const = 0;
    virtual int sampleRate() const = 0;
    // Fills `out` (channels() floats per frame) with up to out.size() / channels() frames and
    // returns how many it wrote; 0 at the end.
    virtual std::size_t read(std::span<float> out) = 0;
};
