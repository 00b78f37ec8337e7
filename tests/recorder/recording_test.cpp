#include "platform/mci/command_errors.h"
#include "platform/spool/take_spool.h"
#include "recorder/playback_stopper.h"
#include "recorder/record_formats.h"
#include "recorder/recording.h"
#include "recorder/status_word.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

class FakeRecordingView : public RecordingView {
public:
    std::string fileNameText() const override { return fileName; }
    void setFileNameText(const std::string& text) override { fileName = text; }
    void setStatus(const std::string& text, std::uint32_t c) override {
        status = text;
        colour = c;
    }
    bool recordEnabled() const override { return recordOn; }
    void setRecordEnabled(bool enabled) override { recordOn = enabled; }
    void setStopEnabled(bool enabled) override { stopOn = enabled; }
    void setSettingsText(const std::string& text) override { settings = text; }
    void setTimeText(const std::string& text) override { times.push_back(text); }
    void setSizeText(const std::string& text) override { sizes.push_back(text); }

    std::string fileName;
    std::string status = "STOP";
    std::uint32_t colour = status_word::kStartColour;
    bool recordOn = true;
    bool stopOn = false;
    std::string settings;
    std::vector<std::string> times;
    std::vector<std::string> sizes;
};

class FakePlayback : public PlaybackStopper {
public:
    void stopForRecording() override { ++stops; }
    int stops = 0;
};

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        view.fileName = path("take.wav");
    }
    std::string path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    // Stops the take from inside the loop after `passes` passes, as a Stop click would.
    void stopAfterPasses(int passes) {
        pump.onPass = [this, passes](int pass) {
            clock.now += 0.5;
            if (pass == passes)
                recording.cmdStopClick();
        };
    }

    QTemporaryDir dir;
    FakeRecordingView view;
    FakeCommandDevice device;
    FakeMessageBox boxes;
    FakeFileDialog dialog;
    FakeEventPump pump;
    FakeClock clock;
    FakePlayback playback;
    TakeSpool spool{path("spool")};
    Recording recording{view, {device, boxes, dialog, pump, clock, spool}, playback};
};

TEST_F(RecordingTest, SendsTheCommandsInOrderAndSavesOnStop) {
    stopAfterPasses(3);
    device.statusReply = "176400";
    recording.cmdRecordClick();

    const std::vector<std::string> expected = {
        "open new Type waveaudio Alias recsound",
        "set recsound time format ms bitspersample 16 channels 2 bytespersec 22500  samplespersec "
        "44100",
        "record  recsound",
        "set recsound time format bytes",
        "status recsound length",
        "set recsound time format bytes",
        "status recsound length",
        "set recsound time format bytes",
        "status recsound length",
        "save recsound " + view.fileName,
        "close recsound",
    };
    EXPECT_EQ(device.sent, expected);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(playback.stops, 1);
    EXPECT_EQ(view.status, "STOP");
    EXPECT_EQ(view.colour, status_word::kStopAfterRecordingColour);
    EXPECT_TRUE(view.recordOn);
    EXPECT_FALSE(view.stopOn);
    EXPECT_EQ(view.sizes.back(), "172.27 kb");
    EXPECT_LE(pump.lastWaitMs, 20);
    EXPECT_GT(pump.lastWaitMs, 0);
}

TEST_F(RecordingTest, ShowsRecordStateWhileTheLoopRuns) {
    pump.onPass = [this](int) {
        EXPECT_EQ(view.status, "RECORD");
        EXPECT_EQ(view.colour, status_word::kRecordColour);
        EXPECT_FALSE(view.recordOn);
        EXPECT_TRUE(view.stopOn);
        EXPECT_TRUE(recording.isRecording());
        recording.cmdStopClick();
    };
    recording.cmdRecordClick();
    EXPECT_FALSE(recording.isRecording());
}

TEST_F(RecordingTest, TimeReadOutCountsOnAMonotonicClock) {
    clock.now = 86399.6; // any origin works: only differences count
    pump.onPass = [this](int pass) {
        clock.now += 30.0;
        if (pass == 4)
            recording.cmdStopClick();
    };
    recording.cmdRecordClick();
    // Start rounds to 86400; passes see +0, +30, +60, +90 seconds (less the 0.4 s of rounding).
    EXPECT_EQ(view.times, (std::vector<std::string>{"00:00", "00:30", "01:00", "01:30"}));
}

