#include "support/stalling_sync.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::atomic<int> callCount{0};
std::atomic<int> stalledCall{0};
std::atomic<int> stallMs{0};
} // namespace

void stalling_sync::stallCall(int nth, int ms) {
    stallMs = ms;
    stalledCall = nth;
    callCount = 0;
}

int stalling_sync::calls() {
    return callCount.load();
}

// Linked into a test program only when it uses the functions above; it then stands in for the C
// library's own for the whole program.
extern "C" int fdatasync(int fd) {
    if (++callCount == stalledCall.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(stallMs.load()));
    return static_cast<int>(::syscall(SYS_fdatasync, fd));
}
