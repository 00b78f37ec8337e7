#include "platform/ui/off_thread_wave_input.h"

OffThreadWaveInput::OffThreadWaveInput(WaveInput& input, EventPump& pump)
    : m_input(input), m_calls(pump) {}

void OffThreadWaveInput::setNotifier(std::function<void()> notify) {
    m_input.setNotifier(std::move(notify));
}

std::vector<std::string> OffThreadWaveInput::deviceNames() {
    return m_calls.call([this] {
        std::vector<std::string> names = m_input.deviceNames();
        m_serverAnswered = m_input.serverAnswered();
        return names;
    });
}

WaveInputHandle OffThreadWaveInput::open(int device, const WaveFormat& format) {
    return m_calls.call([&] { return m_input.open(device, format); });
}

void OffThreadWaveInput::start(WaveInputHandle handle) {
    m_calls.call([&] { m_input.start(handle); });
}

void OffThreadWaveInput::addBuffer(WaveInputHandle handle, WaveBlock& block) {
    m_input.addBuffer(handle, block);
}

WaveWait OffThreadWaveInput::waitDone(WaveInputHandle handle, const WaveBlock& block,
                                      int maxWaitMs) {
    return m_input.waitDone(handle, block, maxWaitMs);
}

void OffThreadWaveInput::reset(WaveInputHandle handle) {
    m_calls.call([&] { m_input.reset(handle); });
}

void OffThreadWaveInput::close(WaveInputHandle handle) {
    m_calls.call([&] { m_input.close(handle); });
}
