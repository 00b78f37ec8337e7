#pragma once

#include "platform/audio/wave_input.h"
#include "platform/ui/off_thread_calls.h"

class EventPump;

// The live input with everything that talks to the audio server (listing the devices, opening,
// starting, resetting and closing a stream) done on a worker thread, while the window's thread
// waits inside its event pump: a server that does not answer costs the window nothing. Queuing
// a block and looking at it stay on the caller's thread; they only touch the stream's own
// memory.
//
// So the calls that go to the worker let window events run before they return, and the caller
// must expect any of its events there (a close request, a timer tick).
class OffThreadWaveInput : public WaveInput {
public:
    OffThreadWaveInput(WaveInput& input, EventPump& pump);

    void setNotifier(std::function<void()> notify) override;
    std::vector<std::string> deviceNames() override;
    bool serverAnswered() const override { return m_serverAnswered; }
    WaveInputHandle open(int device, const WaveFormat& format) override;
    void start(WaveInputHandle handle) override;
    void addBuffer(WaveInputHandle handle, WaveBlock& block) override;
    WaveWait waitDone(WaveInputHandle handle, const WaveBlock& block, int maxWaitMs) override;
    void reset(WaveInputHandle handle) override;
    void close(WaveInputHandle handle) override;

private:
    WaveInput& m_input;
    bool m_serverAnswered = true;
    OffThreadCalls m_calls;
};