TEST_F(RecordingTest, FormatChoiceGoesIntoTheNextRecording) {
    recording.optFreqClick(3);
    EXPECT_EQ(view.settings, "48,000 kHz,  8 Bit, Stereo");
    pump.onPass = [this](int) {
        recording.optFreqClick(0); // changes the label, not the running take
        recording.cmdStopClick();
    };
    recording.cmdRecordClick();
    EXPECT_EQ(device.sent[1], "set recsound time format ms bitspersample 8 channels 2 bytespersec "
                              "22500  samplespersec 48000");
    EXPECT_EQ(view.settings, "44,100 kHz, 16 Bit, Stereo");
    EXPECT_EQ(recording.samplesPerSec(), "44100");
}

TEST_F(RecordingTest, PathWithBlanksIsQuoted) {
    std::filesystem::create_directory(path("my takes"));
    view.fileName = path("my takes/first take.wav");
    stopAfterPasses(1);
    recording.cmdRecordClick();
    EXPECT_EQ(device.sent[device.sent.size() - 2], "save recsound \"" + view.fileName + "\"");
}

TEST_F(RecordingTest, EmptyPathIsRefused) {
    view.fileName.clear();
    recording.cmdRecordClick();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Please Enter A File Name To Save !");
    EXPECT_EQ(boxes.shown[0].title, "Sorvinta");
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(device.sent.empty());
    EXPECT_EQ(playback.stops, 1); // playback ends even so
    EXPECT_TRUE(view.recordOn);
    EXPECT_FALSE(view.stopOn);
    EXPECT_EQ(view.status, "STOP");
}

TEST_F(RecordingTest, OverwriteQuestionCancelRecordsNothing) {
    std::ofstream(view.fileName) << "keep me";
    boxes.answers = {MessageAnswer::Cancel};
    recording.cmdRecordClick();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "File already exists ! Overwrite ?");
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
    EXPECT_TRUE(device.sent.empty());
    std::ifstream in(view.fileName);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "keep me");
}

TEST_F(RecordingTest, OverwriteQuestionOkRecords) {
    std::ofstream(view.fileName) << "old";
    stopAfterPasses(1);
    recording.cmdRecordClick();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(device.sent.front(), "open new Type waveaudio Alias recsound");
}

TEST_F(RecordingTest, PlacesASaveCannotUseAreRefusedBeforeRecording) {
    std::filesystem::create_directory(path("folder"));
    struct Case {
        std::string target;
        std::string reason;
    };
    const Case cases[] = {
        {path("missing/take.wav"), "its folder does not exist"},
        {path("folder"), "it is a folder, not a file"},
        {path("folder/"), "it names a folder, not a file"},
        {path("bad\nname.wav"), "the name contains a control character"},
        {path("say \"hi\".wav"),
         "the name contains a double quote (\"), which a command cannot carry"},
        {path("name.wav "), "the file name ends with a blank"},
        {path(std::string(252, 'n') + ".wav"),
         "the file name is longer than the 255 bytes this file system allows"},
    };
    for (const Case& c : cases) {
        boxes.shown.clear();
        device.sent.clear();
        view.fileName = c.target;
        recording.cmdRecordClick();
        ASSERT_EQ(boxes.shown.size(), 1u) << c.target;
        EXPECT_EQ(boxes.shown[0].text, "Cannot record to " + c.target + ": " + c.reason + ".");
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(device.sent.empty()) << c.target;
        EXPECT_TRUE(view.recordOn);
        EXPECT_FALSE(view.stopOn);
        EXPECT_EQ(view.status, "STOP");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()),
                            std::filesystem::directory_iterator()),
              1)
        << "nothing but the folder is left behind";
}

TEST_F(RecordingTest, ARefusalComesBeforeTheOverwriteQuestion) {
    // An existing file that the save could not use: nobody confirms an overwrite to be refused.
    view.fileName = path("old.wav ");
    std::ofstream(view.fileName) << "old";
    recording.cmdRecordClick();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("ends with a blank"), std::string::npos);
    EXPECT_TRUE(device.sent.empty());
}

TEST_F(RecordingTest, ALongNameWithinTheLimitRecords) {
    view.fileName = path(std::string(250, 'n') + ".wav");
    stopAfterPasses(1);
    recording.cmdRecordClick();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(device.sent[device.sent.size() - 2], "save recsound " + view.fileName);
}

struct StartFailure {
    const char* name;
    const char* failing;      // command prefix that fails
    std::size_t commandsSent; // including the silent close
    bool closes;
};

