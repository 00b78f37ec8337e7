// A take against a disk that stalls and a source that delivers late, on the real audio server:
// nothing recorded before "stop" or "save" may be lost, and what a disk that stays behind costs
// is said, with the length that was kept.

#include "platform/mci/command_errors.h"
#include "platform/mci/waveaudio_command_device.h"
#include "support/audio_server.h"
#include "support/child_process.h"
#include "support/stalling_sync.h"
#include "support/take_commands.h"
#include "support/wav_analysis.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// 48,000 samples a second, 16 bit, stereo: the largest format the window records.
constexpr long long kBytesPerSecond = 48000 * 4;
// One fragment of the record stream, and some room for a loaded machine.
constexpr double kOneBlock = 0.05;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// pactl against the test's server; its output, or nothing when it failed.
std::optional<std::string> pactl(const std::string& args) {
    FILE* out = ::popen(("pactl " + args + " 2>/dev/null").c_str(), "r");
    if (!out)
        return std::nullopt;
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, out))
        text += buffer;
    return ::pclose(out) == 0 ? std::optional(text) : std::nullopt;
}

// A source that hands its sound over late, in steps: a remap of the monitor of a null sink
// that nothing plays into. Its modules are unloaded when it goes.
class LateSource {
public:
    LateSource() : m_name("late" + std::to_string(::getpid())) {
        m_sinkModule = pactl("load-module module-null-sink sink_name=" + m_name +
                             "sink rate=48000 channels=2");
        if (m_sinkModule)
            m_remapModule = pactl("load-module module-remap-source master=" + m_name +
                                  "sink.monitor source_name=" + m_name);
    }
    ~LateSource() {
        if (m_remapModule)
            pactl("unload-module " + *m_remapModule);
        if (m_sinkModule)
            pactl("unload-module " + *m_sinkModule);
    }
    bool made() const { return m_remapModule.has_value(); }
    const std::string& name() const { return m_name; }

private:
    std::string m_name;
    std::optional<std::string> m_sinkModule;
    std::optional<std::string> m_remapModule;
};

} // namespace

// A sync that stalls for 4 s in the middle of a 5 s take costs no sound: the saved take is as
// long as the take ran, and the save reports success.
TEST(WaveAudioSlowDisk, ASyncThatStallsForSecondsCostsNoSound) {
    REQUIRE_AUDIO_SERVER();
    QTemporaryDir dir;
    WaveAudioCommandDevice device(dir.filePath("spool").toStdString());
    // The take syncs once a second of sound; the second one stalls.
    stalling_sync::stallCall(2, 4000);
    startTake(device, "slow", 48000);
    const Clock::time_point started = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const double ran = secondsSince(started);

    const std::string target = dir.filePath("slow.wav").toStdString();
    EXPECT_EQ(send(device, "save slow " + target), 0) << device.errorString(0);
    EXPECT_GE(stalling_sync::calls(), 2) << "the stall happened during the take";
    EXPECT_EQ(send(device, "close slow"), 0);
    const SoundFileFacts facts = analyseSoundFile(target);
    EXPECT_NEAR(facts.seconds, ran, kOneBlock);
    EXPECT_NEAR(facts.dominantHz, 1000.0, 30.0);
}

// A disk that stays behind longer than the buffers hold ends the take with that cause, and the
// length "status" tells is the length that is saved.
TEST(WaveAudioSlowDisk, ADiskThatStaysBehindEndsTheTakeWithItsCause) {
    REQUIRE_AUDIO_SERVER();
    QTemporaryDir dir;
    // A second in the ring and four in the stream, of which two stay free for a delivery.
    WaveAudioCommandDevice device(dir.filePath("spool").toStdString(), nullptr,
                                  {static_cast<std::size_t>(kBytesPerSecond), 4000});
    stalling_sync::stallCall(1, 9000);
    startTake(device, "behind", 48000);
    int code = 0;
    std::string reply;
    const Clock::time_point started = Clock::now();
    while (code == 0 && secondsSince(started) < 12) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        code = send(device, "status behind length", &reply);
    }
    ASSERT_EQ(code, toCode(CommandError::DiskTooSlow));
    EXPECT_EQ(device.errorString(code),
              "The recording stopped early: the disk that holds it could not keep up.");
    const long long told = std::stoll(reply);
    EXPECT_GE(told, kBytesPerSecond * 3 / 2) << "the disk got a second and the ring held one more";

    const std::string target = dir.filePath("behind.wav").toStdString();
    const int saved = send(device, "save behind " + target);
    EXPECT_EQ(saved, toCode(CommandError::SavedEndedEarly));
    EXPECT_NE(device.errorString(saved).find("could not keep up"), std::string::npos)
        << device.errorString(saved);
    EXPECT_EQ(analyseSoundFile(target).frames * 4, told);
    EXPECT_EQ(send(device, "close behind"), 0);
}

// A 5 s take through the command tool holds 5 s, from a source that delivers in real time and
// from one that delivers late: what the source still owed when the take was saved is kept.
TEST(WaveAudioSlowDisk, ATakeOfFiveSecondsHoldsFiveSecondsFromAnySource) {
    REQUIRE_AUDIO_SERVER();
    LateSource late;
    ASSERT_TRUE(late.made());
    for (const std::string& source : {std::string(), late.name()}) {
        QTemporaryDir dir;
        const std::string target = dir.filePath("five.wav").toStdString();
        std::map<std::string, std::string> env;
        if (!source.empty())
            env["PULSE_SOURCE"] = source;
        ChildProcess tool({SORVINTA_MCISEND, "open new type waveaudio alias t",
                           "set t bitspersample 16 channels 2 samplespersec 48000", "record t",
                           "wait 5000", "save t " + target, "close t"},
                          env);
        ASSERT_EQ(tool.wait(20000), 0) << tool.output();
        const SoundFileFacts facts = analyseSoundFile(target);
        EXPECT_NEAR(facts.seconds, 5.0, kOneBlock)
            << (source.empty() ? "the default source" : "a late source") << "\n"
            << tool.output();
    }
}
