#pragma once

#include "platform/ui/event_pump.h"

class QtEventPump : public EventPump {
public:
    void processEvents(int maxWaitMs) override;
};
