#include "platform/multimedia/pulse_multimedia_control.h"

#include <algorithm>

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

PlaybackResult PulseMultimediaControl::setCommand(const std::string& command) {
    if (command == "Open")
        return open();
    if (command == "Play")
        return play();
    if (command == "Pause")
        pause();
    else if (command == "Stop")
        stop();
    else if (command == "Close")
        close();
    else
        return Failed{PlaybackCause::UnknownCommand};
    return {};
}

std::int32_t PulseMultimediaControl::length() const {
    return m_reader.lengthMs();
}

std::int32_t PulseMultimediaControl::position() const {
    if (!m_reader.isOpen() || !m_playback || !m_playback->active())
        return 0;
    const std::int32_t length = m_reader.lengthMs();
    if (m_playback->finished())
        return length;
    // The last millisecond is reached only by finishing, so that equality means the end.
    return std::min(m_reader.framesToMs(m_playback->playedFrames()), length - 1);
}

PlaybackResult PulseMultimediaControl::open() {
    if (m_reader.isOpen() && m_openPath == m_fileName)
        return {};
    close();
    if (!m_reader.open(m_fileName))
        return Failed{PlaybackCause::Unplayable};
    m_openPath = m_fileName;
    return {};
}

PlaybackResult PulseMultimediaControl::play() {
    if (!m_reader.isOpen())
        return Failed{PlaybackCause::NothingOpen};
    if (m_playback && m_playback->active()) {
        // A stream the server dropped cannot resume: start over on a new connection.
        if (!m_playback->finished() && !m_playback->failed()) {
            m_playback->setPaused(false);
            return {};
        }
        stop();
    }
    if (!m_playback)
        m_playback = std::make_unique<PulsePlayback>();
    const AudioResult<void> started = m_playback->start(m_reader);
    if (started)
        return {};
    m_reader.rewind(); // so that the next try starts at the beginning too
    return Failed{started.cause() == AudioCause::ServerUnreachable
                      ? PlaybackCause::ServerUnreachable
                      : PlaybackCause::StreamRefused};
}

void PulseMultimediaControl::pause() {
    if (m_playback && m_playback->active() && !m_playback->finished())
        m_playback->setPaused(!m_playback->paused());
}

void PulseMultimediaControl::stop() {
    if (m_playback)
        m_playback->stop();
    m_reader.rewind();
}

void PulseMultimediaControl::close() {
    m_playback.reset();
    m_reader.close();
    m_openPath.clear();
}
