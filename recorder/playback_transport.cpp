#include "recorder/playback_transport.h"

#include "common/rounding.h"
#include "platform/multimedia/multimedia_control.h"
#include "platform/ui/file_dialog.h"
#include "recorder/status_word.h"

#include <algorithm>

PlaybackTransport::PlaybackTransport(PlaybackView& view, MultimediaControl& control,
                                     FileDialog& dialog)
    : m_view(view), m_control(control), m_dialog(dialog) {}

bool PlaybackTransport::recording() const {
    return m_view.statusText() == status_word::kRecord;
}

void PlaybackTransport::closeDevice() {
    m_control.setCommand("Stop");
    m_control.setCommand("Close");
}

void PlaybackTransport::cmdOpenClick() {
    if (recording())
        return;
    // The choice is only remembered by the dialog; the next Play uses it.
    m_dialog.showOpen();
}

void PlaybackTransport::cmdPlayClick() {
    if (recording())
        return;
    m_control.setFileName(m_dialog.fileName());
    m_control.setCommand("Open");
    if (m_control.length() == 0)
        return;
    m_control.setCommand("Play");
    m_view.setStatus(status_word::kPlay, status_word::kPlayColour);
    m_view.setMMControlTimerEnabled(true);
}

void PlaybackTransport::cmdPauseClick() {
    if (recording() || m_control.length() == 0)
        return;
    // One command both pauses and resumes; only the status word tells which happened.
    m_control.setCommand("Pause");
    if (m_view.statusText() == status_word::kPause)
        m_view.setStatus(status_word::kPlay, status_word::kPlayColour);
    else
        m_view.setStatus(status_word::kPause, status_word::kPauseColour);
}

void PlaybackTransport::cmdStopPlayClick() {
    if (recording())
        return;
    closeDevice();
    m_view.setStatus(status_word::kStop, status_word::kStopAfterPlaybackColour);
    m_view.setMMControlTimerEnabled(false);
    m_view.setBarValue(0);
}

void PlaybackTransport::tmrMMControl1Tick() {
    const std::string status = m_view.statusText();
    const std::int32_t length = m_control.length();
    const std::int32_t position = m_control.position();
    if (position == length && status == status_word::kPlay) {
        m_view.setStatus(status_word::kStop, status_word::kStopAfterPlaybackColour);
        m_view.setBarValue(0);
        closeDevice();
        m_view.setMMControlTimerEnabled(false);
        return;
    }
    if (length == 0) {
        // The device was closed under a running timer (a recording started): nothing to show.
        m_view.setBarValue(0);
        m_view.setMMControlTimerEnabled(false);
        return;
    }
    m_view.setBarValue(barValue(position, length));
}

void PlaybackTransport::stopForRecording() {
    closeDevice();
    m_view.setMMControlTimerEnabled(false);
    m_view.setBarValue(0);
    // With the timer off no tick would ever turn "PLAY" back to "STOP", and the Record click may
    // yet be refused (no path, no overwrite, no place to save): nothing plays any more, so say so.
    const std::string status = m_view.statusText();
    if (status == status_word::kPlay || status == status_word::kPause)
        m_view.setStatus(status_word::kStop, status_word::kStopAfterPlaybackColour);
}

void PlaybackTransport::stopForClose() {
    closeDevice();
}

int PlaybackTransport::barValue(std::int32_t position, std::int32_t length) {
    if (length == 0)
        return 0;
    return std::clamp(roundToInt(double(position) / double(length) * 100.0), 0, 100);
}
