// Faults made on purpose against the real audio server: a full disk, a recording process that
// is killed or interrupted, and a server that dies in the middle of a take.

#include "platform/mci/command_errors.h"
#include "platform/mci/waveaudio_command_device.h"
#include "platform/spool/take_file.h"
#include "platform/spool/take_spool.h"
#include "support/audio_server.h"
#include "support/child_process.h"
#include "support/private_audio_server.h"
#include "support/small_file_system.h"
#include "support/take_commands.h"
#include "support/wav_analysis.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <thread>

#include <sys/wait.h>

namespace {

constexpr long long kBytesPerSecond = 44100 * 2 * 2;

void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

long long lengthOf(CommandDevice& device, const std::string& alias) {
    std::string reply;
    return send(device, "status " + alias + " length", &reply) == 0 ? std::stoll(reply) : -1;
}

QStringList entries(const std::string& folder) {
    return QDir(QString::fromStdString(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

#define REQUIRE_SMALL_FILE_SYSTEM(fs)                                                              \
    do {                                                                                           \
        if (!(fs).mounted())                                                                       \
            GTEST_SKIP() << (fs).why();                                                            \
    } while (0)

// The command tool, with the commands of a take that records until it is told otherwise.
std::unique_ptr<ChildProcess> startMcisend(const std::map<std::string, std::string>& env = {}) {
    auto child = std::make_unique<ChildProcess>(std::vector<std::string>{SORVINTA_MCISEND}, env);
    child->writeLine("open new type waveaudio alias k");
    child->writeLine("set k time format bytes bitspersample 16 channels 2 samplespersec 44100");
    child->writeLine("record k");
    return child;
}

// Asks the tool for its take's length until it has `bytes`; the last length it reported.
long long waitForLength(ChildProcess& tool, long long bytes) {
    long long last = -1;
    std::size_t from = 0;
    for (int i = 0; i < 100 && last < bytes; ++i) {
        tool.writeLine("status k length");
        const std::size_t at = tool.readUntil("status k length\n  -> 0 \"", 3000, from);
        if (at == std::string::npos)
            return last;
        const std::size_t close = tool.readUntil("\"", 1000, at);
        if (close == std::string::npos)
            return last;
        last = std::stoll(tool.output().substr(at, close - 1 - at));
        from = close;
        pause(100);
    }
    return last;
}

} // namespace

TEST(WaveAudioFaults, ASaveIntoAFullFileSystemKeepsTheTakeForASecondPlace) {
    REQUIRE_AUDIO_SERVER();
    SmallFileSystem full(256 * 1024);
    REQUIRE_SMALL_FILE_SYSTEM(full);
    QTemporaryDir dir;
    WaveAudioCommandDevice device(dir.filePath("spool").toStdString());
    startTake(device, "f");
    pause(2000); // about 350 kB: more than the small file system holds
    ASSERT_EQ(send(device, "stop f"), 0);
    const long long recorded = lengthOf(device, "f");
    ASSERT_GT(recorded, 256 * 1024);

    const std::string tooSmall = full.path() + "/take.wav";
    const int code = send(device, "save f " + tooSmall);
    EXPECT_EQ(code, toCode(CommandError::SaveFailed));
    EXPECT_EQ(device.errorString(code),
              "The recording could not be saved to " + tooSmall + ": the disk is full.");
    EXPECT_TRUE(entries(full.path()).isEmpty()) << "no empty or partial file is left behind";

    const std::string second = dir.filePath("second.wav").toStdString();
    ASSERT_EQ(send(device, "save f " + second), 0);
    const SoundFileFacts facts = analyseSoundFile(second);
    EXPECT_EQ(facts.frames * 4, recorded);
    EXPECT_EQ(send(device, "close f"), 0);
}

TEST(WaveAudioFaults, ASpoolThatFillsUpEndsTheTakeAndNamesTheCause) {
    REQUIRE_AUDIO_SERVER();
    SmallFileSystem spool(300 * 1024);
    REQUIRE_SMALL_FILE_SYSTEM(spool);
    QTemporaryDir dir;
    WaveAudioCommandDevice device(spool.path());
    startTake(device, "s");
    int code = 0;
    for (int i = 0; i < 100 && code == 0; ++i) {
        pause(50);
        std::string reply;
        code = send(device, "status s length", &reply);
    }
    EXPECT_EQ(code, toCode(CommandError::DiskFull));
    EXPECT_EQ(device.errorString(code),
              "The recording stopped early: the disk that holds it is full.");

    const std::string target = dir.filePath("early.wav").toStdString();
    const int saved = send(device, "save s " + target);
    EXPECT_EQ(saved, toCode(CommandError::SavedEndedEarly));
    EXPECT_NE(device.errorString(saved).find(": the disk that holds it is full."),
              std::string::npos)
        << device.errorString(saved);
    const SoundFileFacts facts = analyseSoundFile(target);
    EXPECT_GT(facts.seconds, 1.0);
    EXPECT_LT(facts.frames * 4, 300 * 1024);
    EXPECT_EQ(send(device, "close s"), 0);
}

TEST(WaveAudioFaults, AFullSpoolBeforeRecordingClaimsNothingWasRecorded) {
    REQUIRE_AUDIO_SERVER();
    SmallFileSystem spool(64 * 1024);
    REQUIRE_SMALL_FILE_SYSTEM(spool);
    {
        std::ofstream filler(spool.path() + "/filler", std::ios::binary);
        filler << std::string(200 * 1024, 'x');
    }
    WaveAudioCommandDevice device(spool.path());
    ASSERT_EQ(send(device, "open new type waveaudio alias n"), 0);
    const int code = send(device, "record n");
    EXPECT_EQ(code, toCode(CommandError::NoTakeFile));
    EXPECT_EQ(device.errorString(code),
              "The recording cannot start: no file can be made for it in " + spool.path() +
                  " (the disk is full).");
    EXPECT_EQ(send(device, "save n /tmp/never.wav"), toCode(CommandError::NothingRecorded));
    EXPECT_EQ(send(device, "close n"), 0);
    EXPECT_EQ(entries(spool.path()), QStringList{"filler"});
}

TEST(WaveAudioFaults, AKilledRecorderLeavesATakeThatComesBackWhole) {
    REQUIRE_AUDIO_SERVER();
    const TakeSpool spool; // the test program's own state folder, which the tool inherits
    auto tool = startMcisend();
    const long long reported = waitForLength(*tool, kBytesPerSecond * 3 / 2);
    ASSERT_GE(reported, kBytesPerSecond * 3 / 2) << tool->output();
    // While the tool lives, its take is nobody's leftover.
    EXPECT_TRUE(spool.leftovers().empty());

    tool->signal(SIGKILL);
    const int status = tool->wait();
    ASSERT_TRUE(WIFSIGNALED(status));

    auto left = spool.leftovers();
    ASSERT_EQ(left.size(), 1u);
    const auto recovered = static_cast<long long>(left[0]->dataBytes());
    EXPECT_GE(recovered, reported - kBytesPerSecond) << "all but at most the last second";
    const SoundFileFacts facts = analyseSoundFile(left[0]->path());
    EXPECT_EQ(facts.frames * 4, recovered);
    EXPECT_NEAR(facts.dominantHz, 1000.0, 30.0);
    left[0]->discard();
}

TEST(WaveAudioFaults, AnInterruptedRecorderKeepsItsTakeAndSaysWhere) {
    REQUIRE_AUDIO_SERVER();
    const TakeSpool spool;
    auto tool = startMcisend();
    ASSERT_GT(waitForLength(*tool, kBytesPerSecond / 2), 0) << tool->output();
    tool->writeLine("wait 10000");
    pause(200);
    tool->signal(SIGTERM);
    const int status = tool->wait();
    ASSERT_TRUE(WIFEXITED(status)) << tool->output();
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);

    auto left = spool.leftovers();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_NE(tool->output().find("k: interrupted; the recording ("), std::string::npos)
        << tool->output();
    EXPECT_NE(tool->output().find(") is kept at " + left[0]->path()), std::string::npos)
        << tool->output();
    EXPECT_GT(left[0]->dataBytes(), 0u);
    left[0]->discard();
}

// What happens to the server in the middle of a take, and the sentence that must name it.
struct ServerFault {
    struct Context {
        PrivateAudioServer& server;
        int module; // the module of the take's own input
    };
    const char* name;
    std::function<void(Context&)> strike;
    int noticeMs; // how long until the device must have noticed
    int code;
    const char* cause;
    double toneHz; // what the take holds: the input it started from, never another one
};

void PrintTo(const ServerFault& f, std::ostream* os) {
    *os << f.name;
}

class WaveAudioServerFaults : public ::testing::TestWithParam<ServerFault> {};

// The take ends where the fault began, says why in "status" and "save" (and so in the tool's
// exit status), and keeps everything it had: the file holds exactly the length "status" gave.
TEST_P(WaveAudioServerFaults, EndTheTakeWithTheirCauseAndKeepWhatCame) {
    const ServerFault& fault = GetParam();
    QTemporaryDir dir;
    PrivateAudioServer server(dir.filePath("server").toStdString());
    ASSERT_TRUE(server.running()) << "see " << dir.filePath("server/pa.log").toStdString();
    // The take's own input at 440 Hz; the server's other source plays 1 kHz, which is where
    // a stream that was let move would go on recording.
    const std::optional<std::string> module =
        server.pactl({"load-module", "module-sine-source", "source_name=picked", "frequency=440"});
    ASSERT_TRUE(module);
    ASSERT_TRUE(server.pactl({"set-default-source", "picked"}));
    auto tool = startMcisend(server.clientEnvironment());
    ASSERT_GT(waitForLength(*tool, 1), 0) << tool->output();

    ServerFault::Context context{server, std::stoi(*module)};
    fault.strike(context);
    const std::string target = dir.filePath("early.wav").toStdString();
    tool->writeLine("wait " + std::to_string(fault.noticeMs));
    tool->writeLine("status k length");
    const std::size_t failed =
        tool->readUntil(std::string(fault.cause) + "\n", fault.noticeMs + 5000);
    ASSERT_NE(failed, std::string::npos) << tool->output();
    server.thaw(); // nothing that comes after the fault reaches the take
    tool->writeLine("wait 1500");
    tool->writeLine("status k length");
    tool->writeLine("save k " + target);
    tool->writeLine("close k");
    tool->closeInput();
    const int status = tool->wait();
    const std::string& out = tool->output();
    ASSERT_TRUE(WIFEXITED(status)) << out;
    EXPECT_EQ(WEXITSTATUS(status), 1) << out;

    // Both polls fail with the cause and the same length: the take ended at the fault.
    const std::string reply = "status k length\n  -> " + std::to_string(fault.code) + " \"";
    const std::size_t first = out.find(reply);
    ASSERT_NE(first, std::string::npos) << out;
    const std::size_t second = out.find(reply, first + 1);
    ASSERT_NE(second, std::string::npos) << out;
    const long long length = std::stoll(out.substr(first + reply.size()));
    EXPECT_EQ(std::stoll(out.substr(second + reply.size())), length) << out;
    EXPECT_NE(
        out.find("The recording was saved to " + target + ", but it had stopped early after "),
        std::string::npos)
        << out;

    const SoundFileFacts facts = analyseSoundFile(target);
    EXPECT_GT(facts.frames, 0);
    EXPECT_EQ(facts.frames * 4, length);
    EXPECT_NEAR(facts.dominantHz, fault.toneHz, 15.0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WaveAudioServerFaults,
    ::testing::Values(
        ServerFault{"ServerDies", [](ServerFault::Context& c) { c.server.kill(); }, 300,
                    toCode(CommandError::ServerLost),
                    "The recording stopped early: the audio server went away.", 440.0},
        // A source that hands its input over in bursts two seconds apart is not stalled;
        // a frozen server is, once nothing has come for three seconds.
        ServerFault{"ServerFreezes", [](ServerFault::Context& c) { c.server.freeze(); }, 5000,
                    toCode(CommandError::InputStalled),
                    "The recording stopped early: the audio input stopped delivering sound.",
                    440.0},
        ServerFault{"InputRemoved",
                    [](ServerFault::Context& c) {
                        ASSERT_TRUE(c.server.pactl({"unload-module", std::to_string(c.module)}));
                    },
                    300, toCode(CommandError::InputRemoved),
                    "The recording stopped early: the audio input was removed.", 440.0}),
    [](const auto& info) { return std::string(info.param.name); });
