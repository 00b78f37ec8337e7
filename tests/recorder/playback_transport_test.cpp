#include "recorder/playback_transport.h"

#include "recorder/status_word.h"
#include "support/fake_playback_view.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Commands = std::vector<std::string>;

class PlaybackTransportTest : public ::testing::Test {
protected:
    FakePlaybackView m_view;
    FakeMultimediaControl m_control;
    FakeFileDialog m_dialog;
    PlaybackTransport m_transport{m_view, m_control, m_dialog};
};

TEST_F(PlaybackTransportTest, OpenOnlyShowsTheDialog) {
    m_dialog.choices = {"/music/a.wav"};
    m_transport.cmdOpenClick();
    EXPECT_EQ(m_dialog.shows, 1);
    EXPECT_TRUE(m_control.commands.empty());
    EXPECT_EQ(m_control.file, "");
    EXPECT_EQ(m_view.statusWrites, 0);
}

TEST_F(PlaybackTransportTest, PlayOpensTheDialogsFileAndPlaysIt) {
    m_dialog.name = "/music/a.wav";
    m_control.len = 2000;
    m_transport.cmdPlayClick();
    EXPECT_EQ(m_control.file, "/music/a.wav");
    EXPECT_EQ(m_control.commands, (Commands{"Open", "Play"}));
    EXPECT_EQ(m_view.status, "PLAY");
    EXPECT_EQ(m_view.colour, Colour::RGB(128, 255, 128));
    EXPECT_TRUE(m_view.timerOn);
}

TEST_F(PlaybackTransportTest, PlayOfAFileThatCannotBeOpenedDoesNothingMore) {
    m_dialog.name = ""; // nothing chosen yet
    m_control.len = 0;
    m_transport.cmdPlayClick();
    EXPECT_EQ(m_control.commands, (Commands{"Open"}));
    EXPECT_EQ(m_view.status, "STOP");
    EXPECT_EQ(m_view.statusWrites, 0);
    EXPECT_FALSE(m_view.timerOn);
}

TEST_F(PlaybackTransportTest, PauseTwiceGoesPauseThenPlay) {
    m_control.len = 2000;
    m_transport.cmdPlayClick();
    m_transport.cmdPauseClick();
    EXPECT_EQ(m_view.status, "PAUSE");
    EXPECT_EQ(m_view.colour, Colour::RGB(255, 192, 128));
    m_transport.cmdPauseClick();
    EXPECT_EQ(m_view.status, "PLAY");
    EXPECT_EQ(m_view.colour, Colour::RGB(128, 255, 128));
    EXPECT_EQ(m_control.commands, (Commands{"Open", "Play", "Pause", "Pause"}));
    EXPECT_TRUE(m_view.timerOn);
}

TEST_F(PlaybackTransportTest, PauseWithNothingOpenDoesNothing) {
    m_control.len = 0;
    m_transport.cmdPauseClick();
    EXPECT_TRUE(m_control.commands.empty());
    EXPECT_EQ(m_view.statusWrites, 0);
}

TEST_F(PlaybackTransportTest, PlayWhilePausedSendsOpenAndPlayAndShowsPlay) {
    m_control.len = 2000;
    m_view.status = "PAUSE";
    m_transport.cmdPlayClick();
    EXPECT_EQ(m_control.commands, (Commands{"Open", "Play"}));
    EXPECT_EQ(m_view.status, "PLAY");
}

TEST_F(PlaybackTransportTest, StopPlayClosesAndResets) {
    m_control.len = 2000;
    m_transport.cmdPlayClick();
    m_control.pos = 1000;
    m_transport.tmrMMControl1Tick();
    ASSERT_EQ(m_view.bar, 50);
    m_transport.cmdStopPlayClick();
    EXPECT_EQ(m_control.commands, (Commands{"Open", "Play", "Stop", "Close"}));
    EXPECT_EQ(m_view.status, "STOP");
    EXPECT_EQ(m_view.colour, Colour::RGB(192, 255, 255));
    EXPECT_FALSE(m_view.timerOn);
    EXPECT_EQ(m_view.bar, 0);
}

// Every click while a recording runs leaves everything as it was.
TEST_F(PlaybackTransportTest, EveryClickIsInertWhileRecording) {
    const std::vector<std::pair<const char*, std::function<void(PlaybackTransport&)>>> clicks = {
        {"open", [](PlaybackTransport& t) { t.cmdOpenClick(); }},
        {"play", [](PlaybackTransport& t) { t.cmdPlayClick(); }},
        {"pause", [](PlaybackTransport& t) { t.cmdPauseClick(); }},
        {"stop", [](PlaybackTransport& t) { t.cmdStopPlayClick(); }},
    };
    for (const auto& [name, click] : clicks) {
        FakePlaybackView view;
        view.status = "RECORD";
        view.colour = Colour::RGB(255, 128, 128);
        view.timerOn = true;
        view.bar = 40;
        FakeMultimediaControl control;
        control.len = 2000;
        FakeFileDialog dialog;
        dialog.name = "/music/a.wav";
        dialog.choices = {"/music/b.wav"};
        PlaybackTransport transport(view, control, dialog);
        click(transport);
        EXPECT_EQ(dialog.shows, 0) << name;
        EXPECT_TRUE(control.commands.empty()) << name;
        EXPECT_EQ(control.file, "") << name;
        EXPECT_EQ(view.statusWrites, 0) << name;
        EXPECT_TRUE(view.timerOn) << name;
        EXPECT_EQ(view.bar, 40) << name;
    }
}

