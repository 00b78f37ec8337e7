#include "platform/spool/copy_progress.h"
#include "platform/spool/spool_messages.h"
#include "platform/spool/take_file.h"
#include "platform/spool/take_header.h"
#include "platform/spool/take_spool.h"
#include "platform/spool/take_writer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sndfile.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include <csignal>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Every fsync of this test program passes through here on its way to the kernel, so that a
// test can see which folders were synced and which names they held at that moment.
struct FolderSyncs {
    bool watching = false;
    std::vector<std::pair<std::string, std::vector<std::string>>> seen; // folder, its names
};
FolderSyncs folderSyncs;

} // namespace

extern "C" int fsync(int fd) {
    struct stat st {};
    if (folderSyncs.watching && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        char target[4096];
        const ssize_t n = ::readlink(link, target, sizeof target);
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(link)) {
            while (const dirent* e = ::readdir(dir))
                names.emplace_back(e->d_name);
            ::closedir(dir);
        }
        folderSyncs.seen.emplace_back(n > 0 ? std::string(target, std::size_t(n)) : "",
                                      std::move(names));
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace {

std::vector<unsigned char> ramp(std::size_t bytes) {
    std::vector<unsigned char> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<unsigned char>(i * 7);
    return data;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Wav {
    SF_INFO info{};
    std::vector<unsigned char> raw;
};

Wav readWav(const std::string& path) {
    Wav wav;
    SNDFILE* in = sf_open(path.c_str(), SFM_READ, &wav.info);
    EXPECT_TRUE(in) << path << ": " << sf_strerror(nullptr);
    if (!in)
        return wav;
    const int frameBytes =
        wav.info.channels * ((wav.info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_U8 ? 1 : 2);
    wav.raw.resize(static_cast<std::size_t>(wav.info.frames * frameBytes));
    sf_read_raw(in, wav.raw.data(), static_cast<sf_count_t>(wav.raw.size()));
    sf_close(in);
    return wav;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

class CountingProgress : public CopyProgress {
public:
    bool copied(std::uint64_t done, std::uint64_t total) override {
        calls.push_back(done);
        last = done;
        whole = total;
        return cancelAfter < 0 || static_cast<int>(calls.size()) <= cancelAfter;
    }
    void ended() override { ++ends; }
    int ends = 0;
    std::vector<std::uint64_t> calls;
    std::uint64_t last = 0;
    std::uint64_t whole = 0;
    int cancelAfter = -1;
};

class TakeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("spool"));
    }
    std::string dir() const { return m_dir.path().toStdString(); }
    QString spoolDir() const { return m_dir.filePath("spool"); }
    TakeSpool spool() const { return TakeSpool(spoolDir().toStdString()); }
    std::unique_ptr<TakeFile> make(const WaveFormat& format) {
        auto take = spool().newTake(format);
        EXPECT_TRUE(take) << std::strerror(take ? 0 : take.cause().error);
        return take ? std::move(take).value() : nullptr;
    }
    // A process that records `bytes` into a new take and dies without a word: nothing gets to
    // finish the take. Returns the take's path.
    std::string takeLeftByACrash(const WaveFormat& format, std::size_t bytes) {
        int pipeFds[2];
        EXPECT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            auto made = spool().newTake(format);
            auto take = made ? std::move(made).value() : nullptr;
            const std::vector<unsigned char> data = ramp(bytes);
            // In blocks of a tenth of a second, as a stream hands them over.
            const auto block = static_cast<std::size_t>(format.bytesPerSecond() / 10);
            for (std::size_t at = 0; take && at < data.size(); at += block)
                take->append(data.data() + at, std::min(block, data.size() - at));
            const std::string path = take ? take->path() : std::string();
            [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], path.data(), path.size());
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        char path[4096];
        const ssize_t n = ::read(pipeFds[0], path, sizeof path);
        ::close(pipeFds[0]);
        ::waitpid(child, nullptr, 0);
        return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
    }

    // Empty when `elsewhere` is a folder on another file system than the spool's, so that a
    // save there copies; else why it cannot serve.
    std::string whyNotAnotherFileSystem(const QTemporaryDir& elsewhere) const {
        if (!elsewhere.isValid())
            return "no /dev/shm";
        struct stat spoolFs {
        }, otherFs{};
        if (::stat(spoolDir().toLocal8Bit().constData(), &spoolFs) != 0 ||
            ::stat(elsewhere.path().toLocal8Bit().constData(), &otherFs) != 0) {
            ADD_FAILURE() << "cannot look at the two folders: " << std::strerror(errno);
            return "the folders cannot be looked at";
        }
        if (spoolFs.st_dev == otherFs.st_dev)
            return "/dev/shm is on the same file system";
        return {};
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(TakeFileTest, SavedTakeIsAPlainPcmWavOfTheStreamBytes) {
    struct Case {
        WaveFormat format;
        int subtype;
    };
    for (const Case& c :
         {Case{{44100, 16, 2}, SF_FORMAT_PCM_16}, Case{{48000, 8, 2}, SF_FORMAT_PCM_U8},
          Case{{11025, 8, 1}, SF_FORMAT_PCM_U8}}) {
        auto take = make(c.format);
        ASSERT_TRUE(take);
        // More than a second, so the periodic header update runs in between; an odd length
        // for the 8-bit mono format, so the pad byte is needed.
        const std::vector<unsigned char> data =
            ramp(static_cast<std::size_t>(c.format.bytesPerSecond()) * 3 / 2 + 1);
        const std::size_t whole = data.size() - data.size() % c.format.bytesPerFrame();
        ASSERT_TRUE(take->append(data.data(), whole));
        // A gap the server reports comes as silence, through the writer as while recording.
        TakeWriter writer(*take);
        ASSERT_EQ(writer.appendSilence(static_cast<std::size_t>(c.format.bytesPerFrame()) * 10),
                  SinkAnswer::Kept);
        writer.finish();

        const std::string target = dir() + "/out.wav";
        ASSERT_TRUE(take->saveTo(target, nullptr));
        const Wav wav = readWav(target);
        EXPECT_EQ(wav.info.samplerate, c.format.samplesPerSec);
        EXPECT_EQ(wav.info.channels, c.format.channels);
        EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | c.subtype);
        ASSERT_EQ(wav.raw.size(), whole + c.format.bytesPerFrame() * 10u);
        EXPECT_TRUE(
            std::equal(data.begin(), data.begin() + static_cast<long>(whole), wav.raw.begin()));
        const unsigned char silent = c.format.bitsPerSample == 8 ? 0x80 : 0x00;
        EXPECT_TRUE(std::all_of(wav.raw.begin() + static_cast<long>(whole), wav.raw.end(),
                                [&](unsigned char b) { return b == silent; }));
        EXPECT_EQ(readAll(target).size() % 2, 0u) << "RIFF chunks end on an even byte";
    }
}

TEST_F(TakeFileTest, HeaderOnDiskFollowsTheRecordingAboutOnceASecond) {
    const WaveFormat format{8000, 16, 2};
    auto take = make(format);
    const std::vector<unsigned char> block = ramp(3200); // 100 ms
    for (int i = 0; i < 25; ++i)
        ASSERT_TRUE(take->append(block.data(), block.size()));

    // The header as it stands on disk, as a crash would leave it: at most a second behind.
    const std::string bytes = readAll(take->path());
    const auto facts =
        readTakeHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    ASSERT_TRUE(facts);
    EXPECT_GE(facts->dataBytes, 25u * 3200 - static_cast<unsigned>(format.bytesPerSecond()));
    EXPECT_LE(facts->dataBytes, 25u * 3200);
}

TEST_F(TakeFileTest, SaveOnTheSameFileSystemMovesTheTakeAndReplacesAnOldFile) {
    const std::string target = dir() + "/take.wav";
    { std::ofstream(target, std::ios::binary) << std::string(100000, 'x'); }
    ::chmod(target.c_str(), 0640);
    auto take = make({8000, 8, 1});
    const std::vector<unsigned char> data = ramp(1000);
    ASSERT_TRUE(take->append(data.data(), data.size()));
    struct stat before {};
    ASSERT_EQ(::stat(take->path().c_str(), &before), 0);

    ASSERT_TRUE(take->saveTo(target, nullptr));
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "renamed, not copied";
    EXPECT_EQ(after.st_mode & 0777, 0640u) << "the replaced file's mode";
    EXPECT_EQ(readWav(target).raw, data);
    EXPECT_FALSE(take->inSpool());
    EXPECT_EQ(take->path(), target);
    EXPECT_TRUE(entries(spoolDir()).isEmpty()) << "nothing is left of the take's making either";
    EXPECT_EQ(entries(m_dir.path()), (QStringList{"spool", "take.wav"}));

    // A second save copies the saved file.
    const std::string again = dir() + "/again.wav";
    ASSERT_TRUE(take->saveTo(again, nullptr));
    EXPECT_EQ(readWav(again).raw, data);
    EXPECT_EQ(readWav(target).raw, data);
}

TEST_F(TakeFileTest, SaveToAnotherFileSystemCopiesWithProgressAndCanBeCancelled) {
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/sorvinta-test-XXXXXX"));
    if (const std::string why = whyNotAnotherFileSystem(elsewhere); !why.empty())
        GTEST_SKIP() << why;

    const WaveFormat format{48000, 16, 2};
    auto take = make(format);
    const std::vector<unsigned char> data = ramp(3 << 20); // three copy blocks and a bit
    ASSERT_TRUE(take->append(data.data(), data.size()));

    const std::string target = elsewhere.filePath("copy.wav").toStdString();
    CountingProgress cancelling;
    cancelling.cancelAfter = 2;
    const auto cancelled = take->saveTo(target, &cancelling);
    ASSERT_FALSE(cancelled);
    EXPECT_EQ(cancelled.cause().error, ECANCELED);
    EXPECT_TRUE(entries(elsewhere.path()).isEmpty()) << "the partial copy is removed";
    EXPECT_TRUE(take->inSpool());
    EXPECT_EQ(cancelling.ends, 1);

    CountingProgress progress;
    ASSERT_TRUE(take->saveTo(target, &progress));
    EXPECT_EQ(readWav(target).raw, data);
    EXPECT_TRUE(entries(spoolDir()).isEmpty());
    ASSERT_GE(progress.calls.size(), 4u);
    EXPECT_EQ(progress.calls.front(), 0u);
    EXPECT_EQ(progress.last, progress.whole);
    EXPECT_TRUE(std::is_sorted(progress.calls.begin(), progress.calls.end()));
    EXPECT_EQ(progress.ends, 1);
}

TEST_F(TakeFileTest, FailedSaveKeepsTheTakeAndLeavesTheTargetFolderAsItWas) {
    auto take = make({8000, 16, 1});
    const std::vector<unsigned char> data = ramp(800);
    ASSERT_TRUE(take->append(data.data(), data.size()));

    ASSERT_TRUE(QDir(m_dir.path()).mkpath("busy/inner"));
    { std::ofstream plain(dir() + "/plain"); }
    struct Case {
        std::string target;
        const char* reason;
    };
    for (const Case& c : {Case{dir() + "/missing/a.wav", "its folder does not exist"},
                          Case{dir() + "/plain/a.wav", "a part of its folder is not a folder"},
                          Case{dir() + "/busy", "it is a folder, not a file"}}) {
        const auto saved = take->saveTo(c.target, nullptr);
        ASSERT_FALSE(saved) << c.target;
        EXPECT_EQ(placeReason(saved.cause()), c.reason);
    }
    EXPECT_EQ(entries(m_dir.path()), (QStringList{"busy", "plain", "spool"}));
    EXPECT_TRUE(take->inSpool());
    ASSERT_TRUE(take->saveTo(dir() + "/at-last.wav", nullptr));
    EXPECT_EQ(readWav(dir() + "/at-last.wav").raw, data);
}

TEST_F(TakeFileTest, LiveTakesAreLeftAloneAndReleasedOnesComeBack) {
    auto live = make({11025, 8, 1});
    const std::vector<unsigned char> data = ramp(5000);
    ASSERT_TRUE(live->append(data.data(), data.size()));
    EXPECT_TRUE(spool().leftovers().empty());
    const auto other = TakeFile::adopt(live->path());
    ASSERT_FALSE(other);
    EXPECT_EQ(other.cause(), TakeFile::NotAdopted::Live);

    const std::string path = live->path();
    live.reset(); // released, e.g. after a failed save
    auto found = spool().leftovers();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->path(), path);
    EXPECT_EQ(found[0]->dataBytes(), data.size());
    EXPECT_NEAR(static_cast<double>(found[0]->started()), static_cast<double>(std::time(nullptr)),
                5.0);
    // Held by whoever adopted it, until discarded.
    EXPECT_TRUE(spool().leftovers().empty());
    EXPECT_TRUE(found[0]->discard());
    EXPECT_TRUE(entries(spoolDir()).isEmpty());
}

TEST_F(TakeFileTest, ACrashedTakeComesBackWithEveryWholeFrameOnDisk) {
    const WaveFormat format{8000, 16, 2};
    // 2.55 s and a stray byte: the header on disk says 2 s, the data holds more.
    const std::size_t bytes = static_cast<std::size_t>(format.bytesPerSecond()) * 255 / 100 + 1;
    const std::string path = takeLeftByACrash(format, bytes);
    ASSERT_FALSE(path.empty());
    const std::string left = readAll(path);
    const auto declared =
        readTakeHeader(reinterpret_cast<const unsigned char*>(left.data()), left.size());
    ASSERT_TRUE(declared);
    EXPECT_LT(declared->dataBytes, bytes - 1);

    auto found = spool().leftovers();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->dataBytes(), bytes - 1);
    const Wav wav = readWav(path);
    EXPECT_EQ(wav.info.frames * 4, static_cast<sf_count_t>(bytes - 1));
    const std::vector<unsigned char> data = ramp(bytes - 1);
    EXPECT_EQ(wav.raw, data);
}

