#include "platform/ui/off_thread_calls.h"
#include "platform/ui/qt_event_pump.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The call runs on the worker, and the window's timers keep firing on time while it waits.
TEST(OffThreadCalls, ACallThatWaitsLeavesTheWindowsEventsRunning) {
    QtEventPump pump;
    OffThreadCalls calls(pump);
    QTimer timer;
    timer.setInterval(10);
    int ticks = 0;
    qint64 longestGap = 0;
    QElapsedTimer sinceTick;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (ticks++ > 0)
            longestGap = std::max(longestGap, sinceTick.elapsed());
        sinceTick.start();
    });
    timer.start();
    sinceTick.start();

    const std::thread::id window = std::this_thread::get_id();
    std::thread::id worker;
    const int answer = calls.call([&] {
        worker = std::this_thread::get_id();
        std::this_thread::sleep_for(500ms);
        return 42;
    });
    EXPECT_EQ(answer, 42);
    EXPECT_NE(worker, window);
    EXPECT_GE(ticks, 20);
    EXPECT_LT(longestGap, 100);
}

// A call made from an event inside another call's wait queues behind it, so one service sees
// its calls in the order they were made and never two at once.
TEST(OffThreadCalls, ACallFromInsideAnotherCallsWaitRunsAfterIt) {
    QtEventPump pump;
    OffThreadCalls calls(pump);
    std::vector<std::string> order;
    QTimer::singleShot(20, [&] {
        calls.call([&] { order.push_back("second"); });
        order.push_back("second returned");
    });
    calls.call([&] {
        order.push_back("first begins");
        std::this_thread::sleep_for(200ms);
        order.push_back("first ends");
    });
    order.push_back("first returned");
    EXPECT_EQ(order, (std::vector<std::string>{"first begins", "first ends", "second",
                                               "second returned", "first returned"}));
}

TEST(OffThreadCalls, ALongCallIsToldHowLongItHasTaken) {
    QtEventPump pump;
    OffThreadCalls calls(pump);
    std::vector<int> told;
    calls.call([] { std::this_thread::sleep_for(350ms); }, [&](int ms) { told.push_back(ms); });
    ASSERT_GE(told.size(), 2u);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_GE(told.back(), 2 * OffThreadCalls::kTickMs);

    told.clear();
    calls.call([] {}, [&](int ms) { told.push_back(ms); });
    EXPECT_TRUE(told.empty()) << "a quick call says nothing";
}

} // namespace
