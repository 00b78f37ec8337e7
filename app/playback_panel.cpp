#include "app/playback_panel.h"

#include "controls/progress_bar/xp_progress_bar.h"
#include "recorder/status_word.h"

#include <QTimer>

PlaybackPanel::PlaybackPanel(XP_ProgressBar& bar, QTimer& positionTimer, StatusModel& status)
    : m_bar(bar), m_positionTimer(positionTimer), m_status(status) {}

std::string PlaybackPanel::statusText() const {
    return m_status.word();
}

void PlaybackPanel::setStatus(const std::string& text, std::uint32_t colour) {
    m_status.set(text, colour);
}

void PlaybackPanel::setBarValue(int value) {
    m_bar.setValue(value);
}

void PlaybackPanel::setMMControlTimerEnabled(bool enabled) {
    if (enabled)
        m_positionTimer.start();
    else
        m_positionTimer.stop();
}
