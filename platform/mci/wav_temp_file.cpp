#include "platform/mci/wav_temp_file.h"

#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a file descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closes now and reports whether the close succeeded (it can carry a late write error).
    bool reset() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string reason(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The mode a newly created file would get, or that of the file being replaced.
mode_t modeFor(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string copyInto(int from, int to) {
    std::array<char, 64 * 1024> buffer;
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return reason("reading the recording failed");
        }
        if (n == 0)
            return {};
        if (!writeAll(to, buffer.data(), static_cast<std::size_t>(n)))
            return reason("writing the file failed");
    }
}

} // namespace

WavTempFile::WavTempFile(std::string path, SNDFILE* file, const WaveFormat& format)
    : m_path(std::move(path)), m_file(file), m_format(format) {}

WavTempFile::~WavTempFile() {
    m_file.reset();
    ::unlink(m_path.c_str());
}

std::unique_ptr<WavTempFile> WavTempFile::create(const WaveFormat& format, std::string* error,
                                                 const std::string& folder) {
    std::string dir = folder;
    if (dir.empty())
        dir = QStandardPaths::writableLocation(QStandardPaths::TempLocation).toStdString();
    if (dir.empty())
        dir = "/tmp";
    std::string name = dir + "/sorvinta-take-XXXXXX.wav";
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int fd = ::mkstemps(buffer.data(), 4);
    if (fd < 0) {
        if (error)
            *error = reason("cannot create a temporary file in " + dir);
        return nullptr;
    }
    name.assign(buffer.data());

    SF_INFO info{};
    info.samplerate = format.samplesPerSec;
    info.channels = format.channels;
    // WAV keeps 8-bit samples unsigned and 16-bit ones little-endian, just as the stream
    // delivers them, so the stream's bytes go into the file unchanged.
    info.format = SF_FORMAT_WAV | (format.bitsPerSample == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (!file) {
        if (error)
            *error = std::string("cannot start the temporary WAV file: ") + sf_strerror(nullptr);
        ::close(fd);
        ::unlink(name.c_str());
        return nullptr;
    }
    return std::unique_ptr<WavTempFile>(new WavTempFile(name, file, format));
}

bool WavTempFile::append(const void* data, std::size_t bytes) {
    const sf_count_t written = sf_write_raw(m_file.get(), data, static_cast<sf_count_t>(bytes));
    if (written > 0) {
        m_dataBytes.fetch_add(static_cast<std::uint64_t>(written), std::memory_order_relaxed);
        m_bytesSinceHeader += static_cast<std::uint64_t>(written);
    }
    // A valid header at least once a second means a crash loses at most the last second.
    if (m_bytesSinceHeader >= static_cast<std::uint64_t>(m_format.bytesPerSecond()))
        updateHeader();
    return written == static_cast<sf_count_t>(bytes);
}

bool WavTempFile::appendSilence(std::size_t bytes) {
    static const std::array<unsigned char, 4096> zeros16{};
    static const std::array<unsigned char, 4096> zeros8 = [] {
        std::array<unsigned char, 4096> a;
        a.fill(0x80);
        return a;
    }();
    const auto& silence = m_format.bitsPerSample == 8 ? zeros8 : zeros16;
    const std::size_t frame = static_cast<std::size_t>(m_format.bytesPerFrame());
    bytes -= bytes % frame;
    while (bytes > 0) {
        const std::size_t n = std::min(bytes, silence.size() - silence.size() % frame);
        if (!append(silence.data(), n))
            return false;
        bytes -= n;
    }
    return true;
}

void WavTempFile::updateHeader() {
    sf_command(m_file.get(), SFC_UPDATE_HEADER_NOW, nullptr, 0);
    m_bytesSinceHeader = 0;
}

std::string WavTempFile::saveAs(const std::string& target) {
    updateHeader();

    std::filesystem::path targetPath(target);
    std::filesystem::path dir = targetPath.parent_path();
    if (dir.empty())
        dir = ".";
    std::string name = (dir / ("." + targetPath.filename().string() + ".XXXXXX")).string();
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    Fd out(::mkstemp(buffer.data()));
    if (out.get() < 0)
        return reason("cannot create a file in " + dir.string());
    name.assign(buffer.data());

    std::string failure;
    Fd in(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        failure = reason("cannot read the recording");
    if (failure.empty())
        failure = copyInto(in.get(), out.get());
    if (failure.empty() && ::fchmod(out.get(), modeFor(target)) != 0)
        failure = reason("cannot set the file's permissions");
    if (failure.empty() && ::fsync(out.get()) != 0)
        failure = reason("writing the file to disk failed");
    if (failure.empty() && !out.reset())
        failure = reason("writing the file failed");
    if (failure.empty() && ::rename(name.c_str(), target.c_str()) != 0)
        failure = reason("cannot replace " + target);
    if (!failure.empty()) {
        ::unlink(name.c_str());
        return failure;
    }

    // Make the rename itself survive a crash.
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0)
        ::fsync(dirFd.get());
    return {};
}