class RecordingStartFailure : public RecordingTest,
                              public ::testing::WithParamInterface<StartFailure> {};

TEST_P(RecordingStartFailure, ReportsOnceClosesAndReturnsToIdle) {
    const StartFailure f = GetParam();
    device.failures[f.failing] = 263;
    recording.cmdRecordClick();

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Error");
    EXPECT_EQ(boxes.shown[0].text, "fake error 263");
    EXPECT_EQ(device.sent.size(), f.commandsSent);
    EXPECT_EQ(device.sent.back() == "close recsound", f.closes);
    EXPECT_EQ(pump.passes, 0);
    EXPECT_FALSE(recording.isRecording());
    EXPECT_TRUE(view.recordOn);
    EXPECT_FALSE(view.stopOn);
    EXPECT_EQ(view.status, "STOP");
    // Nothing was created at the target.
    EXPECT_FALSE(std::filesystem::exists(view.fileName));
}

INSTANTIATE_TEST_SUITE_P(Commands, RecordingStartFailure,
                         ::testing::Values(StartFailure{"open", "open", 1, false},
                                           StartFailure{"set", "set recsound time format ms", 3,
                                                        true},
                                           StartFailure{"record", "record", 4, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordingTest, FailedStartKeepsAFileThatExistedBefore) {
    std::ofstream(view.fileName) << "old";
    device.failures["open"] = 263;
    recording.cmdRecordClick();
    EXPECT_TRUE(std::filesystem::exists(view.fileName));
}

TEST_F(RecordingTest, FailedPollSavesWhatWasRecordedAndSaysWhyAndHowMuch) {
    device.statusReply = "176400"; // 1.0 s of 44,100 Hz, 16 bit, stereo
    pump.onPass = [this](int pass) {
        if (pass == 2) {
            // The take ended with a burst that no good poll saw: it holds 2.0 s.
            device.failures["status"] = 278;
            device.statusReply = "352800";
        }
    };
    recording.cmdRecordClick();

    const auto& sent = device.sent;
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], "save recsound " + view.fileName);
    EXPECT_EQ(sent.back(), "close recsound");
    EXPECT_EQ(pump.passes, 3);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Error");
    EXPECT_EQ(boxes.shown[0].text, "fake error 278 What was recorded up to then (2.0 s) has "
                                   "been saved to " +
                                       view.fileName + ".");
    EXPECT_EQ(view.status, "STOP");
    EXPECT_TRUE(view.recordOn);
    EXPECT_FALSE(view.stopOn);
}

TEST_F(RecordingTest, ATakeThatEndedJustBeforeTheSaveIsReportedAsSuch) {
    device.nextCodes["save"] = {toCode(CommandError::SavedEndedEarly)};
    stopAfterPasses(1);
    recording.cmdRecordClick();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "fake error " + std::to_string(toCode(CommandError::SavedEndedEarly)));
    EXPECT_EQ(device.sent.back(), "close recsound");
    EXPECT_EQ(dialog.shows, 0);
}

TEST_F(RecordingTest, FailedSaveAsksForAnotherPlaceUntilOneWorks) {
    device.statusReply = "176400";
    device.nextCodes["save"] = {271, 271};
    const std::string second = path("second.wav");
    const std::string third = path("third.wav");
    // A refused place, then one where the save fails again, then one where it works.
    dialog.choices = {path("missing/x.wav"), second, third};
    stopAfterPasses(1);
    recording.cmdRecordClick();

    const std::vector<std::string> tail(device.sent.end() - 4, device.sent.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"save recsound " + path("take.wav"),
                                              "save recsound " + second, "save recsound " + third,
                                              "close recsound"}));
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, "fake error 271\n\nChoose another place for the recording.");
    EXPECT_EQ(boxes.shown[0].title, "Error");
    EXPECT_EQ(boxes.shown[1].text,
              "Cannot save to " + path("missing/x.wav") + ": its folder does not exist.");
    EXPECT_EQ(boxes.shown[2].text, boxes.shown[0].text);
    EXPECT_EQ(view.fileName, third);
    EXPECT_EQ(view.status, "STOP");
    EXPECT_FALSE(recording.isRecording());
}

