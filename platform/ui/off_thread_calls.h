#pragma once

#include "platform/ui/event_pump.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

// Calls that may wait on the audio server or the disk, run on a worker thread of their own while
// the caller waits inside its event pump: the window paints and takes input meanwhile, and to
// the caller the call returns as if it had run in place.
//
// One worker runs the calls one after another in the order they were made. A call made from an
// event that runs inside another call's wait queues behind that call, so the calls that one
// service receives keep their order, and the service is only ever used from one thread at a
// time.
class OffThreadCalls {
public:
    explicit OffThreadCalls(EventPump& pump);
    // Lets the calls already queued finish, then ends the worker.
    ~OffThreadCalls();
    OffThreadCalls(const OffThreadCalls&) = delete;
    OffThreadCalls& operator=(const OffThreadCalls&) = delete;

    // How often a long wait hears about itself.
    static constexpr int kTickMs = 100;

    // Runs `work` on the worker and returns its result. While it runs, window events are
    // handled as they come, and `waiting`, when given, is told every kTickMs how long the call
    // has taken so far (in ms).
    template <class Work>
    std::invoke_result_t<Work&> call(Work&& work, const std::function<void(int)>& waiting = {});

private:
    void post(std::function<void()> job);
    void waitFor(const std::atomic<bool>& done, const std::function<void(int)>& waiting);
    void run();

    EventPump& m_pump;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_jobs;
    bool m_ending = false;
    std::thread m_worker;
};

template <class Work>
std::invoke_result_t<Work&> OffThreadCalls::call(Work&& work,
                                                 const std::function<void(int)>& waiting) {
    using Result = std::invoke_result_t<Work&>;
    // The job only refers to the caller's frame, which lives until `done` is set; after that
    // it touches nothing of it.
    std::atomic<bool> done{false};
    if constexpr (std::is_void_v<Result>) {
        post([&] {
            work();
            done.store(true, std::memory_order_release);
            m_pump.wake();
        });
        waitFor(done, waiting);
    } else {
        std::optional<Result> result;
        post([&] {
            result.emplace(work());
            done.store(true, std::memory_order_release);
            m_pump.wake();
        });
        waitFor(done, waiting);
        return std::move(*result);
    }
}
