#pragma once

#include <functional>

// "Let pending events run": the long loops of the program wait in here, so that every window
// event is handled as it arrives while they wait, and nothing spins a core in between.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Handles window events as they arrive until `ready()` holds or `timeoutMs` has passed, and
    // returns ready(). The events already pending run first even when ready() holds at once, so
    // a loop that waits here on every pass never shuts the window out. Whatever makes ready()
    // true from another thread calls wake() afterwards.
    virtual bool waitUntil(const std::function<bool()>& ready, int timeoutMs) = 0;

    // Safe from any thread: makes a running waitUntil look at its condition again.
    virtual void wake() = 0;
};