struct TickCase {
    const char* name;
    std::string status;
    std::int32_t length;
    std::int32_t position;
    int bar;      // expected bar value afterwards
    bool timerOn; // expected timer afterwards
    std::string statusAfter;
    Commands commands; // expected commands sent by the tick
};

class PlaybackTransportTick : public PlaybackTransportTest,
                              public ::testing::WithParamInterface<TickCase> {};

TEST_P(PlaybackTransportTick, MovesTheBarOrEndsPlayback) {
    const TickCase c = GetParam();
    m_view.status = c.status;
    m_view.timerOn = true;
    m_control.len = c.length;
    m_control.pos = c.position;
    m_transport.tmrMMControl1Tick();
    EXPECT_EQ(m_view.bar, c.bar);
    EXPECT_EQ(m_view.timerOn, c.timerOn);
    EXPECT_EQ(m_view.status, c.statusAfter);
    EXPECT_EQ(m_control.commands, c.commands);
    if (c.statusAfter != c.status) {
        EXPECT_EQ(m_view.colour, Colour::RGB(192, 255, 255));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaybackTransportTick,
    ::testing::Values(TickCase{"start", "PLAY", 2000, 0, 0, true, "PLAY", {}},
                      TickCase{"middle", "PLAY", 2000, 1000, 50, true, "PLAY", {}},
                      TickCase{"rounds_down", "PLAY", 3000, 1000, 33, true, "PLAY", {}},
                      TickCase{"rounds_up", "PLAY", 3000, 2000, 67, true, "PLAY", {}},
                      TickCase{"half_to_even_down", "PLAY", 8, 1, 12, true, "PLAY", {}},
                      TickCase{"half_to_even_up", "PLAY", 8, 3, 38, true, "PLAY", {}},
                      TickCase{"just_before_end", "PLAY", 2000, 1999, 100, true, "PLAY", {}},
                      TickCase{"end", "PLAY", 2000, 2000, 0, false, "STOP", {"Stop", "Close"}},
                      // Paused at the end: the bar holds, the end is noticed only while playing.
                      TickCase{"paused_holds", "PAUSE", 2000, 500, 25, true, "PAUSE", {}},
                      TickCase{"paused_at_end", "PAUSE", 2000, 2000, 100, true, "PAUSE", {}},
                      // The device was closed under the running timer.
                      TickCase{"closed_while_stopped", "STOP", 0, 0, 0, false, "STOP", {}},
                      TickCase{"closed_while_recording", "RECORD", 0, 0, 0, false, "RECORD", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlaybackTransportTest, PlayingToTheEndStopsOnTheTickThatSeesIt) {
    m_dialog.name = "/music/a.wav";
    m_control.len = 3000;
    m_transport.cmdPlayClick();
    std::vector<int> bars;
    for (const std::int32_t pos : {1000, 2000, 3000}) {
        m_control.pos = pos;
        m_transport.tmrMMControl1Tick();
        bars.push_back(m_view.bar);
    }
    EXPECT_EQ(bars, (std::vector<int>{33, 67, 0}));
    EXPECT_EQ(m_view.status, "STOP");
    EXPECT_FALSE(m_view.timerOn);
    EXPECT_EQ(m_control.commands, (Commands{"Open", "Play", "Stop", "Close"}));
}

TEST_F(PlaybackTransportTest, StopForRecordingClosesTheDeviceAndSaysNothingPlays) {
    // Playback is stopped first, before the Record click may still be refused; whatever follows,
    // the word must not go on saying that something plays.
    struct Case {
        const char* before;
        const char* after;
    };
    for (const Case& c : {Case{"PLAY", "STOP"}, Case{"PAUSE", "STOP"}, Case{"RECORD", "RECORD"}}) {
        m_control.commands.clear();
        m_control.len = 2000;
        m_transport.cmdPlayClick();
        m_control.pos = 500;
        m_transport.tmrMMControl1Tick();
        m_view.status = c.before;
        m_transport.stopForRecording();
        EXPECT_EQ(m_control.commands, (Commands{"Open", "Play", "Stop", "Close"}));
        EXPECT_FALSE(m_view.timerOn);
        EXPECT_EQ(m_view.bar, 0);
        EXPECT_EQ(m_view.status, c.after) << c.before;
        if (std::string(c.after) == "STOP") {
            EXPECT_EQ(m_view.colour, status_word::kStopAfterPlaybackColour);
        }
    }
}

TEST(PlaybackBarValue, StaysWithinTheBarsRange) {
    EXPECT_EQ(PlaybackTransport::barValue(0, 0), 0);
    EXPECT_EQ(PlaybackTransport::barValue(5000, 2000), 100);
    EXPECT_EQ(PlaybackTransport::barValue(-10, 2000), 0);
    EXPECT_EQ(PlaybackTransport::barValue(2147483647, 2147483647), 100);
}

} // namespace
