#pragma once

#include "common/result.h"
#include "platform/audio/sample_source.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

typedef struct sf_private_tag SNDFILE;

// Why a sound file cannot be played.
struct SoundFileProblem {
    enum class Kind {
        CannotOpen,    // the file cannot be opened (`error` is the errno)
        NotAFile,      // a folder, a pipe or a device
        ChunksDamaged, // a chunk reaches past the end of the file
        Unreadable,    // libsndfile cannot read it (`error` is its code)
        Unplayable,    // not a WAVE file, or outside what the audio server plays
    };
    Kind kind = Kind::CannotOpen;
    int error = 0;
};

// Decodes a WAV file into interleaved 32-bit float frames, block by block, for the player.
// Accepted: RIFF, RIFX and RF64 (with its ds64 chunk first) WAVE files in any sample format
// libsndfile reads, whose chunks fit inside the file (only the sample data may be cut short),
// with what the audio server can play: 1 to 32 channels, 1 to 384000 frames a second, at least one
// frame and a length that fits a 32-bit count of milliseconds. Only the fmt and data chunks (and
// ds64) are decoded; every other chunk is passed over.
class SoundFileReader : public SampleSource {
public:
    static constexpr int kMaxChannels = 32;
    static constexpr int kMaxRate = 384000;

    SoundFileReader();
    ~SoundFileReader() override;
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    // Each fails, leaving the reader closed, for anything that cannot be played.
    Result<void, SoundFileProblem> open(const std::string& path);
    // The bytes must outlive the reader (or the next open/close).
    Result<void, SoundFileProblem> openMemory(std::span<const std::byte> bytes);
    void close();

    bool isOpen() const { return m_file != nullptr; }
    int channels() const override { return m_channels; }
    int sampleRate() const override { return m_sampleRate; }
    // The frame count the file's header promises; decoding may deliver fewer.
    std::int64_t frames() const { return m_frames; }
    // Whole milliseconds of frames() (truncated); 0 when closed.
    std::int32_t lengthMs() const;
    std::int32_t framesToMs(std::int64_t frames) const;

    // Fills `out` (channels() floats per frame) with up to out.size() / channels() frames and
    // returns how many were decoded; 0 at the end of the data, on a read error or when closed.
    std::size_t read(std::span<float> out) override;
    bool rewind();

    // Opaque: the file or bytes behind an open reader, with libsndfile's read offset.
    struct Source;

private:
    struct Closer {
        void operator()(SNDFILE* file) const;
    };
    Result<void, SoundFileProblem> openSource(std::unique_ptr<Source> source);

    // Declared first so that it outlives the libsndfile handle that reads through it.
    std::unique_ptr<Source> m_source;
    std::unique_ptr<SNDFILE, Closer> m_file;
    int m_channels = 0;
    int m_sampleRate = 0;
    std::int64_t m_frames = 0;
    // Decoding stops for good after a read error, so a corrupt file cannot spin.
    bool m_failed = false;
};
