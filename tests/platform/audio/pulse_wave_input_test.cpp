#include "platform/audio/pulse_wave_input.h"

#include "support/audio_server.h"
#include "support/hung_audio_server.h"
#include "support/private_audio_server.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

WaveFormat captureFormat() {
    return {11025, 16, 1};
}

int indexOf(const PulseWaveInput& input, int count, const std::string& source) {
    for (int i = 0; i < count; ++i)
        if (input.sourceName(i) == source)
            return i;
    return -1;
}

// Stands in for the window's wait: sleeps until the stream's notifier calls, never in slices.
class NotifiedWait {
public:
    explicit NotifiedWait(PulseWaveInput& input) {
        input.setNotifier([this] {
            {
                std::lock_guard lock(m_mutex);
                ++m_calls;
            }
            m_called.notify_all();
        });
    }
    // Looks at the block, then sleeps until the next notice, for up to `limitMs` in all (the
    // burst source may hold its first data back for about two seconds).
    WaveWait forBlock(PulseWaveInput& input, WaveInputHandle h, WaveBlock& block, int limitMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        std::unique_lock lock(m_mutex);
        for (;;) {
            const int seen = m_calls;
            lock.unlock();
            const WaveWait r = input.waitDone(h, block, 0);
            lock.lock();
            if (r != WaveWait::Pending)
                return r;
            if (!m_called.wait_until(lock, deadline, [&] { return m_calls != seen; }))
                return WaveWait::Pending;
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_called;
    int m_calls = 0;
};

// Frequency from the sign changes of one block of 11025 Hz samples.
double zeroCrossingHz(const std::int16_t* samples, int count) {
    int crossings = 0;
    for (int i = 1; i < count; ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    return crossings / 2.0 / (count / 11025.0);
}

// A block of `bytes` bytes over storage with a sentinel behind it.
struct SmallBlock {
    explicit SmallBlock(std::uint32_t bytes) {
        storage.fill(0x7777);
        block.data = storage.data();
        block.bufferLength = bytes;
    }
    std::vector<unsigned char> contents() const {
        const auto* p = reinterpret_cast<const unsigned char*>(storage.data());
        return {p, p + block.bufferLength};
    }
    bool done() const { return block.flags.load() & kWaveBlockDone; }
    std::array<std::int16_t, 1024> storage;
    WaveBlock block;
};

std::vector<unsigned char> bytesFrom(unsigned char first, std::size_t count) {
    std::vector<unsigned char> v(count);
    for (std::size_t i = 0; i < count; ++i)
        v[i] = static_cast<unsigned char>(first + i);
    return v;
}

TEST(BlockFillerTest, ChunksThatArriveWithTheFillingOneStartTheNextBlock) {
    BlockFiller filler;
    SmallBlock first(8), second(8);
    const auto a = bytesFrom(10, 5), b = bytesFrom(20, 6), c = bytesFrom(30, 4),
               d = bytesFrom(40, 2);

    EXPECT_FALSE(filler.queue(first.block));
    filler.beginDelivery();
    EXPECT_EQ(filler.take(a.data(), a.size()), 0u);
    EXPECT_EQ(filler.take(b.data(), b.size()), 3u); // 3 bytes of b complete the block
    EXPECT_TRUE(first.done());
    EXPECT_EQ(first.block.bytesRecorded, 8u);
    EXPECT_EQ(first.contents(), (std::vector<unsigned char>{10, 11, 12, 13, 14, 20, 21, 22}));
    EXPECT_EQ(first.storage[4], 0x7777); // nothing past the block
    EXPECT_EQ(filler.take(c.data(), c.size()), 0u);
    EXPECT_EQ(filler.keptBytes(), 7u);

    EXPECT_FALSE(filler.queue(second.block));
    filler.beginDelivery();
    EXPECT_EQ(filler.take(d.data(), d.size()), 1u);
    EXPECT_EQ(second.contents(), (std::vector<unsigned char>{23, 24, 25, 30, 31, 32, 33, 40}));
    EXPECT_EQ(filler.keptBytes(), 1u);
}

TEST(BlockFillerTest, ADeliveryWithNoBlockQueuedIsDroppedWithTheKeptData) {
    BlockFiller filler;
    SmallBlock first(4), second(4);
    const auto a = bytesFrom(1, 6), late = bytesFrom(50, 4), fresh = bytesFrom(90, 4);

    filler.queue(first.block);
    filler.beginDelivery();
    EXPECT_EQ(filler.take(a.data(), a.size()), 4u);
    EXPECT_EQ(filler.keptBytes(), 2u);
    filler.beginDelivery(); // the loop was held: this arrives between blocks
    EXPECT_EQ(filler.take(late.data(), late.size()), 0u);
    EXPECT_EQ(filler.keptBytes(), 0u);

    EXPECT_FALSE(filler.queue(second.block));
    filler.beginDelivery();
    EXPECT_EQ(filler.take(fresh.data(), fresh.size()), 4u);
    EXPECT_EQ(second.contents(), fresh);
}

TEST(BlockFillerTest, KeptDataIsCappedAtOneBlockAndMayFillTheNextAtOnce) {
    BlockFiller filler;
    SmallBlock first(1024), second(1024);
    std::vector<unsigned char> burst(3000);
    for (std::size_t i = 0; i < burst.size(); ++i)
        burst[i] = static_cast<unsigned char>(i / 7);

    filler.queue(first.block);
    filler.beginDelivery();
    EXPECT_EQ(filler.take(burst.data(), burst.size()), 1024u);
    EXPECT_EQ(filler.keptBytes(), BlockFiller::kKeptCapacity);
    EXPECT_TRUE(filler.queue(second.block));
    EXPECT_TRUE(second.done());
    EXPECT_FALSE(filler.hasBlock());
    EXPECT_EQ(second.contents(),
              std::vector<unsigned char>(burst.begin() + 1024, burst.begin() + 2048));
}

TEST(BlockFillerTest, HolesReadAsSilenceAndResetHandsTheBlockBack) {
    BlockFiller filler;
    SmallBlock holed(4), partial(8);
    const auto a = bytesFrom(5, 3);

    filler.queue(holed.block);
    filler.beginDelivery();
    EXPECT_EQ(filler.take(nullptr, 4), 4u);
    EXPECT_EQ(holed.contents(), std::vector<unsigned char>(4, 0));

    filler.queue(partial.block);
    filler.take(a.data(), a.size());
    filler.reset();
    EXPECT_TRUE(partial.done());
    EXPECT_EQ(partial.block.bytesRecorded, 3u);
    EXPECT_FALSE(filler.hasBlock());
    filler.reset(); // nothing queued: harmless
}

TEST(PulseWaveInputTest, ListsTheDefaultSourceFirstAndNoMonitors) {
    REQUIRE_AUDIO_SERVER();
    PulseWaveInput input;
    const std::vector<std::string> names = input.deviceNames();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(input.sourceName(0), "virtmic");
    std::vector<std::string> sources;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        EXPECT_FALSE(names[i].empty());
        sources.push_back(input.sourceName(i));
        EXPECT_EQ(sources.back().find(".monitor"), std::string::npos) << sources.back();
    }
    EXPECT_NE(indexOf(input, static_cast<int>(names.size()), "sine"), -1);
    EXPECT_EQ(input.sourceName(static_cast<int>(names.size())), "");
    EXPECT_TRUE(input.serverAnswered());
}

class PulseWaveInputToneTest : public ::testing::TestWithParam<const char*> {};

TEST_P(PulseWaveInputToneTest, QueuedBlocksHoldTheSourcesTone) {
    REQUIRE_AUDIO_SERVER();
    PulseWaveInput input;
    const int device = indexOf(input, static_cast<int>(input.deviceNames().size()), GetParam());
    ASSERT_NE(device, -1);
    NotifiedWait wait(input);
    const WaveInputHandle h = input.open(device, captureFormat());
    ASSERT_NE(h, 0u);
    input.start(h);

    // A sentinel after the block shows the stream writes no more than it was offered.
    std::array<std::int16_t, 1024> samples;
    for (int blockNo = 0; blockNo < 4; ++blockNo) {
        samples.fill(0x1234);
        WaveBlock block;
        block.data = samples.data();
        block.bufferLength = 1024;
        input.addBuffer(h, block);
        ASSERT_EQ(wait.forBlock(input, h, block, 5000), WaveWait::Done) << "block " << blockNo;
        EXPECT_EQ(block.bytesRecorded, 1024u);
        for (int i = 512; i < 1024; ++i)
            ASSERT_EQ(samples[i], 0x1234) << i;
        if (blockNo == 0)
            continue; // the first block may start before the tone does
        const double hz = zeroCrossingHz(samples.data(), 512);
        EXPECT_GT(hz, 900.0) << "block " << blockNo;
        EXPECT_LT(hz, 1100.0) << "block " << blockNo;
    }
    PulseWaveInput::BlockTiming timing;
    EXPECT_TRUE(input.lastBlockTiming(h, timing));
    input.reset(h);
    input.close(h);
}

INSTANTIATE_TEST_SUITE_P(Sources, PulseWaveInputToneTest, ::testing::Values("virtmic", "sine"));

TEST(PulseWaveInputTest, ResetAndCloseAreSafeInEveryState) {
    REQUIRE_AUDIO_SERVER();
    PulseWaveInput input;
    input.deviceNames();
    WaveBlock block;
    std::array<std::int16_t, 512> samples{};
    block.data = samples.data();
    block.bufferLength = 1024;

    // No stream, and handles that were never given out.
    input.reset(0);
    input.close(0);
    input.reset(12345);
    input.close(12345);
    input.addBuffer(0, block);
    EXPECT_EQ(input.waitDone(0, block, 10), WaveWait::Failed);

    // Opened but never started.
    WaveInputHandle h = input.open(0, captureFormat());
    ASSERT_NE(h, 0u);
    input.reset(h);
    input.close(h);
    input.close(h);

    // Reset with a block queued hands it back done; afterwards the handle is gone.
    h = input.open(0, captureFormat());
    ASSERT_NE(h, 0u);
    input.addBuffer(h, block);
    input.reset(h);
    EXPECT_TRUE(block.flags.load() & kWaveBlockDone);
    input.reset(h);
    input.close(h);
    EXPECT_EQ(input.waitDone(h, block, 10), WaveWait::Failed);

    // Running with a block queued, closed without a reset; then one left open for the destructor.
    h = input.open(0, captureFormat());
    ASSERT_NE(h, 0u);
    input.start(h);
    block.flags = 0;
    input.addBuffer(h, block);
    input.close(h);
    EXPECT_TRUE(block.flags.load() & kWaveBlockDone);
    EXPECT_NE(input.open(0, captureFormat()), 0u);
}

TEST(PulseWaveInputTest, OpenRefusesBadDevicesAndFormats) {
    REQUIRE_AUDIO_SERVER();
    PulseWaveInput input;
    const int count = static_cast<int>(input.deviceNames().size());
    EXPECT_EQ(input.open(-1, captureFormat()), 0u);
    EXPECT_EQ(input.open(count, captureFormat()), 0u);
    for (const WaveFormat& bad :
         {WaveFormat{11025, 12, 1}, WaveFormat{11025, 24, 1}, WaveFormat{0, 16, 1},
          WaveFormat{11025, 16, 0}, WaveFormat{11025, 16, 300}, WaveFormat{-1, 16, 1}})
        EXPECT_EQ(input.open(0, bad), 0u) << bad.samplesPerSec << " Hz, " << bad.bitsPerSample
                                          << " bits, " << bad.channels << " channels";
}

// The listed default input goes away and another becomes the default: opening entry 0 again
// opens the new default, not the name that was listed.
TEST(PulseWaveInputTest, TheFirstEntryOpensTheDefaultInputOfTheMoment) {
    QTemporaryDir dir;
    PrivateAudioServer server(dir.filePath("server").toStdString());
    ASSERT_TRUE(server.running()) << "see " << dir.filePath("server/pa.log").toStdString();
    const ScopedEnvironment pulse("PULSE_SERVER", server.clientEnvironment().at("PULSE_SERVER"));
    const std::optional<std::string> module =
        server.pactl({"load-module", "module-sine-source", "source_name=usbmic", "frequency=440"});
    ASSERT_TRUE(module);
    ASSERT_TRUE(server.pactl({"set-default-source", "usbmic"}));
    PulseWaveInput input;
    ASSERT_GE(input.deviceNames().size(), 2u);
    ASSERT_EQ(input.sourceName(0), "usbmic");

    ASSERT_TRUE(server.pactl({"unload-module", std::to_string(std::stoi(*module))}));
    ASSERT_TRUE(server.pactl({"set-default-source", "sine"}));
    const WaveInputHandle h = input.open(0, captureFormat());
    EXPECT_NE(h, 0u) << "the unplugged input was opened by its old name";
    input.close(h);
}

TEST(PulseWaveInputTest, WithoutAServerThereAreNoDevicesAndNothingOpens) {
    ScopedEnvironment gone("PULSE_SERVER", "unix:/nonexistent/sorvinta-test/native");
    PulseWaveInput input;
    EXPECT_TRUE(input.deviceNames().empty());
    EXPECT_FALSE(input.serverAnswered());
    EXPECT_EQ(input.open(0, captureFormat()), 0u);
}

} // namespace
