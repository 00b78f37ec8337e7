#include "platform/multimedia/pulse_multimedia_control.h"
#include "platform/multimedia/sound_file_reader.h"
#include "platform/spool/take_header.h"

#include "support/audio_server.h"
#include "support/hung_audio_server.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Writes `seconds` of a 440 Hz sine at half scale in every channel; a format without a
// container is written as a plain little-endian WAV file.
bool writeSine(const std::string& path, int format, int channels, int rate, double seconds) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = (format & SF_FORMAT_TYPEMASK) ? format : SF_FORMAT_WAV | format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const auto frames = static_cast<sf_count_t>(std::llround(seconds * rate));
    std::vector<float> buf(static_cast<std::size_t>(frames * channels));
    for (sf_count_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            buf[static_cast<std::size_t>(i * channels + c)] =
                0.5f * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * double(i) / rate));
    const bool ok = sf_writef_float(file, buf.data(), frames) == frames;
    sf_close(file);
    return ok;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string le32(std::uint32_t v) {
    return {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char(v >> 24)};
}
std::string le16(std::uint16_t v) {
    return {char(v & 0xff), char(v >> 8)};
}

// A canonical 44-byte PCM header whose fields each case may spoil, followed by `data`.
std::string wavBytes(std::uint16_t channels, std::uint32_t rate, std::uint32_t dataSize,
                     const std::string& data, std::uint16_t bits = 16) {
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    return "RIFF" + le32(36 + dataSize) + "WAVEfmt " + le32(16) + le16(1) + le16(channels) +
           le32(rate) + le32(rate * align) + le16(align) + le16(bits) + "data" + le32(dataSize) +
           data;
}

// Polls until `done` or the deadline; the deadline is generous so a busy machine cannot fail it.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds deadline = 10s) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (done())
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return done();
}

class PulseMultimediaControlTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const {
        return m_dir.filePath(QString::fromStdString(name)).toStdString();
    }

    // Opens a fresh 2 s stereo 16-bit file.
    void openSine(double seconds = 2.0) {
        const std::string p = path("sine.wav");
        ASSERT_TRUE(writeSine(p, SF_FORMAT_PCM_16, 2, 44100, seconds));
        m_control.setFileName(p);
        m_control.setCommand("Open");
        ASSERT_EQ(m_control.length(), std::lround(seconds * 1000));
    }

    // The position once the server's clock has caught up with a pause: two readings a
    // quarter second apart agree.
    std::int32_t settledPosition() {
        std::int32_t last = m_control.position();
        waitFor([&] {
            std::this_thread::sleep_for(250ms);
            const std::int32_t now = m_control.position();
            const bool same = now == last;
            last = now;
            return same;
        });
        return last;
    }

    QTemporaryDir m_dir;
    PulseMultimediaControl m_control;
};

struct Variant {
    const char* name;
    int format;
    int channels;
    int rate;
};

class PulseMultimediaControlVariants : public PulseMultimediaControlTest,
                                       public ::testing::WithParamInterface<Variant> {};

