#pragma once

#include <cstdint>

// Told how far a copy of a take to another file system has come, so that the window's events
// keep running and a long copy can show its progress. Returning false cancels the copy.
class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    // Called with done == 0 before the first block and with done == total after the last.
    virtual bool copied(std::uint64_t done, std::uint64_t total) = 0;
    // The copy is over, done, failed or cancelled; called once after the first copied().
    virtual void ended() = 0;
};
