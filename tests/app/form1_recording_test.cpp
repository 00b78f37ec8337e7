#include "form1_fixture.h"

#include "platform/audio/pulse_connection.h"
#include "platform/mci/waveaudio_command_device.h"
#include "platform/spool/spool_messages.h"
#include "platform/spool/take_file.h"
#include "support/audio_server.h"
#include "support/hung_audio_server.h"
#include "support/private_audio_server.h"
#include "support/wav_analysis.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <sndfile.h>

namespace {

struct Format {
    int option;
    int rate;
    int subtype;
};

class Form1Recording : public ::testing::TestWithParam<Format> {};

// Records about 2 s of the server's default source (a 1 kHz tone under scripts/test) through
// the window's own buttons and checks the file that lands at the typed path.
TEST_P(Form1Recording, RecordsTheToneInTheChosenFormat) {
    REQUIRE_AUDIO_SERVER();
    const Format format = GetParam();
    QTemporaryDir dir;
    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    Form1Fixture f(device.get());
    Form1& w = *f.form;
    const QString path = dir.filePath("take one.wav"); // a blank in the name on purpose
    w.txtFileName->setText(path);
    f.click(w.optFreq[format.option]);

    QString sizeWhileRecording;
    f.after(2000, [&] {
        sizeWhileRecording = w.lblSize->text();
        f.click(w.cmdStop);
    });
    QElapsedTimer wall;
    wall.start();
    f.click(w.cmdRecord);
    const double wallSeconds = wall.elapsed() / 1000.0;

    EXPECT_TRUE(f.boxes.shown.empty()) << f.boxes.shown.front().text;
    EXPECT_TRUE(sizeWhileRecording.endsWith(" kb")) << sizeWhileRecording.toStdString();
    EXPECT_EQ(w.statusWord(), "STOP");

    const SoundFileFacts facts = analyseSoundFile(path.toStdString());
    ASSERT_TRUE(facts.opened);
    EXPECT_EQ(facts.sampleRate, format.rate);
    EXPECT_EQ(facts.channels, 2);
    EXPECT_EQ(facts.format, SF_FORMAT_WAV | format.subtype);
    // The server may hold back the stream's last fragment; the take is never longer than the wall
    // clock.
    EXPECT_GT(facts.seconds, 1.5);
    EXPECT_LE(facts.seconds, wallSeconds + 0.1);
    EXPECT_NEAR(facts.dominantHz, 1000.0, 15.0);
}

INSTANTIATE_TEST_SUITE_P(Formats, Form1Recording,
                         ::testing::Values(Format{0, 44100, SF_FORMAT_PCM_16},
                                           Format{1, 44100, SF_FORMAT_PCM_U8},
                                           Format{2, 48000, SF_FORMAT_PCM_16},
                                           Format{3, 48000, SF_FORMAT_PCM_U8}),
                         [](const auto& info) {
                             return std::to_string(info.param.rate) +
                                    (info.param.subtype == SF_FORMAT_PCM_16 ? "_16bit" : "_8bit");
                         });

// A server that takes the connection and then says nothing: RECORD gives up within the
// connection's bound, says why in the "Error" box and leaves the window idle, without a file.
TEST(Form1RecordingFault, SilentServerShowsTheErrorAndReturnsToIdle) {
    QTemporaryDir dir;
    HungAudioServer silent;
    ASSERT_TRUE(silent.listening());
    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    Form1Fixture f(device.get());
    Form1& w = *f.form;
    const QString path = dir.filePath("take.wav");
    w.txtFileName->setText(path);

    QElapsedTimer wall;
    wall.start();
    f.click(w.cmdRecord);
    EXPECT_LT(wall.elapsed(), PulseConnection::kServerTimeoutMs + 1500); // room for a busy machine

    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].title, "Error");
    EXPECT_EQ(f.boxes.shown[0].text, "The audio server cannot be reached.");
    EXPECT_EQ(w.statusWord(), "STOP");
    EXPECT_TRUE(w.cmdRecord->Enabled());
    EXPECT_FALSE(w.cmdStop->Enabled());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_GE(silent.accepted(), 1);
}

// The server hangs in the middle of a take: once nothing has come for three seconds the take
// ends, the window says why and how much it kept, and the file holds just that much.
TEST(Form1RecordingFault, AFrozenServerEndsTheTakeAndSaysHowMuchWasKept) {
    QTemporaryDir dir;
    PrivateAudioServer server(dir.filePath("server").toStdString());
    ASSERT_TRUE(server.running()) << "see " << dir.filePath("server/pa.log").toStdString();
    const ScopedEnvironment pulse("PULSE_SERVER", server.clientEnvironment().at("PULSE_SERVER"));
    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    Form1Fixture f(device.get());
    Form1& w = *f.form;
    const QString path = dir.filePath("take.wav");
    w.txtFileName->setText(path);

    f.after(1000, [&] { server.freeze(); });
    f.boxes.onShow = [&] { server.thaw(); };
    // Had the stall gone unnoticed, this Stop would end the take, and no box would show.
    f.after(12000, [&] {
        if (w.cmdStop->Enabled())
            f.click(w.cmdStop);
    });
    f.click(w.cmdRecord);

    ASSERT_EQ(f.boxes.shown.size(), 1u);
    const std::string& text = f.boxes.shown[0].text;
    const std::string head = "The recording stopped early: the audio input stopped delivering "
                             "sound. What was recorded up to then (";
    ASSERT_EQ(text.rfind(head, 0), 0u) << text;
    const std::size_t figureEnd = text.find(')', head.size());
    ASSERT_NE(figureEnd, std::string::npos) << text;
    EXPECT_EQ(text.substr(figureEnd), ") has been saved to " + path.toStdString() + ".");

    const SoundFileFacts facts = analyseSoundFile(path.toStdString());
    ASSERT_TRUE(facts.opened);
    EXPECT_GT(facts.frames, 0);
    // The figure is the length of the file, not of what the last good poll saw.
    EXPECT_EQ(text.substr(head.size(), figureEnd - head.size()), takeDurationText(facts.seconds));
    EXPECT_EQ(w.statusWord(), "STOP");
    EXPECT_TRUE(w.cmdRecord->Enabled());
}

} // namespace
