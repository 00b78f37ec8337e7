#include "platform/ui/qt_event_pump.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// A condition made true by another thread, which then calls wake(): the wait ends then, with
// no window event at all, and long before its deadline.
TEST(QtEventPump, AWakeFromAnotherThreadEndsTheWait) {
    QtEventPump pump;
    std::atomic<bool> done{false};
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        done = true;
        pump.wake();
    });
    QElapsedTimer waited;
    waited.start();
    const bool ready = pump.waitUntil([&] { return done.load(); }, 60000);
    other.join();
    EXPECT_TRUE(ready);
    EXPECT_LT(waited.elapsed(), 30000) << "the wake was not seen; the deadline ended the wait";
}

// Events run while the wait goes on, each as it comes: a timer fires three times inside one wait.
TEST(QtEventPump, EventsRunAsTheyArriveUntilTheConditionHolds) {
    QtEventPump pump;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    EXPECT_TRUE(pump.waitUntil([&] { return ticks >= 3; }, 60000));
    EXPECT_EQ(ticks, 3);
}

// The deadline is kept when nothing comes, and what is pending runs even when the condition
// already holds.
TEST(QtEventPump, TheDeadlineEndsAWaitThatNothingEnds) {
    QtEventPump pump;
    EXPECT_FALSE(pump.waitUntil([] { return false; }, 50));

    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    EXPECT_TRUE(pump.waitUntil([] { return true; }, 50));
    EXPECT_TRUE(ran);
}

} // namespace
