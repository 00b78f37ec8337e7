#include "recorder/take_recovery.h"

#include "platform/spool/take_header.h"
#include "platform/spool/take_spool.h"
#include "support/fakes.h"
#include "support/wav_analysis.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace {

// A take as a crash leaves it: its header a second behind the data on disk.
void leaveTake(const std::string& path, const WaveFormat& format, double seconds) {
    const auto bytes = static_cast<std::uint64_t>(seconds * format.bytesPerSecond());
    const TakeHeaderBytes header =
        takeHeader(format, bytes - static_cast<std::uint64_t>(format.bytesPerSecond()));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<long>(header.size()));
    out << std::string(bytes, '\0');
}

class TakeRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        std::filesystem::create_directory(spoolDir());
        leaveTake(spoolDir() + "/take-20261210-140300-abcdef.wav", {44100, 16, 2}, 4.0);
    }
    std::string path(const std::string& name) const {
        return m_dir.filePath(QString::fromStdString(name)).toStdString();
    }
    std::string spoolDir() const { return path("spool"); }
    std::size_t takesLeft() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(spoolDir()),
                          std::filesystem::directory_iterator()));
    }
    void run() { TakeRecovery(spool, boxes, dialog, nullptr).run(); }

    static constexpr const char* kQuestion =
        "A recording of 4.0 s from 10 Dec 2026 14:03 was not saved.";

    QTemporaryDir m_dir;
    TakeSpool spool{spoolDir()};
    FakeMessageBox boxes;
    FakeFileDialog dialog;
};

} // namespace

TEST_F(TakeRecoveryTest, LaterLeavesTheTakeForTheNextStart) {
    boxes.answers = {MessageAnswer::Later};
    run();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, kQuestion);
    EXPECT_EQ(boxes.shown[0].title, "Sorvinta");
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::SaveLaterDiscard);
    EXPECT_EQ(takesLeft(), 1u);
    // Asked again next time, with the header now whole.
    boxes.shown.clear();
    run();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, kQuestion);
}

TEST_F(TakeRecoveryTest, SaveGoesWhereTheUserSays) {
    // A place the save cannot use, then one it can.
    dialog.choices = {path("missing/x.wav"), path("found.wav")};
    boxes.answers = {MessageAnswer::Save, MessageAnswer::Ok};
    run();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text,
              "Cannot save to " + path("missing/x.wav") + ": its folder does not exist.");
    EXPECT_EQ(takesLeft(), 0u);
    EXPECT_EQ(std::filesystem::file_size(path("found.wav")), kTakeHeaderBytes + 705600u);
}

TEST_F(TakeRecoveryTest, DiscardNeedsItsConfirmationAndACancelledDialogAsksAgain) {
    dialog.choices = {""};
    boxes.answers = {MessageAnswer::Save, MessageAnswer::Discard, MessageAnswer::Cancel,
                     MessageAnswer::Discard, MessageAnswer::Ok};
    run();
    ASSERT_EQ(boxes.shown.size(), 5u);
    EXPECT_EQ(boxes.shown[1].text, kQuestion);
    EXPECT_EQ(boxes.shown[2].text, "Discard the recording of 4.0 s from 10 Dec 2026 14:03? It "
                                   "cannot be recovered afterwards.");
    EXPECT_EQ(boxes.shown[3].text, kQuestion);
    EXPECT_EQ(takesLeft(), 0u);
}

// A take whose first 80 bytes were zeroed is offered like any other, says that its header was
// damaged and in which format it is read, and is never thrown away unasked.
TEST_F(TakeRecoveryTest, ATakeWithADamagedHeaderIsOfferedAndSaysSo) {
    const std::string damaged = spoolDir() + "/take-20261210-150000-48000hz-16bit-2ch-qwerty.wav";
    leaveTake(damaged, {48000, 16, 2}, 2.0);
    {
        std::fstream file(damaged, std::ios::binary | std::ios::in | std::ios::out);
        file.write(std::string(kTakeHeaderBytes, '\0').data(), kTakeHeaderBytes);
    }
    boxes.answers = {MessageAnswer::Later, MessageAnswer::Later};
    run();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, kQuestion);
    EXPECT_EQ(boxes.shown[1].text,
              "A recording of 2.0 s from 10 Dec 2026 15:00 was not saved.\n\nIts header was "
              "damaged. It is read as 48000 samples a second, 16 bit, stereo; if it does not "
              "sound right, its sound is still all there in the saved file.");
    EXPECT_EQ(boxes.shown[1].buttons, MessageButtons::SaveLaterDiscard);
    EXPECT_EQ(takesLeft(), 2u);
    EXPECT_EQ(std::filesystem::file_size(damaged), kTakeHeaderBytes + 2 * 192000u);

    // Left for later, it says the same on the next start, until it is saved whole.
    const std::string damagedQuestion = boxes.shown[1].text;
    boxes.shown.clear();
    dialog.choices = {path("kept.wav")};
    boxes.answers = {MessageAnswer::Later, MessageAnswer::Save};
    run();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, damagedQuestion);
    EXPECT_EQ(takesLeft(), 1u);
    const SoundFileFacts saved = analyseSoundFile(path("kept.wav"));
    EXPECT_EQ(saved.frames, 2 * 48000);
    EXPECT_EQ(saved.sampleRate, 48000);
}
