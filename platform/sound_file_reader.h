#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

typedef struct sf_private_tag SNDFILE;

// Decodes a sound file into interleaved 32-bit float frames, block by block, for the player.
// Only what the audio server can play is accepted: 1 to 32 channels, 1 to 384000 frames a
// second, at least one frame and a length that fits a 32-bit count of milliseconds.
class SoundFileReader {
public:
    static constexpr int kMaxChannels = 32;
    static constexpr int kMaxRate = 384000;
    // Frames the player decodes per read().
    static constexpr std::size_t kBlockFrames = 4096;

    SoundFileReader();
    ~SoundFileReader();
    SoundFileReader(SoundFileReader&&) noexcept;
    SoundFileReader& operator=(SoundFileReader&&) noexcept;

    // Each returns false, leaving the reader closed, for anything that cannot be played.
    bool open(const std::string& path);
    // The bytes must outlive the reader (or the next open/close).
    bool openMemory(std::span<const std::byte> bytes);
    void close();

    bool isOpen() const { return m_file != nullptr; }
    int channels() const { return m_channels; }
    int sampleRate() const { return m_sampleRate; }
    // The frame count the file's header promises; decoding may deliver fewer.
    std::int64_t frames() const { return m_frames; }
    // Whole milliseconds of frames() (truncated); 0 when closed.
    std::int32_t lengthMs() const;
    std::int32_t framesToMs(std::int64_t frames) const;

    // Fills `out` (channels() floats per frame) with up to out.size() / channels() frames and
    // returns how many were decoded; 0 at the end of the data, on a read error or when closed.
    std::size_t read(std::span<float> out);
    bool rewind();

    // Opaque: the bytes and read offset behind openMemory().
    struct Memory;

private:
    struct Closer {
        void operator()(SNDFILE* file) const;
    };
    bool accept(SNDFILE* file, int channels, int rate, std::int64_t frames);

    std::unique_ptr<SNDFILE, Closer> m_file;
    // Heap-held so that the virtual-I/O callbacks keep a stable pointer across moves.
    std::unique_ptr<Memory> m_memory;
    int m_channels = 0;
    int m_sampleRate = 0;
    std::int64_t m_frames = 0;
    // Decoding stops for good after a read error, so a corrupt file cannot spin.
    bool m_failed = false;
};
