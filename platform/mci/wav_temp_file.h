#pragma once

#include "platform/audio/record_sink.h"
#include "platform/audio/wave_format.h"

#include <sndfile.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A WAV file in the temporary folder that a recording streams into, removed again on destruction.
// `append` may run on the audio thread while `dataBytes` is read on another; everything else
// belongs to the owner's thread and must not overlap with `append`.
class WavTempFile : public RecordSink {
public:
    // Creates the file with a unique name in `folder` (the temporary location when empty).
    // Returns nothing, with `error` set to the reason, when it cannot be created.
    static std::unique_ptr<WavTempFile> create(const WaveFormat& format, std::string* error,
                                               const std::string& folder = {});
    ~WavTempFile() override;
    WavTempFile(const WavTempFile&) = delete;
    WavTempFile& operator=(const WavTempFile&) = delete;

    // Writes the stream's bytes as they are and keeps the header valid about once a second.
    bool append(const void* data, std::size_t bytes) override;
    // Writes `bytes` of silence, for gaps the server reports in the stream.
    bool appendSilence(std::size_t bytes) override;

    // PCM data bytes written so far.
    std::uint64_t dataBytes() const { return m_dataBytes.load(std::memory_order_relaxed); }

    // Brings the header up to date with everything written.
    void updateHeader();

    // Copies the file to `target` through a temporary file beside it, synced and renamed into
    // place, so an existing target is replaced whole or not at all. Returns an empty string on
    // success, else the reason.
    std::string saveAs(const std::string& target);

    const std::string& path() const { return m_path; }
    const WaveFormat& format() const { return m_format; }

private:
    WavTempFile(std::string path, SNDFILE* file, const WaveFormat& format);

    struct SndFileCloser {
        void operator()(SNDFILE* f) const { sf_close(f); }
    };

    std::string m_path;
    std::unique_ptr<SNDFILE, SndFileCloser> m_file;
    WaveFormat m_format;
    std::atomic<std::uint64_t> m_dataBytes{0};
    std::uint64_t m_bytesSinceHeader = 0;
};