TEST_F(TakeFileTest, EmptyTakesGoAndStrangeFilesStay) {
    const std::string empty = takeLeftByACrash({44100, 16, 2}, 0);
    ASSERT_FALSE(empty.empty());
    // A take killed before its header was out, one whose damaged header has nothing after it,
    // and a file that is no take at all.
    const std::string headless = spoolDir().toStdString() + "/take-20260101-120000-abcdef.wav";
    { std::ofstream(headless) << "RIFF"; }
    const std::string bare = spoolDir().toStdString() + "/take-20260101-120000-zzzzzz.wav";
    { std::ofstream(bare) << std::string(kTakeHeaderBytes, 'x'); }
    // A take that a crash caught while it was being made, before its name.
    const std::string starting = spoolDir().toStdString() + "/.new-take-qwerty";
    {
        const TakeHeaderBytes header = takeHeader({44100, 16, 2}, 0);
        std::ofstream(starting, std::ios::binary)
            .write(reinterpret_cast<const char*>(header.data()), static_cast<long>(header.size()));
    }
    const std::string notes = spoolDir().toStdString() + "/notes.txt";
    { std::ofstream(notes) << "mine"; }

    EXPECT_TRUE(spool().leftovers().empty());
    EXPECT_FALSE(std::filesystem::exists(empty));
    EXPECT_FALSE(std::filesystem::exists(headless));
    EXPECT_FALSE(std::filesystem::exists(starting));
    EXPECT_FALSE(std::filesystem::exists(bare));
    EXPECT_TRUE(std::filesystem::exists(notes));
}

