#include "platform/system/steady_clock.h"

#include <chrono>

double SteadyClock::seconds() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
