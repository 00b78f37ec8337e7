#include "platform/pulse_multimedia_control.h"

PulseMultimediaControl::PulseMultimediaControl() = default;

PulseMultimediaControl::~PulseMultimediaControl() {
    close();
}

void PulseMultimediaControl::setFileName(const std::string& path) {
    m_fileName = path;
}

std::string PulseMultimediaControl::fileName() const {
    return m_fileName;
}

void PulseMultimediaControl::setCommand(const std::string& command) {
    if (command == "Open")
        open();
    else if (command == "Close")
        close();
    // "Play", "Pause" and "Stop" have no device to drive yet.
}

std::int32_t PulseMultimediaControl::length() const {
    return m_reader.lengthMs();
}

std::int32_t PulseMultimediaControl::position() const {
    return 0;
}

void PulseMultimediaControl::open() {
    close();
    if (m_reader.open(m_fileName))
        m_openPath = m_fileName;
}

void PulseMultimediaControl::close() {
    m_reader.close();
    m_openPath.clear();
}