// A take whose header was destroyed (random bytes, or zeros over its first 80 bytes) still
// holds its sound after the header: it comes back like any left take, read in the format of
// its name, else of a "fmt " chunk that survived, else the default, and says so. Nothing of
// the sound is lost on the way.
TEST_F(TakeFileTest, ATakeWithADamagedHeaderComesBackReadAsItWasRecorded) {
    struct Case {
        const char* name;
        std::string fileName;
        std::function<void(std::string&)> damage; // on the first 80 bytes
        WaveFormat recorded;
        WaveFormat readAs;
    };
    const auto zeros = [](std::string& h) { h.assign(kTakeHeaderBytes, '\0'); };
    const auto randomBytes = [](std::string& h) {
        std::uint32_t x = 12345;
        for (char& c : h)
            c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    };
    const auto upToFmt = [](std::string& h) { std::fill(h.begin(), h.begin() + 48, '\0'); };
    const std::vector<Case> cases = {
        {"zeros, the format in its name", "", zeros, {48000, 8, 2}, {48000, 8, 2}},
        {"random bytes, the format in its name", "", randomBytes, {11025, 16, 1}, {11025, 16, 1}},
        {"an older name, its fmt chunk left",
         "take-20261210-140312-olderA.wav",
         upToFmt,
         {48000, 16, 2},
         {48000, 16, 2}},
        {"an older name, nothing left",
         "take-20261210-140312-olderB.wav",
         zeros,
         {44100, 16, 2},
         kDefaultTakeFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<unsigned char> sound =
            ramp(static_cast<std::size_t>(c.recorded.bytesPerSecond() * 3 / 2 /
                                          c.recorded.bytesPerFrame() * c.recorded.bytesPerFrame()));
        std::string path = takeLeftByACrash(c.recorded, sound.size());
        ASSERT_FALSE(path.empty());
        if (!c.fileName.empty()) {
            const std::string renamed = spoolDir().toStdString() + "/" + c.fileName;
            ASSERT_EQ(::rename(path.c_str(), renamed.c_str()), 0);
            path = renamed;
        }
        std::string bytes = readAll(path);
        std::string head = bytes.substr(0, kTakeHeaderBytes);
        c.damage(head);
        bytes.replace(0, kTakeHeaderBytes, head);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        ASSERT_FALSE(
            readTakeHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));

        auto found = spool().leftovers();
        ASSERT_EQ(found.size(), 1u);
        EXPECT_TRUE(found[0]->headerWasDamaged());
        EXPECT_EQ(found[0]->format(), c.readAs);
        EXPECT_EQ(found[0]->dataBytes(), sound.size());
        const std::string target = dir() + "/saved.wav";
        ASSERT_TRUE(found[0]->saveTo(target, nullptr));
        const Wav wav = readWav(target);
        EXPECT_EQ(wav.info.samplerate, c.readAs.samplesPerSec);
        EXPECT_EQ(wav.info.channels, c.readAs.channels);
        EXPECT_EQ(wav.raw, sound) << "every byte of the sound, as it was recorded";
        EXPECT_TRUE(entries(spoolDir()).isEmpty());
    }
}

