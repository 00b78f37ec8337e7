#include "platform/mci/command_errors.h"
#include "platform/mci/waveaudio_command_device.h"
#include "support/child_process.h"
#include "support/hung_audio_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

#include <sys/wait.h>

namespace {

// Sends a command through the device and gives back its code.
int send(CommandDevice& device, const std::string& command, std::string* reply = nullptr) {
    return device.sendString(command, reply, 1024);
}

// Points libpulse at a socket where nothing listens, for the length of one test.
class NoServerHere {
public:
    NoServerHere()
        : m_saved(qgetenv("PULSE_SERVER")), m_had(qEnvironmentVariableIsSet("PULSE_SERVER")) {
        qputenv("PULSE_SERVER", "unix:/nonexistent/sorvinta/native");
    }
    ~NoServerHere() {
        if (m_had)
            qputenv("PULSE_SERVER", m_saved);
        else
            qunsetenv("PULSE_SERVER");
    }

private:
    QByteArray m_saved;
    bool m_had;
};

} // namespace

TEST(WaveAudioDevice, CommandsForAnAliasThatIsNotOpenFail) {
    WaveAudioCommandDevice device;
    for (const char* command : {"set x channels 2", "record x", "stop x", "status x length",
                                "save x /tmp/never.wav", "close x"})
        EXPECT_EQ(send(device, command), toCode(CommandError::UnknownAlias)) << command;
}

TEST(WaveAudioDevice, AliasIsTakenUntilClosedWhateverItsCase) {
    WaveAudioCommandDevice device;
    ASSERT_EQ(send(device, "open new type waveaudio alias recsound"), 0);
    EXPECT_EQ(send(device, "open new type waveaudio alias RecSound"),
              toCode(CommandError::AliasInUse));
    EXPECT_EQ(send(device, "status RECSOUND length"), 0);
    EXPECT_EQ(send(device, "open new type waveaudio alias other"), 0);
    EXPECT_EQ(send(device, "close recsound"), 0);
    EXPECT_EQ(send(device, "close recsound"), toCode(CommandError::UnknownAlias));
    EXPECT_EQ(send(device, "open new type waveaudio alias recsound"), 0);
}

TEST(WaveAudioDevice, BadCommandsReturnTheirCodeAndAnEnglishSentence) {
    WaveAudioCommandDevice device;
    ASSERT_EQ(send(device, "open new type waveaudio alias a"), 0);
    struct Case {
        const char* command;
        CommandError error;
    };
    for (const Case& c : {Case{"set a bitspersample 24", CommandError::BadBitsPerSample},
                          Case{"set a channels 6", CommandError::BadChannels},
                          Case{"set a samplespersec 4000", CommandError::BadSampleRate},
                          Case{"set a time format frames", CommandError::BadTimeFormat},
                          Case{"fly a", CommandError::UnknownCommand}}) {
        const int code = send(device, c.command);
        EXPECT_EQ(code, toCode(c.error)) << c.command;
        EXPECT_EQ(device.errorString(code), commandErrorText(code));
    }
}

TEST(WaveAudioDevice, NothingRecordedYetReportsZeroAndHasNothingToSave) {
    QTemporaryDir dir;
    const std::string target = dir.filePath("keep.wav").toStdString();
    { std::ofstream(target) << "old"; }
    WaveAudioCommandDevice device;
    ASSERT_EQ(send(device, "open new type waveaudio alias a"), 0);
    std::string reply = "junk";
    EXPECT_EQ(send(device, "status a length", &reply), 0);
    EXPECT_EQ(reply, "0");
    EXPECT_EQ(send(device, "stop a"), 0);
    EXPECT_EQ(send(device, "save a " + target), toCode(CommandError::NothingRecorded));
    std::ifstream in(target);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
}

TEST(WaveAudioDevice, ReplyIsCutToTheBufferSize) {
    WaveAudioCommandDevice device;
    ASSERT_EQ(send(device, "open new type waveaudio alias a"), 0);
    std::string reply = "junk";
    EXPECT_EQ(device.sendString("status a length", &reply, 1), 0);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(device.sendString("status a length", nullptr, 0), 0);
}

TEST(WaveAudioDevice, RecordWithoutAServerFailsAndLeavesNoTemporaryFile) {
    QTemporaryDir temp;
    NoServerHere noServer;
    WaveAudioCommandDevice device(temp.path().toStdString());
    ASSERT_EQ(send(device, "open new type waveaudio alias a"), 0);
    const int code = send(device, "record a");
    EXPECT_EQ(code, toCode(CommandError::ServerUnreachable));
    EXPECT_EQ(device.errorString(code), "The audio server cannot be reached.");
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
    std::string reply;
    EXPECT_EQ(send(device, "status a length", &reply), 0);
    EXPECT_EQ(reply, "0");
    EXPECT_EQ(send(device, "save a /tmp/never.wav"), toCode(CommandError::NothingRecorded));
    EXPECT_EQ(send(device, "close a"), 0);
}

// Without HOME and XDG_STATE_HOME there is no private place for takes; a folder shared with
// every user, such as /tmp, is never used instead.
TEST(WaveAudioDevice, WithoutHomeOrStateFolderRecordingIsRefusedWithTheReason) {
    const ScopedEnvironment noHome("HOME", std::nullopt);
    const ScopedEnvironment noState("XDG_STATE_HOME", std::nullopt);
    EXPECT_EQ(TakeSpool::defaultFolder(), "");
    WaveAudioCommandDevice device;
    ASSERT_EQ(send(device, "open new type waveaudio alias a"), 0);
    const int code = send(device, "record a");
    EXPECT_EQ(code, toCode(CommandError::NoTakeFile));
    EXPECT_EQ(device.errorString(code),
              "The recording cannot start: neither HOME nor XDG_STATE_HOME is set, so there is no "
              "private folder to keep it in.");
    EXPECT_EQ(send(device, "close a"), 0);

    const ScopedEnvironment relative("XDG_STATE_HOME", std::string("state"));
    EXPECT_EQ(TakeSpool::defaultFolder(), "") << "a relative folder does not count";
}

// A script written with CRLF line ends runs as it would with LF ones, its waits included.
TEST(WaveAudioDevice, CommandToolRunsAScriptWithCrlfLineEnds) {
    ChildProcess tool({SORVINTA_MCISEND});
    ASSERT_TRUE(tool.started());
    for (const char* line : {"open new type waveaudio alias c\r", "wait 50\r", "\r",
                             "status c length\r", "close c\r", "wait 10\r"})
        tool.writeLine(line);
    tool.closeInput();
    const int status = tool.wait();
    ASSERT_TRUE(WIFEXITED(status)) << tool.output();
    EXPECT_EQ(WEXITSTATUS(status), 0) << tool.output();
    EXPECT_NE(tool.output().find("wait 50\n"), std::string::npos) << tool.output();
    EXPECT_NE(tool.output().find("wait 10\n"), std::string::npos) << tool.output();
}
