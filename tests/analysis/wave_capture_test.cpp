#include "analysis/wave_capture.h"

#include "analysis/audio_fft.h"

#include "support/fake_wave_input.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

namespace {

class FakeCaptureView : public CaptureView {
public:
    void clearDevices() override { devices.clear(); }
    void addDevice(const std::string& name) override { devices.push_back(name); }
    int deviceCount() const override { return static_cast<int>(devices.size()); }
    int selectedDevice() const override { return selected; }
    void setSelectedDevice(int index) override { selected = index; }
    void setDevicesEnabled(bool enabled) override { devicesEnabled = enabled; }
    void endProgram() override { ended = true; }

    std::vector<std::string> devices{"stale entry"};
    int selected = -1;
    bool devicesEnabled = true;
    bool ended = false;
};

class FakeRecordingState : public RecordingState {
public:
    bool isRecording() const override { return recording; }
    bool recording = false;
};

class FakeSpectrumSink : public SpectrumSink {
public:
    void DrawScopeFrame(const float* spectrum) override {
        ++frames;
        lastSpectrum = spectrum;
        if (onFrame)
            onFrame(frames);
    }
    bool showing() const override { return visible; }
    int frames = 0;
    const float* lastSpectrum = nullptr;
    std::function<void(int)> onFrame;
    bool visible = true;
};

class WaveCaptureTest : public ::testing::Test {
protected:
    FakeWaveInput input;
    FakeMessageBox messages;
    FakeEventPump events;
    FakeCaptureView view;
    FakeRecordingState recordingState;
    FakeSpectrumSink display;
    WaveCapture capture{input, messages, events, view, recordingState, display};

    void SetUp() override { input.devices = {"Mic", "Line in"}; }

