#include "platform/sound_file_reader.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <limits>

// The bytes behind a reader opened from memory, with the read offset libsndfile moves.
struct SoundFileReader::Memory {
    std::span<const std::byte> bytes;
    sf_count_t offset = 0;
};

namespace {

using Memory = SoundFileReader::Memory;

sf_count_t memLength(void* user) {
    return static_cast<sf_count_t>(static_cast<Memory*>(user)->bytes.size());
}

sf_count_t memSeek(sf_count_t offset, int whence, void* user) {
    auto* m = static_cast<Memory*>(user);
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = m->offset;
    else if (whence == SEEK_END)
        base = static_cast<sf_count_t>(m->bytes.size());
    else if (whence != SEEK_SET)
        return -1;
    if (offset > 0 && base > std::numeric_limits<sf_count_t>::max() - offset)
        return -1;
    const sf_count_t target = base + offset;
    if (target < 0)
        return -1;
    m->offset = target; // past the end is allowed; reads there return nothing
    return target;
}

sf_count_t memRead(void* ptr, sf_count_t count, void* user) {
    auto* m = static_cast<Memory*>(user);
    const auto size = static_cast<sf_count_t>(m->bytes.size());
    if (count <= 0 || m->offset >= size)
        return 0;
    const sf_count_t n = std::min(count, size - m->offset);
    std::memcpy(ptr, m->bytes.data() + m->offset, static_cast<std::size_t>(n));
    m->offset += n;
    return n;
}

sf_count_t memWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memTell(void* user) {
    return static_cast<Memory*>(user)->offset;
}

} // namespace

void SoundFileReader::Closer::operator()(SNDFILE* file) const {
    sf_close(file);
}

SoundFileReader::SoundFileReader() = default;
SoundFileReader::~SoundFileReader() = default;
SoundFileReader::SoundFileReader(SoundFileReader&&) noexcept = default;
SoundFileReader& SoundFileReader::operator=(SoundFileReader&&) noexcept = default;

bool SoundFileReader::open(const std::string& path) {
    close();
    if (path.empty())
        return false;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return false;
    return accept(file, info.channels, info.samplerate, info.frames);
}

bool SoundFileReader::openMemory(std::span<const std::byte> bytes) {
    close();
    m_memory = std::make_unique<Memory>(Memory{bytes, 0});
    SF_VIRTUAL_IO io{};
    io.get_filelen = memLength;
    io.seek = memSeek;
    io.read = memRead;
    io.write = memWrite;
    io.tell = memTell;
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, m_memory.get());
    if (!file) {
        m_memory.reset();
        return false;
    }
    return accept(file, info.channels, info.samplerate, info.frames);
}

bool SoundFileReader::accept(SNDFILE* file, int channels, int rate, std::int64_t frames) {
    m_file.reset(file);
    const bool playable = channels >= 1 && channels <= kMaxChannels && rate >= 1 &&
                          rate <= kMaxRate && frames > 0 &&
                          frames / rate <= std::numeric_limits<std::int32_t>::max() / 1000 - 1;
    if (!playable) {
        close();
        return false;
    }
    m_channels = channels;
    m_sampleRate = rate;
    m_frames = frames;
    m_failed = false;
    return true;
}

void SoundFileReader::close() {
    m_file.reset();
    m_memory.reset();
    m_channels = 0;
    m_sampleRate = 0;
    m_frames = 0;
    m_failed = false;
}

std::int32_t SoundFileReader::lengthMs() const {
    return framesToMs(m_frames);
}

std::int32_t SoundFileReader::framesToMs(std::int64_t frames) const {
    if (m_sampleRate <= 0 || frames <= 0)
        return 0;
    frames = std::min(frames, m_frames);
    // Split to keep frames * 1000 from overflowing on very long files.
    const std::int64_t whole = frames / m_sampleRate;
    const std::int64_t rest = frames % m_sampleRate;
    return static_cast<std::int32_t>(whole * 1000 + rest * 1000 / m_sampleRate);
}

std::size_t SoundFileReader::read(std::span<float> out) {
    if (!m_file || m_failed || m_channels <= 0)
        return 0;
    const auto wanted = static_cast<sf_count_t>(out.size() / static_cast<std::size_t>(m_channels));
    if (wanted == 0)
        return 0;
    const sf_count_t got = sf_readf_float(m_file.get(), out.data(), wanted);
    if (got <= 0) {
        if (sf_error(m_file.get()) != SF_ERR_NO_ERROR)
            m_failed = true;
        return 0;
    }
    return static_cast<std::size_t>(std::min(got, wanted));
}

bool SoundFileReader::rewind() {
    if (!m_file)
        return false;
    m_failed = false;
    return sf_seek(m_file.get(), 0, SEEK_SET) == 0;
}
