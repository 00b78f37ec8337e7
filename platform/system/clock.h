#pragma once

// Seconds with fractions on a clock that never jumps (not the time of day), so elapsed
// times survive midnight and clock changes.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double seconds() const = 0;
};
