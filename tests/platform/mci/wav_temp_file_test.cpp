#include "platform/mci/wav_temp_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sndfile.h>

#include <filesystem>
#include <fstream>
#include <vector>

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

class WavTempFileTest : public ::testing::Test {
protected:
    std::string dir() const { return m_dir.path().toStdString(); }
    std::unique_ptr<WavTempFile> make(const WaveFormat& format) {
        std::string error;
        auto file = WavTempFile::create(format, &error, dir() + "/work");
        EXPECT_TRUE(file) << error;
        return file;
    }
    void SetUp() override { ASSERT_TRUE(QDir(m_dir.path()).mkdir("work")); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(WavTempFileTest, SavedFileHoldsTheStreamBytesUnderAHeaderOfTheRealFormat) {
    struct Case {
        WaveFormat format;
        int subtype;
    };
    for (const Case& c :
         {Case{{44100, 16, 2}, SF_FORMAT_PCM_16}, Case{{48000, 8, 2}, SF_FORMAT_PCM_U8},
          Case{{11025, 8, 1}, SF_FORMAT_PCM_U8}}) {
        auto file = make(c.format);
        ASSERT_TRUE(file);
        // More than a second, so the periodic header update runs in between.
        const std::vector<unsigned char> data =
            ramp(static_cast<std::size_t>(c.format.bytesPerSecond()) * 3 / 2);
        ASSERT_TRUE(file->append(data.data(), data.size()));
        ASSERT_TRUE(file->appendSilence(static_cast<std::size_t>(c.format.bytesPerFrame()) * 10));
        EXPECT_EQ(file->dataBytes(), data.size() + c.format.bytesPerFrame() * 10u);

        const std::string target = dir() + "/out.wav";
        ASSERT_EQ(file->saveAs(target), "");

        SF_INFO info{};
        SNDFILE* in = sf_open(target.c_str(), SFM_READ, &info);
        ASSERT_TRUE(in) << sf_strerror(nullptr);
        EXPECT_EQ(info.samplerate, c.format.samplesPerSec);
        EXPECT_EQ(info.channels, c.format.channels);
        EXPECT_EQ(info.format, SF_FORMAT_WAV | c.subtype);
        EXPECT_EQ(static_cast<std::uint64_t>(info.frames) * c.format.bytesPerFrame(),
                  file->dataBytes());
        std::vector<unsigned char> back(data.size() + c.format.bytesPerFrame() * 10u);
        EXPECT_EQ(sf_read_raw(in, back.data(), static_cast<sf_count_t>(back.size())),
                  static_cast<sf_count_t>(back.size()));
        sf_close(in);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin()));
        const unsigned char silent = c.format.bitsPerSample == 8 ? 0x80 : 0x00;
        EXPECT_TRUE(std::all_of(back.begin() + static_cast<long>(data.size()), back.end(),
                                [&](unsigned char b) { return b == silent; }));
    }
}

TEST_F(WavTempFileTest, HeaderOnDiskFollowsTheRecordingAboutOnceASecond) {
    const WaveFormat format{8000, 16, 2};
    auto file = make(format);
    const std::vector<unsigned char> block = ramp(3200); // 100 ms
    for (int i = 0; i < 25; ++i)
        ASSERT_TRUE(file->append(block.data(), block.size()));

    // The header as it stands on disk, as a crash would leave it: at most a second is missing.
    const std::string bytes = readAll(file->path());
    const std::size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    ASSERT_GE(bytes.size(), data + 8);
    std::uint32_t declared = 0;
    for (int i = 3; i >= 0; --i)
        declared = declared * 256 + static_cast<unsigned char>(bytes[data + 4 + i]);
    EXPECT_GE(declared, 25u * 3200 - static_cast<unsigned>(format.bytesPerSecond()));
    EXPECT_LE(declared, 25u * 3200);
}

TEST_F(WavTempFileTest, SaveReplacesAnExistingFileAndLeavesNoStrayFiles) {
    const std::string target = dir() + "/take.wav";
    {
        std::ofstream old(target, std::ios::binary);
        old << std::string(100000, 'x');
    }
    auto file = make({8000, 8, 1});
    const std::vector<unsigned char> data = ramp(1000);
    ASSERT_TRUE(file->append(data.data(), data.size()));
    ASSERT_EQ(file->saveAs(target), "");

    const std::string saved = readAll(target);
    ASSERT_GT(saved.size(), 1000u);
    EXPECT_LT(saved.size(), 2000u);
    EXPECT_EQ(saved.substr(0, 4), "RIFF");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"take.wav"});
}

TEST_F(WavTempFileTest, FailedSaveLeavesTargetAndFolderAsTheyWere) {
    auto file = make({8000, 16, 1});
    const std::vector<unsigned char> data = ramp(800);
    ASSERT_TRUE(file->append(data.data(), data.size()));

    // A folder that does not exist, a "folder" that is a file, and a target that is a folder
    // (the copy is written, then the rename fails: the copy must go).
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("busy/inner"));
    { std::ofstream plain(dir() + "/plain"); }
    for (const std::string& target :
         {dir() + "/missing/a.wav", dir() + "/plain/a.wav", dir() + "/busy"}) {
        const std::string why = file->saveAs(target);
        EXPECT_FALSE(why.empty()) << target;
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"busy", "plain", "work"}));
    EXPECT_EQ(QDir(m_dir.path() + "/busy").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"inner"});
}

TEST_F(WavTempFileTest, TemporaryFileIsUniqueAndGoesAwayWithItsOwner) {
    auto a = make({11025, 8, 1});
    auto b = make({11025, 8, 1});
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->path(), b->path());
    const std::string path = a->path();
    EXPECT_TRUE(std::filesystem::exists(path));
    a.reset();
    EXPECT_FALSE(std::filesystem::exists(path));

    std::string error;
    EXPECT_FALSE(WavTempFile::create({11025, 8, 1}, &error, dir() + "/nowhere"));
    EXPECT_NE(error.find("nowhere"), std::string::npos);
}