TEST_P(PulseMultimediaControlVariants, LengthOfATwoSecondFileIsTwoThousand) {
    const Variant v = GetParam();
    const std::string p = path(std::string(v.name) + ".wav");
    ASSERT_TRUE(writeSine(p, v.format, v.channels, v.rate, 2.0));
    m_control.setFileName(p);
    EXPECT_EQ(m_control.length(), 0) << "nothing is open before Open";
    m_control.setCommand("Open");
    EXPECT_EQ(m_control.length(), 2000);
    EXPECT_EQ(m_control.position(), 0);
    m_control.setCommand("Close");
    EXPECT_EQ(m_control.length(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PulseMultimediaControlVariants,
    ::testing::Values(Variant{"u8_mono_8000", SF_FORMAT_PCM_U8, 1, 8000},
                      Variant{"s16_stereo_44100", SF_FORMAT_PCM_16, 2, 44100},
                      Variant{"s24_6ch_96000", SF_FORMAT_PCM_24, 6, 96000},
                      Variant{"s32_stereo_44100", SF_FORMAT_PCM_32, 2, 44100},
                      Variant{"float_mono_44100", SF_FORMAT_FLOAT, 1, 44100},
                      Variant{"double_stereo_8000", SF_FORMAT_DOUBLE, 2, 8000},
                      // The limits the audio server takes.
                      Variant{"s16_32ch_8000", SF_FORMAT_PCM_16, 32, 8000},
                      Variant{"s16_mono_384000", SF_FORMAT_PCM_16, 1, 384000},
                      // The other WAVE containers.
                      Variant{"rifx_s16_stereo", SF_FORMAT_WAV | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG,
                              2, 44100},
                      Variant{"wavex_s24_6ch", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, 6, 48000},
                      Variant{"rf64_float_stereo", SF_FORMAT_RF64 | SF_FORMAT_FLOAT, 2, 44100}),
    [](const auto& info) { return std::string(info.param.name); });

// The decoder behind the control: every frame arrives, at the level it was written, whether
// the file is read from disk or from memory, and again after a rewind.
TEST_P(PulseMultimediaControlVariants, DecodesEveryFrameAtItsLevel) {
    const Variant v = GetParam();
    const std::string p = path(std::string(v.name) + ".wav");
    ASSERT_TRUE(writeSine(p, v.format, v.channels, v.rate, 0.5));
    std::ifstream in(p, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    SoundFileReader fromDisk;
    SoundFileReader fromMemory;
    ASSERT_TRUE(fromDisk.open(p));
    ASSERT_TRUE(fromMemory.openMemory(std::as_bytes(std::span(bytes.data(), bytes.size()))));
    for (SoundFileReader* reader : {&fromDisk, &fromMemory}) {
        EXPECT_EQ(reader->channels(), v.channels);
        EXPECT_EQ(reader->sampleRate(), v.rate);
        EXPECT_EQ(reader->frames(), v.rate / 2);
        for (int pass = 0; pass < 2; ++pass) {
            // An odd block size, so the last block is a short one.
            std::vector<float> block(static_cast<std::size_t>(v.channels) * 333);
            std::int64_t frames = 0;
            float peak = 0;
            while (const std::size_t got = reader->read(block)) {
                ASSERT_LE(got, 333u);
                for (std::size_t i = 0; i < got * static_cast<std::size_t>(v.channels); ++i)
                    peak = std::max(peak, std::fabs(block[i]));
                frames += static_cast<std::int64_t>(got);
            }
            EXPECT_EQ(frames, v.rate / 2) << "pass " << pass;
            EXPECT_NEAR(peak, 0.5f, 0.01f) << "pass " << pass;
            EXPECT_EQ(reader->read(block), 0u) << "stays at the end";
            ASSERT_TRUE(reader->rewind());
        }
    }
}

TEST_P(PulseMultimediaControlVariants, PlaysToTheEnd) {
    REQUIRE_AUDIO_SERVER();
    const Variant v = GetParam();
    const std::string p = path(std::string(v.name) + ".wav");
    ASSERT_TRUE(writeSine(p, v.format, v.channels, v.rate, 1.0));
    m_control.setFileName(p);
    m_control.setCommand("Open");
    ASSERT_EQ(m_control.length(), 1000);
    m_control.setCommand("Play");
    std::int32_t last = 0;
    bool monotonic = true;
    ASSERT_TRUE(waitFor([&] {
        const std::int32_t pos = m_control.position();
        monotonic = monotonic && pos >= last;
        last = pos;
        return pos == m_control.length();
    })) << "position stuck at "
        << m_control.position();
    EXPECT_TRUE(monotonic);
}

TEST_F(PulseMultimediaControlTest, PositionReachesLengthOnlyAtTheEndAndPlayThenStartsOver) {
    REQUIRE_AUDIO_SERVER();
    openSine();
    m_control.setCommand("Play");
    ASSERT_TRUE(waitFor([&] { return m_control.position() > 0; })) << "nothing is playing";
    ASSERT_TRUE(waitFor([&] { return m_control.position() == m_control.length(); }));
    // It stays at the end until told otherwise.
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(m_control.position(), 2000);

    m_control.setCommand("Play");
    EXPECT_LT(m_control.position(), 2000);
    ASSERT_TRUE(waitFor([&] { return m_control.position() == 2000; }));
}

TEST_F(PulseMultimediaControlTest, PauseHoldsThePositionAndPauseAgainResumes) {
    REQUIRE_AUDIO_SERVER();
    openSine();
    m_control.setCommand("Play");
    ASSERT_TRUE(waitFor([&] { return m_control.position() >= 300; }));
    m_control.setCommand("Pause");
    const std::int32_t held = settledPosition();
    std::this_thread::sleep_for(600ms);
    EXPECT_NEAR(m_control.position(), held, 20);
    EXPECT_LT(held, 2000);

    m_control.setCommand("Pause");
    ASSERT_TRUE(waitFor([&] { return m_control.position() > held + 200; }));
    ASSERT_TRUE(waitFor([&] { return m_control.position() == 2000; }));
}

TEST_F(PulseMultimediaControlTest, OpenOfTheOpenFileKeepsThePauseSoPlayResumes) {
    REQUIRE_AUDIO_SERVER();
    openSine();
    m_control.setCommand("Play");
    ASSERT_TRUE(waitFor([&] { return m_control.position() >= 500; }));
    m_control.setCommand("Pause");
    const std::int32_t held = settledPosition();

    // What the window's Play button sends while paused.
    m_control.setCommand("Open");
    m_control.setCommand("Play");
    EXPECT_GE(m_control.position(), held - 20) << "Play after Pause must not start over";
    ASSERT_TRUE(waitFor([&] { return m_control.position() > held + 200; }));
}

TEST_F(PulseMultimediaControlTest, StopRewindsAndKeepsTheFileOpen) {
    REQUIRE_AUDIO_SERVER();
    openSine();
    m_control.setCommand("Play");
    ASSERT_TRUE(waitFor([&] { return m_control.position() >= 500; }));
    m_control.setCommand("Stop");
    EXPECT_EQ(m_control.position(), 0);
    EXPECT_EQ(m_control.length(), 2000);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(m_control.position(), 0) << "nothing plays after Stop";

    m_control.setCommand("Play");
    ASSERT_TRUE(waitFor([&] { return m_control.position() == 2000; }));
}

TEST_F(PulseMultimediaControlTest, OpenOfAnotherFileReplacesThePlayingOne) {
    REQUIRE_AUDIO_SERVER();
    openSine();
    m_control.setCommand("Play");
    ASSERT_TRUE(waitFor([&] { return m_control.position() >= 300; }));
    const std::string other = path("other.wav");
    ASSERT_TRUE(writeSine(other, SF_FORMAT_PCM_U8, 1, 8000, 0.5));
    m_control.setFileName(other);
    m_control.setCommand("Open");
    EXPECT_EQ(m_control.length(), 500);
    EXPECT_EQ(m_control.position(), 0);
    m_control.setCommand("Play");
    ASSERT_TRUE(waitFor([&] { return m_control.position() == 500; }));
}

// Every command in every state must neither crash nor hang.
TEST_F(PulseMultimediaControlTest, EveryCommandIsSafeInEveryState) {
    const std::vector<std::vector<std::string>> sequences = {
        {"Stop", "Close", "Play", "Pause", "Close"},         // nothing chosen, never opened
        {"Open", "Play", "Pause", "Stop", "Close", "Close"}, // empty file name
        {"Bogus", "Open", "", "Close"},
    };
    for (const auto& seq : sequences) {
        PulseMultimediaControl control;
        for (const auto& cmd : seq)
            control.setCommand(cmd);
        EXPECT_EQ(control.length(), 0);
        EXPECT_EQ(control.position(), 0);
    }
    openSine(0.2);
    for (const char* cmd : {"Pause", "Stop", "Stop", "Close", "Stop", "Pause", "Play"})
        m_control.setCommand(cmd);
    EXPECT_EQ(m_control.length(), 0) << "Close ends the device";
}

struct Malformed {
    const char* name;
    std::function<std::string()> bytes; // empty function: the file does not exist
};

class PulseMultimediaControlMalformed : public PulseMultimediaControlTest,
                                        public ::testing::WithParamInterface<Malformed> {};

TEST_P(PulseMultimediaControlMalformed, CannotBeOpenedAndPlayIsInert) {
    const Malformed m = GetParam();
    const std::string p = path(std::string(m.name) + ".wav");
    if (m.bytes)
        writeBytes(p, m.bytes());
    m_control.setFileName(p);
    m_control.setCommand("Open");
    EXPECT_EQ(m_control.length(), 0);
    m_control.setCommand("Play");
    m_control.setCommand("Pause");
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(m_control.position(), 0);
    m_control.setCommand("Stop");
    m_control.setCommand("Close");
    EXPECT_EQ(m_control.length(), 0);
}

const std::string kFrames(400, '\x10');

INSTANTIATE_TEST_SUITE_P(
    Corpus, PulseMultimediaControlMalformed,
    ::testing::Values(
        Malformed{"missing", {}}, Malformed{"empty", [] { return std::string(); }},
        Malformed{"not_sound", [] { return std::string("just some text, not a sound\n"); }},
        Malformed{"truncated_header",
                  [] { return wavBytes(2, 44100, 400, kFrames).substr(0, 30); }},
        Malformed{"data_claimed_but_absent", [] { return wavBytes(2, 44100, 1000000, ""); }},
        Malformed{"zero_frames", [] { return wavBytes(2, 44100, 0, ""); }},
        Malformed{"zero_channels", [] { return wavBytes(0, 44100, 400, kFrames); }},
        Malformed{"zero_rate", [] { return wavBytes(2, 0, 400, kFrames); }},
        Malformed{"rate_above_limit", [] { return wavBytes(1, 384001, 400, kFrames); }},
        Malformed{
            "list_longer_than_the_file",
            [] { return wavBytes(1, 8000, 400, kFrames) + "LIST" + le32(0x7fffffff) + "INFO"; }},
        // Members that overrun their LIST once made the decoder spin for good.
        Malformed{"list_members_overrun_the_list",
                  [] {
                      return "RIFF" + le32(0x444e5353) + "WAVE" + "LIST" + le32(60) +
                             "e\xff\xff\xff" + std::string(48, '\xff') +
                             "\xef\xff\xff\xff \x87\x87\x10";
                  }},
        Malformed{"list_members_leave_a_gap",
                  [] {
                      return "RIFF" + le32(0x320001b4) + "WAVE" + "LIST" + le32(16) +
                             std::string("\x01\x00\x02\x00\xf8\xff\xff\xff", 8) + le32(0) +
                             std::string("\0\0\0\x36", 4);
                  }},
        Malformed{
            "aiff_is_not_wave",
            [] { return std::string("FORM") + le32(0) + "AIFF" + "COMM" + std::string(22, '\0'); }},
        Malformed{"absurd_rate", [] { return wavBytes(2, 3000000000u, 400, kFrames); }},
        Malformed{"too_many_channels",
                  [] { return wavBytes(40, 44100, 400, std::string(800, 'x')); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Chunks the decoder does not need, an odd-sized one with its pad byte among them, do not
// stand in the way.
TEST_F(PulseMultimediaControlTest, ListAndOddChunksAroundTheDataAreSkipped) {
    const std::string info = "INFO" + std::string("INAM") + le32(3) + std::string("ab\0", 3) + '\0';
    const std::string bytes = "RIFF" + le32(0) + "WAVE" + "LIST" +
                              le32(std::uint32_t(info.size())) + info + "fmt " + le32(16) +
                              le16(1) + le16(1) + le32(8000) + le32(16000) + le16(2) + le16(16) +
                              "junk" + le32(5) + "abcde" + '\0' + "data" + le32(1600) +
                              std::string(1600, '\x01') + "LIST" + le32(4) + "adtl";
    const std::string p = path("chunks.wav");
    writeBytes(p, bytes);
    m_control.setFileName(p);
    m_control.setCommand("Open");
    EXPECT_EQ(m_control.length(), 100);
}

// The decoder reads the members of a LIST its own way, and these ones (found by fuzzing) once
// sent it round in circles inside Open for good. Only the chunks needed to play reach it now.
TEST_F(PulseMultimediaControlTest, AListTheDecoderWouldMisreadIsPassedOver) {
    const std::string list = std::string("\0\0\0@", 4) + "\xf7\xff\xff\xff" + le32(0) +
                             std::string(4, '\0') + le32(0x31) + std::string(12, '\0') + "fmt " +
                             std::string(1, '\0') + std::string(20, '\xe7') + std::string(2, '\0') +
                             "WAVELIST" + "F" + std::string(9, '\0') + '\0';
    const std::string bytes = "RIFF" + le32(0x410308) + "WAVE" + "LIST" +
                              le32(std::uint32_t(list.size())) + list + "fmt " + le32(16) +
                              le16(1) + le16(1) + le32(8000) + le32(16000) + le16(2) + le16(16) +
                              "data" + le32(1600) + std::string(1600, '\x01');
    const std::string p = path("misread.wav");
    writeBytes(p, bytes);
    m_control.setFileName(p);
    m_control.setCommand("Open");
    EXPECT_EQ(m_control.length(), 100);
}

// A named pipe with no writer must not hold Open.
TEST_F(PulseMultimediaControlTest, NamedPipeIsRefusedAtOnce) {
    const std::string p = path("pipe.wav");
    ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);
    m_control.setFileName(p);
    m_control.setCommand("Open");
    EXPECT_EQ(m_control.length(), 0);
}

// A header that promises more data than the file holds: what is there plays, and the end
// is still reached.
TEST_F(PulseMultimediaControlTest, DataChunkLongerThanTheFilePlaysWhatIsThere) {
    REQUIRE_AUDIO_SERVER();
    const std::string p = path("short.wav");
    writeBytes(p, wavBytes(1, 8000, 1000000, std::string(4000, '\x20')));
    m_control.setFileName(p);
    m_control.setCommand("Open");
    EXPECT_EQ(m_control.length(), 250);
    m_control.setCommand("Play");
    ASSERT_TRUE(waitFor([&] { return m_control.position() == m_control.length(); }));
}

// A take of seven hours, as the recorder leaves it: RF64 past 4 GiB, its sizes in the ds64
// chunk and 0xFFFFFFFF in the 32-bit fields. Its first second holds a tone, the rest is a hole
// in a sparse file, so it costs no disk.
TEST_F(PulseMultimediaControlTest, ATakePastFourGibibytesOpensAndPlays) {
    REQUIRE_AUDIO_SERVER();
    const WaveFormat format{44100, 16, 2};
    const std::uint64_t seconds = 7 * 3600;
    const std::uint64_t data = seconds * static_cast<std::uint64_t>(format.bytesPerSecond());
    ASSERT_GT(data, 0xFFFFFFFFu);
    const TakeHeaderBytes header = takeHeader(format, data);
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(header.data()), 4), "RF64");
    std::string tone;
    for (int i = 0; i < 44100; ++i) {
        const auto v = static_cast<std::int16_t>(16384 * std::sin(2.0 * M_PI * 440.0 * i / 44100));
        tone += le16(static_cast<std::uint16_t>(v)) + le16(static_cast<std::uint16_t>(v));
    }
    const std::string p = path("long-take.wav");
    writeBytes(p, std::string(reinterpret_cast<const char*>(header.data()), header.size()) + tone);
    ASSERT_EQ(::truncate(p.c_str(), static_cast<off_t>(kTakeHeaderBytes + data)), 0);

    SoundFileReader reader;
    ASSERT_TRUE(reader.open(p));
    EXPECT_EQ(reader.frames(), static_cast<std::int64_t>(data / 4));
    std::vector<float> block(2 * 4410);
    ASSERT_EQ(reader.read(block), 4410u);
    EXPECT_NEAR(*std::max_element(block.begin(), block.end()), 0.5f, 0.01f);

    m_control.setFileName(p);
    m_control.setCommand("Open");
    EXPECT_EQ(m_control.length(), static_cast<std::int32_t>(seconds * 1000));
    m_control.setCommand("Play");
    EXPECT_TRUE(waitFor([&] { return m_control.position() > 0; }));
    m_control.setCommand("Stop");
    m_control.setCommand("Close");
}

TEST_F(PulseMultimediaControlTest, UnreachableServerPlaysNothing) {
    openSine();
    ScopedEnvironment gone("PULSE_SERVER", "unix:" + path("no-such-socket"));
    m_control.setCommand("Play");
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(m_control.position(), 0);
    m_control.setCommand("Pause");
    EXPECT_EQ(m_control.position(), 0);
    EXPECT_EQ(m_control.length(), 2000);
    m_control.setCommand("Stop");
    m_control.setCommand("Close");
}

// A server that takes the connection but never says a word.
TEST_F(PulseMultimediaControlTest, SilentServerDoesNotHoldPlay) {
    openSine();
    HungAudioServer silent;
    ASSERT_TRUE(silent.listening());
    m_control.setCommand("Play"); // returns after the bounded wait
    EXPECT_EQ(m_control.position(), 0);
    m_control.setCommand("Stop");
    m_control.setCommand("Close");
    EXPECT_GE(silent.accepted(), 1);
}

} // namespace

// A command that fails hands its cause back to the caller.
TEST_F(PulseMultimediaControlTest, FailedCommandsSayWhy) {
    const auto causeOf = [&](const std::string& command) {
        const PlaybackResult result = m_control.setCommand(command);
        return result ? std::optional<PlaybackCause>() : result.cause();
    };
    m_control.setFileName(path("missing.wav"));
    EXPECT_EQ(causeOf("Open"), PlaybackCause::Unplayable);
    EXPECT_EQ(causeOf("Play"), PlaybackCause::NothingOpen);
    EXPECT_EQ(causeOf("Eject"), PlaybackCause::UnknownCommand);
    EXPECT_EQ(causeOf("Pause"), std::nullopt);

    openSine();
    ScopedEnvironment gone("PULSE_SERVER", "unix:" + path("no-such-socket"));
    EXPECT_EQ(causeOf("Play"), PlaybackCause::ServerUnreachable);
    EXPECT_EQ(causeOf("Stop"), std::nullopt);
    EXPECT_EQ(causeOf("Close"), std::nullopt);
}
