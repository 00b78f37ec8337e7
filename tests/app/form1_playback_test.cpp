#include "form1_fixture.h"

#include "controls/progress_bar/xp_progress_bar.h"
#include "platform/pulse_multimedia_control.h"
#include "platform/waveaudio_command_device.h"
#include "support/audio_server.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// Record with a path picked by the save-path button, then Play plays that recording to its end
// on the server's default sink while the bar follows.
TEST(Form1Playback, PlaysTheRecordingPickedWithTheSavePathButton) {
    REQUIRE_AUDIO_SERVER();
    QTemporaryDir dir;
    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    PulseMultimediaControl control;
    Form1Fixture f(device.get(), &control);
    Form1& w = *f.form;

    const std::string path = dir.filePath("picked.wav").toStdString();
    f.dialog.choices = {path};
    f.click(w.Command1);
    f.after(2500, [&] { f.click(w.cmdStop); });
    f.click(w.cmdRecord);
    ASSERT_TRUE(f.boxes.shown.empty()) << f.boxes.shown.front().text;

    f.click(w.cmdPlay);
    EXPECT_EQ(w.statusWord(), "PLAY");
    EXPECT_TRUE(w.tmrMMControl1.isActive());

    int highestBar = 0;
    const bool ended = f.waitUntil(
        [&] {
            highestBar = std::max(highestBar, int(w.barMMControl1->Value()));
            return w.statusWord() == "STOP";
        },
        15000);
    EXPECT_TRUE(ended);
    EXPECT_GT(highestBar, 0);
    EXPECT_EQ(w.barMMControl1->Value(), 0);
    EXPECT_FALSE(w.tmrMMControl1.isActive());
}

TEST(Form1Playback, PauseHoldsThePositionAndResumes) {
    REQUIRE_AUDIO_SERVER();
    QTemporaryDir dir;
    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    PulseMultimediaControl control;
    Form1Fixture f(device.get(), &control);
    Form1& w = *f.form;

    const std::string path = dir.filePath("pause.wav").toStdString();
    f.dialog.choices = {path};
    f.click(w.Command1);
    f.after(3000, [&] { f.click(w.cmdStop); });
    f.click(w.cmdRecord);

    f.click(w.cmdPlay);
    f.waitUntil([&] { return control.position() > 300; }, 5000);
    f.click(w.cmdPause);
    EXPECT_EQ(w.statusWord(), "PAUSE");
    const std::int32_t held = control.position();
    f.waitUntil([] { return false; }, 600);
    EXPECT_NEAR(control.position(), held, 60);
    f.click(w.cmdPause);
    EXPECT_EQ(w.statusWord(), "PLAY");
    EXPECT_TRUE(f.waitUntil([&] { return control.position() > held + 200; }, 5000));
    f.click(w.cmdStopPlay);
    EXPECT_EQ(w.statusWord(), "STOP");
    EXPECT_EQ(w.barMMControl1->Value(), 0);
}

} // namespace
