#include "platform/multimedia/sound_file_reader.h"

#include "platform/multimedia/sndfile_library.h"

#include <sndfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

// Either a span of bytes or an open regular file, read by offset, and the view of it that
// libsndfile is given.
struct SoundFileReader::Source {
    std::span<const std::byte> bytes;
    int fd = -1;
    std::uint64_t size = 0;

    // libsndfile walks every chunk it is shown, by sizes it trusts, and can spin for ever on a
    // LIST whose members it reads its own way. So it is shown only what it needs to decode:
    // the file's first 12 bytes, then for an RF64 file a ds64 chunk made here from the sizes
    // found (libsndfile misreads the table of a real one), the first fmt chunk and the first
    // data chunk, each as a range of the file, in that order.
    struct Piece {
        std::uint64_t at = 0;
        std::uint64_t length = 0;
        std::vector<unsigned char> made; // when not empty, the piece's bytes instead of the file's
    };
    std::vector<Piece> pieces;
    std::uint64_t viewSize = 0;
    sf_count_t offset = 0; // libsndfile's position in the view

    ~Source() {
        if (fd >= 0)
            ::close(fd);
    }
    std::size_t readAt(std::uint64_t at, void* out, std::size_t n) const {
        if (at >= size)
            return 0;
        n = static_cast<std::size_t>(std::min<std::uint64_t>(n, size - at));
        if (fd < 0) {
            std::memcpy(out, bytes.data() + at, n);
            return n;
        }
        std::size_t done = 0;
        while (done < n) {
            const ssize_t got = ::pread(fd, static_cast<char*>(out) + done, n - done,
                                        static_cast<off_t>(at + done));
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        return done;
    }
    std::size_t readView(std::uint64_t at, void* out, std::size_t n) const {
        auto* to = static_cast<char*>(out);
        std::size_t done = 0;
        std::uint64_t start = 0; // where the piece begins in the view
        for (const Piece& piece : pieces) {
            const std::uint64_t pos = at + done;
            if (done == n)
                break;
            if (pos >= start && pos < start + piece.length) {
                const auto want = static_cast<std::size_t>(
                    std::min<std::uint64_t>(n - done, start + piece.length - pos));
                const std::uint64_t from = pos - start;
                const std::size_t got =
                    piece.made.empty()
                        ? readAt(piece.at + from, to + done, want)
                        : (std::memcpy(to + done, piece.made.data() + from, want), want);
                done += got;
                if (got < want)
                    break;
            }
            start += piece.length;
        }
        return done;
    }
};

namespace {

using Source = SoundFileReader::Source;

// More chunks than any real WAV file holds; a file with more is taken as corrupt.
constexpr int kMaxChunks = 4096;

std::uint32_t chunkSize(const unsigned char* p, bool bigEndian) {
    if (bigEndian)
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
               p[3];
    return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// The members of a LIST chunk must tile it: each inside it, and no stray bytes after the last
// one but its pad byte.
bool listMembersFit(const Source& src, std::uint64_t body, std::uint64_t length, bool bigEndian,
                    int& budget) {
    const std::uint64_t end = body + length;
    std::uint64_t at = body + 4; // after the list type
    while (at + 8 <= end) {
        if (--budget < 0)
            return false;
        unsigned char head[8];
        if (src.readAt(at, head, 8) != 8)
            return false;
        const std::uint64_t size = chunkSize(head + 4, bigEndian);
        if (size > end - (at + 8))
            return false;
        at += 8 + size + (size & 1);
    }
    return at == end || at == end + 1;
}

std::uint64_t get64(const unsigned char* p) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// The 64-bit sizes of an RF64 file, from its leading ds64 chunk: a 32-bit size of 0xFFFFFFFF
// stands for the one kept here, the data's or that of a chunk named in the table.
struct Ds64 {
    std::uint64_t dataSize = 0;
    std::vector<std::pair<std::array<char, 4>, std::uint64_t>> table;

    std::optional<std::uint64_t> sizeOf(const unsigned char* id) const {
        if (std::memcmp(id, "data", 4) == 0)
            return dataSize;
        for (const auto& [name, size] : table)
            if (std::memcmp(name.data(), id, 4) == 0)
                return size;
        return std::nullopt;
    }
};

// ds64: riff size, data size, sample count (8 bytes each), the table's length (4) and its
// entries (a chunk id and an 8-byte size each).
std::optional<Ds64> readDs64(const Source& src, int& budget) {
    unsigned char head[8 + 28];
    if (src.readAt(12, head, sizeof head) != sizeof head || std::memcmp(head, "ds64", 4) != 0)
        return std::nullopt;
    const std::uint64_t size = chunkSize(head + 4, false);
    if (size < 28 || size > src.size - 20)
        return std::nullopt;
    Ds64 ds64;
    ds64.dataSize = get64(head + 16);
    const std::uint32_t entries = chunkSize(head + 32, false);
    if (entries > (size - 28) / 12)
        return std::nullopt;
    for (std::uint32_t i = 0; i < entries; ++i) {
        if (--budget < 0)
            return std::nullopt;
        unsigned char entry[12];
        if (src.readAt(20 + 28 + 12 * std::uint64_t(i), entry, 12) != 12)
            return std::nullopt;
        std::array<char, 4> id{};
        std::memcpy(id.data(), entry, 4);
        ds64.table.emplace_back(id, get64(entry + 4));
    }
    return ds64;
}

// A fmt chunk holds a few dozen bytes, and at most 64 KiB of extra format bytes after them.
constexpr std::uint64_t kMaxFormatChunk = 1 << 17;

// libsndfile walks a WAVE file by the chunk sizes it declares and can spin for ever on sizes
// that do not nest, so only files whose chunks fit are handed to it: every chunk but the
// sample data inside the file, the members of every LIST tiling it. Maps the pieces it is
// shown (see Source) and says whether there are any to decode.
bool mapChunks(Source& src) {
    unsigned char head[12];
    if (src.readAt(0, head, 12) != 12 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return false;
    const bool bigEndian = std::memcmp(head, "RIFX", 4) == 0;
    const bool rf64 = std::memcmp(head, "RF64", 4) == 0;
    if (!bigEndian && !rf64 && std::memcmp(head, "RIFF", 4) != 0)
        return false;
    int budget = kMaxChunks;
    // The 64-bit form keeps its true sizes in a leading ds64 chunk; without one the decoder
    // can spin as well.
    std::optional<Ds64> ds64;
    if (rf64 && !(ds64 = readDs64(src, budget)))
        return false;
    std::optional<Source::Piece> format, data;
    std::uint64_t dataSize = 0;
    std::uint64_t at = 12;
    while (at + 8 <= src.size) {
        if (--budget < 0)
            return false;
        unsigned char chunk[8];
        if (src.readAt(at, chunk, 8) != 8)
            return false;
        std::uint64_t size = chunkSize(chunk + 4, bigEndian);
        if (ds64 && size == 0xFFFFFFFFu) {
            const std::optional<std::uint64_t> wide = ds64->sizeOf(chunk);
            if (!wide)
                return false;
            size = *wide;
        }
        const std::uint64_t body = at + 8;
        // The whole chunk as the file holds it, its pad byte included where there is one.
        const Source::Piece whole{at, std::min(8 + size + (size & 1), src.size - at), {}};
        if (size > src.size - body) {
            // A recording cut short: nothing follows its sample data.
            if (std::memcmp(chunk, "data", 4) != 0)
                return false;
            if (!data) {
                data = whole;
                dataSize = src.size - body;
            }
            break;
        }
        if (std::memcmp(chunk, "LIST", 4) == 0 &&
            (size < 4 || !listMembersFit(src, body, size, bigEndian, budget)))
            return false;
        if (!format && std::memcmp(chunk, "fmt ", 4) == 0) {
            format = whole;
        } else if (!data && std::memcmp(chunk, "data", 4) == 0) {
            data = whole;
            dataSize = size;
        }
        at = body + size + (size & 1);
    }
    if (!format || !data || format->length > kMaxFormatChunk)
        return false;
    src.pieces = {{0, 12, {}}};
    if (ds64)
        src.pieces.push_back({0, 8 + 28, {}});
    src.pieces.push_back(*format);
    src.pieces.push_back(*data);
    src.viewSize = 0;
    for (const Source::Piece& piece : src.pieces)
        src.viewSize += piece.length;
    if (ds64) {
        // ds64: the RIFF size, the data size and a sample count of 0 (unknown), with no table.
        std::vector<unsigned char>& made = src.pieces[1].made;
        const auto put = [&made](std::uint64_t value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                made.push_back(static_cast<unsigned char>(value >> (8 * i)));
        };
        made = {'d', 's', '6', '4'};
        put(28, 4);
        put(src.viewSize - 8, 8);
        put(dataSize, 8);
        put(0, 8);
        put(0, 4);
    }
    return true;
}

sf_count_t sourceLength(void* user) {
    return static_cast<sf_count_t>(static_cast<Source*>(user)->viewSize);
}

sf_count_t sourceSeek(sf_count_t offset, int whence, void* user) {
    auto* src = static_cast<Source*>(user);
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = src->offset;
    else if (whence == SEEK_END)
        base = static_cast<sf_count_t>(src->viewSize);
    else if (whence != SEEK_SET)
        return -1;
    if (offset > 0 && base > std::numeric_limits<sf_count_t>::max() - offset)
        return -1;
    const sf_count_t target = base + offset;
    if (target < 0)
        return -1;
    src->offset = target; // past the end is allowed; reads there return nothing
    return target;
}

sf_count_t sourceRead(void* ptr, sf_count_t count, void* user) {
    auto* src = static_cast<Source*>(user);
    if (count <= 0)
        return 0;
    const std::size_t got = src->readView(static_cast<std::uint64_t>(src->offset), ptr,
                                          static_cast<std::size_t>(count));
    src->offset += static_cast<sf_count_t>(got);
    return static_cast<sf_count_t>(got);
}

sf_count_t sourceWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t sourceTell(void* user) {
    return static_cast<Source*>(user)->offset;
}

bool isWave(int format) {
    const int major = format & SF_FORMAT_TYPEMASK;
    return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64;
}

} // namespace

void SoundFileReader::Closer::operator()(SNDFILE* file) const {
    sndfile().sf_close(file);
}

SoundFileReader::SoundFileReader() = default;
SoundFileReader::~SoundFileReader() = default;

namespace {

Failed<SoundFileProblem> problem(SoundFileProblem::Kind kind, int error = 0) {
    return Failed{SoundFileProblem{kind, error}};
}

} // namespace

Result<void, SoundFileProblem> SoundFileReader::open(const std::string& path) {
    close();
    if (path.empty())
        return problem(SoundFileProblem::Kind::CannotOpen, ENOENT);
    auto src = std::make_unique<Source>();
    // Non-blocking so that a named pipe cannot hold the window; it is refused below anyway.
    src->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (src->fd < 0 || ::fstat(src->fd, &st) != 0)
        return problem(SoundFileProblem::Kind::CannotOpen, errno);
    if (!S_ISREG(st.st_mode))
        return problem(SoundFileProblem::Kind::NotAFile);
    src->size = static_cast<std::uint64_t>(st.st_size);
    return openSource(std::move(src));
}

Result<void, SoundFileProblem> SoundFileReader::openMemory(std::span<const std::byte> bytes) {
    close();
    auto src = std::make_unique<Source>();
    src->bytes = bytes;
    src->size = bytes.size();
    return openSource(std::move(src));
}

Result<void, SoundFileProblem> SoundFileReader::openSource(std::unique_ptr<Source> source) {
    if (!mapChunks(*source))
        return problem(SoundFileProblem::Kind::ChunksDamaged);
    SF_VIRTUAL_IO io{};
    io.get_filelen = sourceLength;
    io.seek = sourceSeek;
    io.read = sourceRead;
    io.write = sourceWrite;
    io.tell = sourceTell;
    SF_INFO info{};
    m_file.reset(sndfile().sf_open_virtual(&io, SFM_READ, &info, source.get()));
    m_source = std::move(source);
    if (!m_file) {
        const int code = sndfile().sf_error(nullptr);
        close();
        return problem(SoundFileProblem::Kind::Unreadable, code);
    }
    const bool playable =
        isWave(info.format) && info.channels >= 1 && info.channels <= kMaxChannels &&
        info.samplerate >= 1 && info.samplerate <= kMaxRate && info.frames > 0 &&
        info.frames / info.samplerate <= std::numeric_limits<std::int32_t>::max() / 1000 - 1;
    if (!playable) {
        close();
        return problem(SoundFileProblem::Kind::Unplayable);
    }
    m_channels = info.channels;
    m_sampleRate = info.samplerate;
    m_frames = info.frames;
    m_failed = false;
    return {};
}

void SoundFileReader::close() {
    m_file.reset();
    m_source.reset();
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
    const sf_count_t got = sndfile().sf_readf_float(m_file.get(), out.data(), wanted);
    if (got <= 0) {
        if (sndfile().sf_error(m_file.get()) != SF_ERR_NO_ERROR)
            m_failed = true;
        return 0;
    }
    return static_cast<std::size_t>(std::min(got, wanted));
}

bool SoundFileReader::rewind() {
    if (!m_file)
        return false;
    m_failed = false;
    return sndfile().sf_seek(m_file.get(), 0, SEEK_SET) == 0;
}