// A new take's name is on disk before its first second: the spool folder is synced once the
// name has been linked.
TEST_F(TakeFileTest, ANewTakesNameIsSyncedToDisk) {
    folderSyncs = {};
    folderSyncs.watching = true;
    auto take = make({44100, 16, 2});
    folderSyncs.watching = false;
    ASSERT_TRUE(take);
    const std::string name =
        QFileInfo(QString::fromStdString(take->path())).fileName().toStdString();
    const std::string folder = QFileInfo(spoolDir()).canonicalFilePath().toStdString();
    const bool synced =
        std::any_of(folderSyncs.seen.begin(), folderSyncs.seen.end(), [&](const auto& sync) {
            return sync.first == folder &&
                   std::count(sync.second.begin(), sync.second.end(), name) == 1;
        });
    EXPECT_TRUE(synced) << folderSyncs.seen.size() << " folder syncs, none of " << folder
                        << " holding " << name;
}

// A crash in the middle of a save to another file system leaves a hidden, half-made copy
// beside the target. The take itself is safe in the spool, and when it comes back at the next
// start, the half-made copy goes.
TEST_F(TakeFileTest, ACrashDuringACopyLeavesNoHalfMadeCopyBehind) {
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/sorvinta-test-XXXXXX"));
    if (const std::string why = whyNotAnotherFileSystem(elsewhere); !why.empty())
        GTEST_SKIP() << why;

    // The process dies without a word after the first block of the copy.
    class Crash : public CopyProgress {
    public:
        bool copied(std::uint64_t done, std::uint64_t) override {
            if (done > 0)
                ::kill(::getpid(), SIGKILL);
            return true;
        }
        void ended() override {}
    };
    const std::vector<unsigned char> data = ramp(3 << 20);
    const std::string target = elsewhere.filePath("copy.wav").toStdString();
    const pid_t child = ::fork();
    if (child == 0) {
        auto made = spool().newTake({48000, 16, 2});
        auto take = made ? std::move(made).value() : nullptr;
        if (take && take->append(data.data(), data.size())) {
            Crash crash;
            take->saveTo(target, &crash);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the copy ran to its end";
    const QStringList left = entries(elsewhere.path());
    ASSERT_EQ(left.size(), 1) << left.join(' ').toStdString();
    EXPECT_TRUE(left[0].startsWith(".sorvinta-save-"));

    auto found = spool().leftovers();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->dataBytes(), data.size());
    EXPECT_TRUE(entries(elsewhere.path()).isEmpty())
        << entries(elsewhere.path()).join(' ').toStdString();
    EXPECT_EQ(entries(spoolDir()),
              QStringList{QString::fromStdString(fileNameOf(found[0]->path()))});
    ASSERT_TRUE(found[0]->saveTo(target, nullptr));
    EXPECT_EQ(readWav(target).raw, data);
}

// A take's name tells when it started and its format.
TEST(TakeName, HoldsTheStartAndTheFormat) {
    const std::time_t started = std::time(nullptr);
    const std::string name = takeFileName(started, {48000, 8, 1}, "AbC123");
    EXPECT_EQ(name.rfind("take-", 0), 0u);
    EXPECT_NE(name.find("-48000hz-8bit-1ch-AbC123.wav"), std::string::npos) << name;
    EXPECT_EQ(takeStartFromName(name), started);
    EXPECT_EQ(takeFormatFromName(name), (WaveFormat{48000, 8, 1}));
    EXPECT_FALSE(takeFormatFromName("take-20261210-140312-abcdef.wav"));
    EXPECT_TRUE(takeStartFromName("take-20261210-140312-abcdef.wav"));
    EXPECT_FALSE(takeFormatFromName("take-20261210-140312-0hz-16bit-2ch-abcdef.wav"));
}

TEST_F(TakeFileTest, ATakePastFourGibibytesBecomesRf64) {
    const WaveFormat format{48000, 16, 2};
    const std::string path = takeLeftByACrash(format, 192000);
    ASSERT_FALSE(path.empty());
    // The rest of a long take, as a hole: the header repair only looks at the size.
    const std::uint64_t data = (9ull << 29) / 4 * 4; // 4.5 GiB of whole frames
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kTakeHeaderBytes + data)), 0);

    auto found = spool().leftovers();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->dataBytes(), data);
    std::string head(kTakeHeaderBytes, '\0');
    std::ifstream(path, std::ios::binary).read(head.data(), static_cast<long>(head.size()));
    EXPECT_EQ(head.substr(0, 4), "RF64");
    EXPECT_EQ(head.substr(12, 4), "ds64");
    SF_INFO info{};
    SNDFILE* in = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_TRUE(in) << sf_strerror(nullptr);
    EXPECT_EQ(info.format, SF_FORMAT_RF64 | SF_FORMAT_PCM_16);
    EXPECT_EQ(static_cast<std::uint64_t>(info.frames), data / 4);
    sf_close(in);
}

TEST(TakeDuration, ReadsNaturallyAtEveryLength) {
    EXPECT_EQ(takeDurationText(0.04), "0.0 s");
    EXPECT_EQ(takeDurationText(4.0), "4.0 s");
    EXPECT_EQ(takeDurationText(59.9), "59.9 s");
    EXPECT_EQ(takeDurationText(59.97), "1 min 00 s");
    EXPECT_EQ(takeDurationText(185.2), "3 min 05 s");
    EXPECT_EQ(takeDurationText(7625), "2 h 07 min");
}
