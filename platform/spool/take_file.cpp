#include "platform/spool/take_file.h"

#include "platform/spool/copy_progress.h"
#include "platform/spool/copy_record.h"
#include "platform/spool/take_header.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

// Writes all of `data` at `offset`; returns the bytes written, which fall short only on an error
// (errno set).
std::size_t writeAt(int fd, const void* data, std::size_t size, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, static_cast<const char*>(data) + done, size - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (n == 0) {
            errno = ENOSPC;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// The mode of the file being replaced, or the one a new file would get.
mode_t modeFor(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The format a take with a damaged header was recorded in: the one its name gives, else one
// of a "fmt " chunk that survived, else the one most takes are in.
WaveFormat damagedTakeFormat(const std::string& path, const TakeHeaderBytes& header) {
    if (const std::optional<WaveFormat> named = takeFormatFromName(fileNameOf(path)))
        return *named;
    if (const std::optional<WaveFormat> found = findFormatChunk(header.data(), header.size()))
        return *found;
    return kDefaultTakeFormat;
}

} // namespace

std::string takeFileName(std::time_t started, const WaveFormat& format, const std::string& unique) {
    std::tm local{};
    ::localtime_r(&started, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    char kind[48];
    std::snprintf(kind, sizeof kind, "%dhz-%dbit-%dch", format.samplesPerSec, format.bitsPerSample,
                  format.channels);
    return std::string("take-") + stamp + "-" + kind + "-" + unique + ".wav";
}

namespace {

// The length of the "take-YYYYMMDD-HHMMSS-" a take's name starts with, 0 when it does not.
int stampLength(const std::string& name, std::tm& local) {
    int consumed = 0;
    if (std::sscanf(name.c_str(), "take-%4d%2d%2d-%2d%2d%2d-%n", &local.tm_year, &local.tm_mon,
                    &local.tm_mday, &local.tm_hour, &local.tm_min, &local.tm_sec, &consumed) != 6)
        return 0;
    return consumed;
}

} // namespace

std::optional<WaveFormat> takeFormatFromName(const std::string& name) {
    std::tm local{};
    const int stamp = stampLength(name, local);
    WaveFormat f;
    int consumed = 0;
    if (stamp == 0 ||
        std::sscanf(name.c_str() + stamp, "%dhz-%dbit-%dch-%n", &f.samplesPerSec, &f.bitsPerSample,
                    &f.channels, &consumed) != 3 ||
        consumed == 0)
        return std::nullopt;
    if (!isTakeFormat(f))
        return std::nullopt;
    return f;
}

std::optional<std::time_t> takeStartFromName(const std::string& name) {
    std::tm local{};
    if (stampLength(name, local) == 0)
        return std::nullopt;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return t;
}

TakeFile::TakeFile(int fd, std::string path, const WaveFormat& format, std::time_t started)
    : m_fd(fd), m_path(std::move(path)), m_spoolFolder(folderOf(m_path)), m_format(format),
      m_started(started) {}

TakeFile::~TakeFile() {
    if (m_fd >= 0 && m_inSpool && !m_leaveAsFound)
        finish();
    closeFile();
}

SpoolResult<std::unique_ptr<TakeFile>> TakeFile::create(const std::string& folder,
                                                        const WaveFormat& format) {
    // Made under a name that is no take's, locked and given its header, and only then linked
    // under a take's name: nothing ever finds a take of ours unlocked or without its header,
    // not even while it starts.
    std::string starting = folder + "/.new-take-XXXXXX";
    const int fd = ::mkostemp(starting.data(), O_CLOEXEC);
    if (fd < 0)
        return placeFailure(errno);
    const std::time_t now = std::time(nullptr);
    const std::string path =
        folder + "/" + takeFileName(now, format, starting.substr(starting.size() - 6));
    std::unique_ptr<TakeFile> take(new TakeFile(fd, starting, format, now));
    const bool ready = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && take->writeHeader() &&
                       (::link(starting.c_str(), path.c_str()) == 0 ||
                        // A file system without hard links: the unique name is enough.
                        ((errno == EPERM || errno == EOPNOTSUPP) &&
                         ::rename(starting.c_str(), path.c_str()) == 0));
    const int why = errno;
    ::unlink(starting.c_str());
    if (!ready) {
        take->m_inSpool = false; // nothing of it is left to remove
        return placeFailure(why);
    }
    // The new name on disk before the first second is recorded, or a power cut could lose it.
    syncFolder(folder);
    take->m_path = path;
    return take;
}

Result<std::unique_ptr<TakeFile>, TakeFile::NotAdopted> TakeFile::adopt(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return Failed{NotAdopted::NotATake};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return Failed{NotAdopted::Live};
    }
    struct stat st {};
    TakeHeaderBytes header{};
    const bool haveStat = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const auto size = haveStat ? static_cast<std::uint64_t>(st.st_size) : 0;
    const ssize_t got = haveStat ? ::pread(fd, header.data(), header.size(), 0) : -1;
    if (!haveStat || got < 0) {
        ::close(fd);
        return Failed{NotAdopted::NotATake};
    }
    std::optional<TakeHeaderFacts> facts =
        readTakeHeader(header.data(), static_cast<std::size_t>(got));
    const bool damaged = !facts;
    if (damaged) {
        // Killed before its header was written: there is nothing in it to keep.
        if (size < kTakeHeaderBytes) {
            ::unlink(path.c_str());
            ::close(fd);
            return Failed{NotAdopted::Empty};
        }
        // A damaged header: what follows it may still be sound, read as it was recorded.
        facts = TakeHeaderFacts{damagedTakeFormat(path, header), 0};
    }

    // A finished take declares its data exactly (a pad byte may follow an odd length); any
    // other is cut off at its last whole frame on disk.
    std::uint64_t data = size - kTakeHeaderBytes;
    const std::uint64_t declared = facts->dataBytes;
    if (kTakeHeaderBytes + declared + (declared & 1) == size)
        data = declared;
    const auto frame = static_cast<std::uint64_t>(facts->format.bytesPerFrame());
    if (data - data % frame == 0) {
        ::unlink(path.c_str());
        ::close(fd);
        return Failed{NotAdopted::Empty};
    }

    const std::optional<std::time_t> named = takeStartFromName(fileNameOf(path));
    std::unique_ptr<TakeFile> take(
        new TakeFile(fd, path, facts->format, named ? *named : st.st_mtime));
    take->m_dataBytes = data;
    take->m_headerWasDamaged = damaged;
    // A damaged header stays damaged on disk until the take is saved: a take offered and left
    // for later is offered with the same word on the next start.
    take->m_leaveAsFound = damaged;
    if (!damaged)
        take->finish();
    return take;
}

bool TakeFile::append(const void* data, std::size_t bytes) {
    if (!write(data, bytes))
        return false;
    syncIfDue();
    return true;
}

bool TakeFile::write(const void* data, std::size_t bytes) {
    if (m_writeError.load() != 0)
        return false;
    m_finished = false;
    const std::uint64_t at = kTakeHeaderBytes + dataBytes();
    const std::size_t written = writeAt(m_fd, data, bytes, at);
    m_dataBytes.fetch_add(written, std::memory_order_relaxed);
    if (written < bytes) {
        m_writeError = errno != 0 ? errno : EIO;
        return false;
    }
    m_bytesSinceSync += written;
    return true;
}

void TakeFile::syncIfDue() {
    // The header and the data on disk at least once a second: a crash or a power loss then
    // costs at most the last second, and the header is never further behind.
    if (m_bytesSinceSync >= static_cast<std::uint64_t>(m_format.bytesPerSecond()))
        syncNow();
}

double TakeFile::seconds() const {
    const int perSecond = m_format.bytesPerSecond();
    return perSecond > 0 ? static_cast<double>(dataBytes()) / perSecond : 0.0;
}

bool TakeFile::writeHeader() {
    const TakeHeaderBytes header = takeHeader(m_format, dataBytes());
    return writeAt(m_fd, header.data(), header.size(), 0) == header.size();
}

void TakeFile::syncNow() {
    writeHeader();
    ::fdatasync(m_fd);
    m_bytesSinceSync = 0;
}

void TakeFile::finish() {
    if (m_finished || m_fd < 0)
        return;
    m_leaveAsFound = false;
    const auto frame = static_cast<std::uint64_t>(m_format.bytesPerFrame());
    const std::uint64_t whole = dataBytes() - dataBytes() % frame;
    m_dataBytes = whole;
    // Cuts a partial last frame (a write that failed half-way) and any old pad byte.
    if (::ftruncate(m_fd, static_cast<off_t>(kTakeHeaderBytes + whole)) == 0 && (whole & 1)) {
        const unsigned char pad = 0;
        writeAt(m_fd, &pad, 1, kTakeHeaderBytes + whole);
    }
    syncNow();
    m_finished = true;
}

void TakeFile::resume() {
    m_finished = false;
    finish();
    m_finished = false;
    m_writeError = 0;
}

SpoolResult<void> TakeFile::saveTo(const std::string& target, CopyProgress* progress) {
    if (m_fd < 0)
        return placeFailure(EBADF);
    if (SpoolResult<void> place = checkSavePlace(target); !place)
        return place;
    finish();
    if (m_inSpool) {
        SpoolResult<void> moved = moveInto(target);
        if (moved || moved.cause().error != EXDEV)
            return moved;
    }
    return copyInto(target, progress);
}

SpoolResult<void> TakeFile::moveInto(const std::string& target) {
    if (::fchmod(m_fd, modeFor(target)) != 0)
        return placeFailure(errno);
    if (::rename(m_path.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::fchmod(m_fd, 0600);
        return placeFailure(error);
    }
    syncFolder(folderOf(target));
    syncFolder(folderOf(m_path));
    m_path = target;
    m_inSpool = false;
    ::flock(m_fd, LOCK_UN);
    return {};
}

SpoolResult<void> TakeFile::copyInto(const std::string& target, CopyProgress* progress) {
    // Noted in the spool until it is renamed into place or removed, so that a crash in the
    // middle does not leave a half-made copy there for good.
    CopyRecord record(m_spoolFolder);
    std::string name;
    const int out = record.createHiddenCopy(folderOf(target), name);
    if (out < 0)
        return placeFailure(errno);

    const std::uint64_t total = kTakeHeaderBytes + dataBytes() + (dataBytes() & 1);
    std::vector<char> block(kCopyBlock);
    std::uint64_t done = 0;
    int error = 0;
    if (progress && !progress->copied(0, total))
        error = ECANCELED;
    while (error == 0 && done < total) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kCopyBlock, total - done));
        const ssize_t got = ::pread(m_fd, block.data(), want, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : EIO;
            break;
        }
        const auto n = static_cast<std::size_t>(got);
        if (writeAt(out, block.data(), n, done) != n) {
            error = errno != 0 ? errno : EIO;
            break;
        }
        done += n;
        if (progress && !progress->copied(done, total))
            error = ECANCELED;
    }
    if (error == 0 && ::fchmod(out, modeFor(target)) != 0)
        error = errno;
    if (error == 0 && ::fsync(out) != 0)
        error = errno;
    if (progress)
        progress->ended();
    if (::close(out) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(name.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(name.c_str());
        return placeFailure(error);
    }
    syncFolder(folderOf(target));

    if (m_inSpool) {
        ::unlink(m_path.c_str());
        syncFolder(folderOf(m_path));
        m_inSpool = false;
        ::flock(m_fd, LOCK_UN);
    }
    m_path = target;
    return {};
}

bool TakeFile::discard() {
    if (!m_inSpool || m_fd < 0)
        return false;
    ::unlink(m_path.c_str());
    m_inSpool = false;
    closeFile();
    return true;
}

void TakeFile::closeFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
