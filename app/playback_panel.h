#pragma once

#include "recorder/playback_transport.h"

class QTimer;
class StatusModel;
class XP_ProgressBar;

// The playback's side of the main window: the position bar and its one-second timer. The
// status word goes to, and is read from, the window's status model.
class PlaybackPanel : public PlaybackView {
public:
    PlaybackPanel(XP_ProgressBar& bar, QTimer& positionTimer, StatusModel& status);

    std::string statusText() const override;
    void setStatus(const std::string& text, std::uint32_t colour) override;
    void setBarValue(int value) override;
    void setMMControlTimerEnabled(bool enabled) override;

private:
    XP_ProgressBar& m_bar;   // barMMControl1
    QTimer& m_positionTimer; // tmrMMControl1
    StatusModel& m_status;
};
