#pragma once

#include "platform/system/clock.h"

class SteadyClock : public Clock {
public:
    double seconds() const override;
};