    // Ends the loop from the wait that follows its `frames`-th frame.
    void stopAfter(int frames) {
        const int base = events.passes;
        events.onPass = [this, frames, base](int pass) {
            if (pass - base > frames)
                capture.StopCapture();
        };
    }
    int count(const std::string& call) const {
        return static_cast<int>(std::count(input.calls.begin(), input.calls.end(), call));
    }
};

TEST_F(WaveCaptureTest, InitDevicesListsEveryDeviceInOrderAndSelectsTheFirst) {
    EXPECT_TRUE(capture.InitDevices());
    EXPECT_EQ(view.devices, (std::vector<std::string>{"Mic", "Line in"}));
    EXPECT_EQ(view.selected, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(view.ended);
}

TEST_F(WaveCaptureTest, InitDevicesWithNoDeviceReportsItAndEndsTheProgram) {
    input.devices.clear();
    EXPECT_FALSE(capture.InitDevices());
    EXPECT_TRUE(view.devices.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "You have no audio input devices!");
    EXPECT_EQ(messages.shown[0].title, "Sorvinta");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(view.ended);
}

TEST_F(WaveCaptureTest, AServerThatDoesNotAnswerIsNamedAsSuch) {
    input.devices.clear();
    input.answering = false;
    EXPECT_FALSE(capture.InitDevices());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("The audio server cannot be reached", 0), 0u)
        << messages.shown[0].text;
    EXPECT_TRUE(view.ended);
}

TEST_F(WaveCaptureTest, OpensTheSelectedDeviceAsElevenKilohertzMonoSixteenBit) {
    capture.InitDevices();
    view.selected = 1;
    stopAfter(1);
    capture.StartCapture();
    EXPECT_EQ(input.opened, (std::vector<int>{1}));
    EXPECT_EQ(input.lastFormat.channels, 1);
    EXPECT_EQ(input.lastFormat.samplesPerSec, 11025);
    EXPECT_EQ(input.lastFormat.bitsPerSample, 16);
    EXPECT_EQ(input.lastFormat.bytesPerFrame(), 2);
    EXPECT_EQ(input.lastFormat.bytesPerSecond(), 22050);
}

TEST_F(WaveCaptureTest, LoopDrawsEachBlockAndEndsWhenStoppedInsideTheYield) {
    capture.InitDevices();
    std::vector<bool> enabledWhileRunning;
    display.onFrame = [&](int) { enabledWhileRunning.push_back(view.devicesEnabled); };
    stopAfter(3);
    capture.StartCapture();

    EXPECT_EQ(display.frames, 3);
    EXPECT_EQ(display.lastSpectrum, capture.SpectrumBuffer.data());
    EXPECT_EQ(enabledWhileRunning, (std::vector<bool>{false, false, false}));
    // The window's events run while each block fills, under the one deadline of a block.
    EXPECT_EQ(events.passes, 4);
    EXPECT_EQ(events.lastWaitMs, WaveCapture::kBlockTimeoutMs);
    // Started once, one buffer per block; the stop comes while the fourth fills.
    EXPECT_EQ(input.calls, (std::vector<std::string>{"start 7", "add 7", "add 7", "add 7", "add 7",
                                                     "reset 7", "close 7"}));
    EXPECT_EQ(capture.captureHandle(), 0u);
    EXPECT_TRUE(view.devicesEnabled);
}

// A minimised window: the stream stops after the frame that nobody saw and stays stopped,
// taking no block, however long the window's loop waits, until the display shows again.
TEST_F(WaveCaptureTest, WhileNobodySeesTheSpectrumTheStreamRests) {
    capture.InitDevices();
    display.onFrame = [&](int frame) {
        if (frame == 1)
            display.visible = false;
    };
    int restingPasses = 0;
    events.onPass = [&](int pass) {
        if (!display.visible && ++restingPasses == 3)
            display.visible = true;
        if (pass > 6)
            capture.StopCapture();
    };
    capture.StartCapture();

    EXPECT_EQ(restingPasses, 3);
    EXPECT_EQ(events.lastWaitMs, WaveCapture::kBlockTimeoutMs);
    EXPECT_EQ(input.calls,
              (std::vector<std::string>{"start 7", "add 7", "reset 7", "start 7", "add 7", "add 7",
                                        "add 7", "reset 7", "close 7"}));
    EXPECT_EQ(display.frames, 3);
}

// Closing the window while the stream rests ends the loop there.
TEST_F(WaveCaptureTest, AStopWhileRestingEndsTheLoop) {
    capture.InitDevices();
    display.visible = false;
    events.onPass = [&](int pass) {
        if (pass == 2)
            capture.StopCapture();
    };
    capture.StartCapture();
    EXPECT_EQ(display.frames, 0);
    EXPECT_EQ(input.calls, (std::vector<std::string>{"start 7", "reset 7", "reset 7", "close 7"}));
    EXPECT_EQ(capture.captureHandle(), 0u);
    EXPECT_TRUE(view.devicesEnabled);
}

TEST_F(WaveCaptureTest, EachFrameShowsTheTransformOfTheBlockJustCaptured) {
    InitFFT();
    capture.InitDevices();
    // A different tone in every block, so a stale or early transform shows.
    input.sample = [](int block, int i) {
        return static_cast<std::int16_t>(
            8000.0 * std::cos(2.0 * std::numbers::pi * (10 + 7 * block) * i / 1024.0));
    };
    std::vector<bool> matches;
    display.onFrame = [&](int) {
        std::array<float, 1024> expected{};
        ComputeFFT(capture.SampleBuffer.data(), expected.data());
        matches.push_back(expected == capture.SpectrumBuffer);
    };
    stopAfter(3);
    capture.StartCapture();
    EXPECT_EQ(matches, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(capture.SampleBuffer[0], 8000);
}

TEST_F(WaveCaptureTest, OnlyTheFirstHalfOfTheSampleBufferIsEverWritten) {
    capture.InitDevices();
    stopAfter(5);
    capture.StartCapture();
    ASSERT_EQ(input.delivered, 5);
    for (int i = 0; i < 512; ++i)
        ASSERT_EQ(static_cast<std::uint16_t>(capture.SampleBuffer[i]), 0x5A5A) << i;
    for (int i = 512; i < 1024; ++i)
        ASSERT_EQ(capture.SampleBuffer[i], 0) << i;
}

TEST_F(WaveCaptureTest, OpenFailureIsShownOncePerRunOfFailures) {
    capture.InitDevices();
    input.refusing = {0};
    capture.StartCapture();
    capture.StartCapture();
    capture.StartCapture();
    EXPECT_EQ(input.opened.size(), 3u);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Wave input device didn't open!");
    EXPECT_EQ(messages.shown[0].title, "Ack!");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(view.devicesEnabled);

    // A successful open ends the run; the next failure is reported again.
    input.refusing.clear();
    stopAfter(1);
    capture.StartCapture();
    EXPECT_EQ(display.frames, 1);
    input.refusing = {0};
    capture.StartCapture();
    capture.StartCapture();
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(WaveCaptureTest, ATickDuringARecordingLeavesTheInputClosed) {
    capture.InitDevices();
    recordingState.recording = true;
    capture.StartCapture();
    EXPECT_TRUE(input.opened.empty());
    EXPECT_TRUE(messages.shown.empty());

    recordingState.recording = false;
    stopAfter(1);
    capture.StartCapture();
    EXPECT_EQ(input.opened.size(), 1u);
    EXPECT_EQ(display.frames, 1);
}

TEST_F(WaveCaptureTest, ATickInsideAnEarlierTicksBoxOrLoopDoesNothing) {
    capture.InitDevices();
    // Inside the open-failure box.
    input.refusing = {0};
    messages.onShow = [&] { capture.StartCapture(); };
    capture.StartCapture();
    EXPECT_EQ(input.opened.size(), 1u);
    EXPECT_EQ(messages.shown.size(), 1u);

    // Inside the loop's yield.
    input.refusing.clear();
    events.onPass = [&](int pass) {
        capture.StartCapture();
        if (pass >= 3)
            capture.StopCapture();
    };
    capture.StartCapture();
    EXPECT_EQ(input.opened.size(), 2u);
    EXPECT_EQ(count("start 7"), 1);
    EXPECT_EQ(display.frames, 2);

    // Once the loop has returned, a tick opens again.
    stopAfter(1);
    capture.StartCapture();
    EXPECT_EQ(input.opened.size(), 3u);
}

struct EndCase {
    const char* name;
    FakeWaveInput::AfterLast afterLast;
};

void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

class WaveCaptureEndTest : public WaveCaptureTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(WaveCaptureEndTest, ABlockThatNeverComesClosesQuietlyAndTheNextTickReopens) {
    capture.InitDevices();
    input.blocksToDeliver = 2;
    input.afterLast = GetParam().afterLast;
    capture.StartCapture();

    EXPECT_EQ(display.frames, 2);
    // The block that never comes is given up after one deadline, not looked at in slices.
    EXPECT_EQ(events.passes, 3);
    EXPECT_EQ(events.lastWaitMs, WaveCapture::kBlockTimeoutMs);
    EXPECT_EQ(input.lastWaitMs, 0) << "the wait is the window's, never the stream's";
    EXPECT_EQ(capture.captureHandle(), 0u);
    EXPECT_EQ(count("reset 7"), 1);
    EXPECT_EQ(count("close 7"), 1);
    EXPECT_TRUE(view.devicesEnabled);
    EXPECT_TRUE(messages.shown.empty());

    input.blocksToDeliver = -1;
    stopAfter(3);
    capture.StartCapture();
    EXPECT_EQ(input.opened.size(), 2u);
    EXPECT_EQ(count("start 8"), 1);
}

INSTANTIATE_TEST_SUITE_P(Ends, WaveCaptureEndTest,
                         ::testing::Values(EndCase{"DeviceStalls", FakeWaveInput::AfterLast::Stall},
                                           EndCase{"ServerGoesAway",
                                                   FakeWaveInput::AfterLast::Fail}),
                         [](const auto& info) { return std::string(info.param.name); });

// A close request can come while the stream is being opened or started: capture counts as
// open then, so the request is refused, and the stream is closed at once without a frame.
TEST_F(WaveCaptureTest, AStopWhileTheStreamOpensOrStartsClosesItWithoutALoop) {
    capture.InitDevices();
    bool openDuringTheWait = false;
    const auto stop = [&] {
        openDuringTheWait = capture.isOpen();
        capture.StopCapture();
    };
    for (const bool duringOpen : {true, false}) {
        SCOPED_TRACE(duringOpen ? "open" : "start");
        input.calls.clear();
        input.duringOpen = duringOpen ? std::function<void()>(stop) : nullptr;
        input.duringStart = duringOpen ? nullptr : std::function<void()>(stop);
        view.devicesEnabled = true;
        capture.StartCapture();
        EXPECT_TRUE(openDuringTheWait);
        const std::string h = std::to_string(input.nextHandle - 1);
        const std::vector<std::string> expected =
            duringOpen ? std::vector<std::string>{"reset " + h, "close " + h}
                       : std::vector<std::string>{"start " + h, "reset " + h, "close " + h};
        EXPECT_EQ(input.calls, expected);
        EXPECT_EQ(display.frames, 0);
        EXPECT_FALSE(capture.isOpen());
        EXPECT_TRUE(view.devicesEnabled);
    }
}

// A second close request while the stream closes is refused too, and closes nothing twice.
TEST_F(WaveCaptureTest, AStopWhileTheStreamClosesIsNotASecondClose) {
    capture.InitDevices();
    stopAfter(1);
    bool openWhileClosing = false;
    input.duringReset = [&] {
        openWhileClosing = capture.isOpen();
        capture.StopCapture();
    };
    capture.StartCapture();
    EXPECT_TRUE(openWhileClosing);
    EXPECT_EQ(count("reset 7"), 1);
    EXPECT_EQ(count("close 7"), 1);
    EXPECT_FALSE(capture.isOpen());
}

TEST_F(WaveCaptureTest, AFinishedBlockWakesTheWindowsWait) {
    ASSERT_TRUE(input.notifier);
    input.notifier();
    EXPECT_EQ(events.wakes, 1);
}

TEST_F(WaveCaptureTest, StopCaptureWithNothingOpenOnlyEnablesTheList) {
    view.devicesEnabled = false;
    capture.StopCapture();
    EXPECT_TRUE(input.calls.empty());
    EXPECT_TRUE(view.devicesEnabled);
}

} // namespace
