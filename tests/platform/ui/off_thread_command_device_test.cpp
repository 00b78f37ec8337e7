#include "platform/ui/off_thread_command_device.h"
#include "platform/ui/qt_event_pump.h"
#include "platform/ui/save_progress.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

class FakeSaveProgress : public SaveProgress {
public:
    void saving(int elapsedMs) override { longest = std::max(longest, elapsedMs); }
    void saved() override { ++ends; }
    int longest = 0;
    int ends = 0;
};

struct OffThreadDevice : ::testing::Test {
    FakeCommandDevice fake;
    QtEventPump pump;
    FakeSaveProgress saves;
    OffThreadCommandDevice device{fake, pump, &saves};
};

TEST_F(OffThreadDevice, CommandsReachTheDeviceOffTheWindowsThreadWithTheirAnswers) {
    const std::thread::id window = std::this_thread::get_id();
    std::vector<std::thread::id> threads;
    fake.onSend = [&](const std::string&) { threads.push_back(std::this_thread::get_id()); };
    fake.statusReply = "176400";
    fake.failures["record"] = 7;

    std::string reply;
    EXPECT_EQ(device.sendString("status rec length", &reply, 4), 0);
    EXPECT_EQ(reply, "176") << "cut to the buffer, as the device cuts it";
    EXPECT_EQ(device.sendString("record rec", &reply, 1024), 7);
    EXPECT_EQ(device.errorString(7), "fake error 7");
    EXPECT_EQ(device.errorString(9), "fake error 9");
    EXPECT_EQ(fake.sent, (std::vector<std::string>{"status rec length", "record rec"}));
    ASSERT_EQ(threads.size(), 2u);
    EXPECT_NE(threads[0], window);
}

// Only a save is shown, and only one that takes long enough to be noticed.
TEST_F(OffThreadDevice, ASlowSaveIsShownAndAQuickCommandIsNot) {
    fake.onSend = [](const std::string& command) {
        std::this_thread::sleep_for(command.find("SAVE") != std::string::npos ? 700ms : 300ms);
    };
    EXPECT_EQ(device.sendString("status rec length", nullptr, 0), 0);
    EXPECT_EQ(saves.longest, 0);
    EXPECT_EQ(saves.ends, 0);

    EXPECT_EQ(device.sendString("  SAVE rec /tmp/take.wav", nullptr, 0), 0);
    EXPECT_GE(saves.longest, 600);
    EXPECT_EQ(saves.ends, 1);
}

} // namespace
