#pragma once

// "Let pending events run": the long loops of the program call this once per pass.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Runs the pending window events. When none is pending, waits for one at most
    // `maxWaitMs` milliseconds, so a loop that calls this never spins a core.
    virtual void processEvents(int maxWaitMs) = 0;
};
