#pragma once

#include "platform/audio/pulse_library.h"

#include <pulse/operation.h>
#include <pulse/thread-mainloop.h>

// Holds a threaded main loop's lock for one scope; with no loop it holds nothing.
class PulseLoopLock {
public:
    explicit PulseLoopLock(pa_threaded_mainloop* loop) : m_loop(loop) {
        if (m_loop)
            pulse().pa_threaded_mainloop_lock(m_loop);
    }
    ~PulseLoopLock() {
        if (m_loop)
            pulse().pa_threaded_mainloop_unlock(m_loop);
    }
    PulseLoopLock(const PulseLoopLock&) = delete;
    PulseLoopLock& operator=(const PulseLoopLock&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

// Operations whose completion nobody waits for are released at once.
inline void unrefOperation(pa_operation* op) {
    if (op)
        pulse().pa_operation_unref(op);
}
