#include "form1_fixture.h"

#include "controls/progress_bar/xp_progress_bar.h"
#include "platform/multimedia/pulse_multimedia_control.h"
#include "platform/mci/waveaudio_command_device.h"
#include "support/audio_server.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// A window on the real device and playback control that has recorded `recordMs` of the default
// source to a path picked with the save-path button.
class Form1Playback : public ::testing::Test {
protected:
    void recordPickedFile(const char* name, int recordMs) {
        fixture = std::make_unique<Form1Fixture>(device.get(), &control);
        w = fixture->form.get();
        fixture->dialog.choices = {dir.filePath(name).toStdString()};
        fixture->click(w->Command1);
        fixture->after(recordMs, [this] { fixture->click(w->cmdStop); });
        fixture->click(w->cmdRecord);
        ASSERT_TRUE(fixture->boxes.shown.empty()) << fixture->boxes.shown.front().text;
    }

    QTemporaryDir dir;
    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    PulseMultimediaControl control;
    std::unique_ptr<Form1Fixture> fixture;
    Form1* w = nullptr;
};

// Play plays the recording to its end on the server's default sink while the bar follows.
TEST_F(Form1Playback, PlaysTheRecordingPickedWithTheSavePathButton) {
    REQUIRE_AUDIO_SERVER();
    recordPickedFile("picked.wav", 2500);
    Form1Fixture& f = *fixture;

    f.click(w->cmdPlay);
    EXPECT_EQ(w->statusWord(), "PLAY");
    EXPECT_TRUE(w->tmrMMControl1.isActive());

    int highestBar = 0;
    const bool ended = f.waitUntil(
        [&] {
            highestBar = std::max(highestBar, int(w->barMMControl1->Value()));
            return w->statusWord() == "STOP";
        },
        15000);
    EXPECT_TRUE(ended);
    EXPECT_GT(highestBar, 0);
    EXPECT_EQ(w->barMMControl1->Value(), 0);
    EXPECT_FALSE(w->tmrMMControl1.isActive());
}

TEST_F(Form1Playback, PauseHoldsThePositionAndResumes) {
    REQUIRE_AUDIO_SERVER();
    recordPickedFile("pause.wav", 3000);
    Form1Fixture& f = *fixture;

    f.click(w->cmdPlay);
    f.waitUntil([&] { return control.position() > 300; }, 5000);
    f.click(w->cmdPause);
    EXPECT_EQ(w->statusWord(), "PAUSE");
    const std::int32_t held = control.position();
    f.waitUntil([] { return false; }, 600);
    EXPECT_NEAR(control.position(), held, 60);
    f.click(w->cmdPause);
    EXPECT_EQ(w->statusWord(), "PLAY");
    EXPECT_TRUE(f.waitUntil([&] { return control.position() > held + 200; }, 5000));
    f.click(w->cmdStopPlay);
    EXPECT_EQ(w->statusWord(), "STOP");
    EXPECT_EQ(w->barMMControl1->Value(), 0);
}

} // namespace
