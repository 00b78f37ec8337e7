#pragma once

#include "platform/event_pump.h"

class QtEventPump : public EventPump {
public:
    void processEvents(int maxWaitMs) override;
};
