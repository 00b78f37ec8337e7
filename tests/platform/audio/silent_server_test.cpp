// A server that takes the connection and then says nothing must make every stream fail within
// the connection's bound, through the stream's usual failure.
#include "platform/audio/pulse_connection.h"
#include "platform/audio/pulse_loop_lock.h"
#include "platform/audio/pulse_playback.h"
#include "platform/audio/pulse_record_stream.h"
#include "platform/audio/pulse_wave_input.h"
#include "platform/audio/record_sink.h"
#include "platform/audio/sample_source.h"

#include "support/audio_server.h"
#include "support/hung_audio_server.h"

#include <gtest/gtest.h>

#include <pulse/introspect.h>

#include <chrono>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

// Room for a loaded machine on top of the bound itself; a wait without a bound never ends.
constexpr auto kAllowed = std::chrono::milliseconds(PulseConnection::kServerTimeoutMs + 1500);

class DiscardingSink : public RecordSink {
public:
    SinkAnswer append(const void*, std::size_t) override { return SinkAnswer::Kept; }
    SinkAnswer appendSilence(std::size_t) override { return SinkAnswer::Kept; }
};

// A second of silence in stereo at 44.1 kHz.
class SilenceSource : public SampleSource {
public:
    int channels() const override { return 2; }
    int sampleRate() const override { return 44100; }
    std::size_t read(std::span<float> out) override {
        const std::size_t frames = std::min<std::size_t>(out.size() / 2, m_left);
        std::fill_n(out.begin(), frames * 2, 0.0f);
        m_left -= frames;
        return frames;
    }

private:
    std::size_t m_left = 44100;
};

struct SilentCase {
    const char* name;
    // Runs the stream's start against the silent server; true when it failed as it should.
    std::function<bool()> failsAsUsual;
};

class SilentServer : public testing::TestWithParam<SilentCase> {};

TEST_P(SilentServer, StreamFailsWithinTheBound) {
    HungAudioServer server;
    ASSERT_TRUE(server.listening());
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(GetParam().failsAsUsual());
    const auto took = Clock::now() - start;
    EXPECT_LT(took, kAllowed) << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                              << " ms";
    EXPECT_GE(server.accepted(), 1) << "the stream never reached the silent server";
}

INSTANTIATE_TEST_SUITE_P(
    Streams, SilentServer,
    testing::Values(
        SilentCase{"Record",
                   [] {
                       DiscardingSink sink;
                       PulseRecordStream stream;
                       const auto result = stream.start({44100, 16, 2}, sink, "silent test");
                       return !result && result.cause() == AudioCause::ServerUnreachable &&
                              !stream.failed();
                   }},
        // Not taken for a server without inputs: start-up names the server, not the devices.
        SilentCase{"CaptureDeviceList",
                   [] {
                       PulseWaveInput input;
                       return input.deviceNames().empty() && !input.serverAnswered();
                   }},
        SilentCase{"CaptureOpen",
                   [] {
                       PulseWaveInput input;
                       return input.open(0, {11025, 16, 1}) == 0;
                   }},
        SilentCase{"Playback",
                   [] {
                       SilenceSource source;
                       PulsePlayback playback;
                       return !playback.start(source) && !playback.active() &&
                              playback.playedFrames() == 0;
                   }}),
    [](const testing::TestParamInfo<SilentCase>& info) { return info.param.name; });

// A server that answered the connect and then stops answering: a new stream and a query on
// the open connection give up within the same bound.
TEST(SilentServer, ConnectionThatGoesQuietFailsItsNextWaits) {
    REQUIRE_AUDIO_SERVER();
    HungAudioServer relay(HungAudioServer::currentServerPath());
    ASSERT_TRUE(relay.listening());
    PulseConnection connection;
    ASSERT_TRUE(connection.open("silent test"));
    relay.mute();

    PulseLoopLock lock(connection.loop());
    Clock::time_point start = Clock::now();
    const pa_sample_spec spec{PA_SAMPLE_S16LE, 44100, 2};
    pa_stream* stream = connection.newStream("silent test", spec);
    ASSERT_NE(stream, nullptr);
    ASSERT_GE(pa_stream_connect_record(stream, nullptr, nullptr, PA_STREAM_NOFLAGS), 0);
    EXPECT_FALSE(connection.waitUntilReady());
    EXPECT_LT(Clock::now() - start, kAllowed);

    start = Clock::now();
    EXPECT_FALSE(connection.finish(pa_context_get_server_info(
        connection.context(), [](pa_context*, const pa_server_info*, void*) {}, nullptr)));
    EXPECT_LT(Clock::now() - start, kAllowed);
}

} // namespace
