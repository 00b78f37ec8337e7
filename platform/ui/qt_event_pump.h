#pragma once

#include "platform/ui/event_pump.h"

class QThread;

// Waits inside the dispatcher of the thread that made it (the window's).
class QtEventPump : public EventPump {
public:
    QtEventPump();

    bool waitUntil(const std::function<bool()>& ready, int timeoutMs) override;
    void wake() override;

private:
    QThread* m_thread;
};
