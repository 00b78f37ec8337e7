#pragma once

#include "platform/clock.h"

class SteadyClock : public Clock {
public:
    double seconds() const override;
};