TEST_F(RecordingTest, ATakeIsDiscardedOnlyAfterItsConfirmation) {
    device.statusReply = "88200"; // 0.5 s
    device.failures["save"] = 271;
    dialog.choices = {"", ""}; // cancelled twice
    boxes.answers = {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Ok};
    stopAfterPasses(1);
    recording.cmdRecordClick();

    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[1].text,
              "Discard the recording of 0.5 s? It cannot be recovered afterwards.");
    EXPECT_EQ(boxes.shown[1].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(dialog.shows, 2);
    EXPECT_EQ(dialog.name, view.fileName) << "the dialog opens where the save failed";
    const std::vector<std::string> tail(device.sent.end() - 3, device.sent.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"save recsound " + view.fileName, "delete recsound",
                                              "close recsound"}));
}

TEST_F(RecordingTest, WhileATakeWaitsForItsPlaceNothingElseStarts) {
    device.nextCodes["save"] = {271};
    dialog.choices = {path("later.wav")};
    bool refusedClose = false;
    bool busy = false;
    boxes.onShow = [&] {
        if (boxes.shown.size() != 1)
            return;
        busy = recording.isRecording();
        refusedClose = recording.refuseCloseWhileRecording();
        recording.cmdRecordClick(); // a second take must not start
    };
    stopAfterPasses(1);
    recording.cmdRecordClick();
    EXPECT_TRUE(busy);
    EXPECT_TRUE(refusedClose);
    EXPECT_EQ(std::count(device.sent.begin(), device.sent.end(),
                         std::string("open new Type waveaudio Alias recsound")),
              1);
    EXPECT_FALSE(recording.isRecording());
    EXPECT_FALSE(recording.refuseCloseWhileRecording());
}

TEST_F(RecordingTest, CloseRequestWhileRecordingStopsAndIsRefusedOnce) {
    EXPECT_FALSE(recording.refuseCloseWhileRecording());
    bool refused = false;
    pump.onPass = [&](int) { refused = recording.refuseCloseWhileRecording(); };
    recording.cmdRecordClick();
    EXPECT_TRUE(refused);
    EXPECT_EQ(device.sent[device.sent.size() - 2], "save recsound " + view.fileName);
    EXPECT_FALSE(recording.refuseCloseWhileRecording());
}

// The device's commands let the window's events run while they wait (they are sent from
// another thread): a Stop or a close request that comes while the device opens or starts ends
// the take as soon as it has started, and it is saved.
TEST_F(RecordingTest, AStopWhileTheDeviceStartsEndsTheTakeOnceStarted) {
    struct Case {
        const char* during;
        bool closeRequest;
    };
    for (const Case c : {Case{"open", false}, Case{"record", false}, Case{"set", true}}) {
        SCOPED_TRACE(c.during);
        device.sent.clear();
        bool refused = false;
        device.onSend = [&](const std::string& command) {
            if (command.rfind(c.during, 0) != 0)
                return;
            if (c.closeRequest)
                refused = recording.refuseCloseWhileRecording();
            else
                recording.cmdStopClick();
        };
        recording.cmdRecordClick();
        device.onSend = nullptr;
        EXPECT_EQ(device.sent,
                  (std::vector<std::string>{device.sent[0], device.sent[1], "record  recsound",
                                            "save recsound " + view.fileName, "close recsound"}));
        EXPECT_EQ(refused, c.closeRequest);
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_TRUE(view.recordOn);
        EXPECT_FALSE(view.stopOn);
        EXPECT_EQ(view.status, "STOP");
        EXPECT_FALSE(recording.isRecording());
    }
}

TEST_F(RecordingTest, SavePathDialog) {
    view.fileName = "/kept/path.wav";
    dialog.choices = {""}; // cancelled
    recording.command1Click();
    EXPECT_EQ(view.fileName, "/kept/path.wav");
    dialog.choices = {"/chosen/take.wav"};
    recording.command1Click();
    EXPECT_EQ(view.fileName, "/chosen/take.wav");
    EXPECT_EQ(dialog.shows, 2);
}

TEST_F(RecordingTest, OptionClicksSetTheFormat) {
    for (int i = 0; i < 4; ++i) {
        recording.optFreqClick(i);
        EXPECT_EQ(view.settings, kRecordFormats[i].caption);
        EXPECT_EQ(recording.bitsPerSample(), kRecordFormats[i].bitsPerSample);
        EXPECT_EQ(recording.samplesPerSec(), kRecordFormats[i].samplesPerSec);
    }
    recording.optFreqClick(7);
    EXPECT_EQ(view.settings, kRecordFormats[3].caption);
}

} // namespace
