#include "platform/ui/off_thread_calls.h"

#include <chrono>

OffThreadCalls::OffThreadCalls(EventPump& pump) : m_pump(pump), m_worker([this] { run(); }) {}

OffThreadCalls::~OffThreadCalls() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_changed.notify_one();
    m_worker.join();
}

void OffThreadCalls::post(std::function<void()> job) {
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_one();
}

void OffThreadCalls::waitFor(const std::atomic<bool>& done,
                             const std::function<void(int)>& waiting) {
    const auto start = std::chrono::steady_clock::now();
    const auto isDone = [&done] { return done.load(std::memory_order_acquire); };
    // The worker wakes the wait when it is done; the ticks only serve `waiting`, and a wait that
    // has nobody to tell sleeps in longer stretches.
    const int tickMs = waiting ? kTickMs : 60000;
    while (!m_pump.waitUntil(isDone, tickMs)) {
        if (waiting)
            waiting(static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start)
                                         .count()));
    }
}

void OffThreadCalls::run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_ending || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}
