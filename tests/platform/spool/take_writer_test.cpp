#include "platform/spool/take_file.h"
#include "platform/spool/take_header.h"
#include "platform/spool/take_writer.h"
#include "support/small_file_system.h"
#include "support/stalling_sync.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

// 8,000 bytes a second: a sync after every 8,000 bytes.
constexpr WaveFormat kSlowFormat{8000, 8, 1};

std::vector<unsigned char> pattern(std::size_t bytes) {
    std::vector<unsigned char> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<unsigned char>(i * 7 + i / 251);
    return data;
}

std::vector<unsigned char> dataOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> all((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
    return {all.begin() + static_cast<std::ptrdiff_t>(kTakeHeaderBytes), all.end()};
}

// Offers `data` piece by piece as a stream would, offering a piece again while there is no room.
void feed(TakeWriter& writer, const unsigned char* data, std::size_t bytes, std::size_t piece) {
    for (std::size_t at = 0; at < bytes;) {
        const std::size_t n = std::min(piece, bytes - at);
        const SinkAnswer answer = writer.append(data + at, n);
        ASSERT_NE(answer, SinkAnswer::Refused);
        if (answer == SinkAnswer::NoRoom)
            std::this_thread::yield();
        else
            at += n;
    }
}

class TakeWriterTest : public ::testing::Test {
protected:
    std::unique_ptr<TakeFile> newTake(const std::string& folder) {
        auto take = TakeFile::create(folder, kSlowFormat);
        EXPECT_TRUE(take) << (take ? 0 : take.cause().error);
        return take ? std::move(take).value() : nullptr;
    }
    QTemporaryDir dir;
};

} // namespace

// Pieces that do not divide the ring wrap round its end at every place; what reaches the take
// is every byte, in order.
TEST_F(TakeWriterTest, EveryByteReachesTheTakeInOrder) {
    for (const std::size_t piece : {1u, 7u, 300u, 999u}) {
        auto take = newTake(dir.path().toStdString());
        ASSERT_TRUE(take);
        const std::vector<unsigned char> sent = pattern(50000);
        TakeWriter writer(*take, 1000);
        feed(writer, sent.data(), sent.size(), piece);
        EXPECT_EQ(writer.keptBytes(), sent.size());
        writer.finish();
        take->finish();
        EXPECT_EQ(dataOf(take->path()), sent) << "pieces of " << piece;
        take->discard();
    }
}

// While the disk stalls, the ring takes what fits and says when it is full; nothing it took is
// lost, and nothing it refused is in the take.
TEST_F(TakeWriterTest, WhileTheDiskStallsAFullRingTakesNothingMore) {
    auto take = newTake(dir.path().toStdString());
    ASSERT_TRUE(take);
    const std::vector<unsigned char> sent = pattern(13000);
    stalling_sync::stallCall(1, 1500);
    TakeWriter writer(*take, 4000);
    // A second's worth: the take syncs, and that sync stalls.
    feed(writer, sent.data(), 8000, 1000);
    for (int i = 0; i < 2000 && stalling_sync::calls() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(stalling_sync::calls(), 1);

    EXPECT_EQ(writer.append(sent.data() + 8000, 4000), SinkAnswer::Kept);
    EXPECT_EQ(writer.append(sent.data() + 12000, 1), SinkAnswer::NoRoom);
    EXPECT_EQ(writer.keptBytes(), 12000u);
    writer.finish();
    EXPECT_EQ(take->dataBytes(), 12000u);
    take->finish();
    EXPECT_EQ(dataOf(take->path()), std::vector<unsigned char>(sent.begin(), sent.begin() + 12000));
    take->discard();
}

// A disk that fills up ends the take where it filled: the writer refuses more, and what it says
// the take kept is what the file holds.
TEST_F(TakeWriterTest, AFullDiskEndsTheTakeWhereItFilled) {
    SmallFileSystem small(64 * 1024);
    if (!small.mounted())
        GTEST_SKIP() << small.why();
    auto take = newTake(small.path());
    ASSERT_TRUE(take);
    const std::vector<unsigned char> sent = pattern(200000);
    TakeWriter writer(*take, 4000);
    SinkAnswer answer = SinkAnswer::Kept;
    for (std::size_t at = 0; at < sent.size() && answer != SinkAnswer::Refused;) {
        answer = writer.append(sent.data() + at, 500);
        if (answer == SinkAnswer::Kept)
            at += 500;
        else
            std::this_thread::yield();
    }
    EXPECT_EQ(answer, SinkAnswer::Refused);
    EXPECT_TRUE(writer.failed());
    EXPECT_NE(take->writeError(), 0);
    writer.finish();
    const std::uint64_t kept = writer.keptBytes();
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 64u * 1024);
    take->finish();
    const std::vector<unsigned char> onDisk = dataOf(take->path());
    EXPECT_EQ(onDisk.size(), take->dataBytes());
    EXPECT_LE(take->dataBytes(), kept);
    EXPECT_EQ(onDisk, std::vector<unsigned char>(sent.begin(), sent.begin() + onDisk.size()));
}
