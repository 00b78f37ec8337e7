#pragma once

#include "recorder/playback_stopper.h"

#include <cstdint>
#include <string>

class FileDialog;
class MultimediaControl;

// What playback needs of the main window: the status word, the position bar and the
// one-second position timer tmrMMControl1.
class PlaybackView {
public:
    virtual ~PlaybackView() = default;
    // The status word as the window's status model holds it, not as a label shows it.
    virtual std::string statusText() const = 0;
    // colour is 0x00BBGGRR.
    virtual void setStatus(const std::string& text, std::uint32_t colour) = 0;
    // 0 to 100.
    virtual void setBarValue(int value) = 0;
    virtual void setMMControlTimerEnabled(bool enabled) = 0;
};

// The open, play, pause and stop-playing buttons and the position timer. The status word is
// the transport state: while it is "RECORD" every button does nothing.
class PlaybackTransport : public PlaybackStopper {
public:
    PlaybackTransport(PlaybackView& view, MultimediaControl& control, FileDialog& dialog);

    void cmdOpenClick();
    void cmdPlayClick();
    void cmdPauseClick();
    void cmdStopPlayClick();
    void tmrMMControl1Tick();

    // A recording is about to start: ends playback; a "PLAY" or "PAUSE" status becomes "STOP".
    void stopForRecording() override;
    // The window is closing: the device is stopped and closed.
    void stopForClose();

    // The bar's value for a position: position / length * 100, rounded half to even.
    static int barValue(std::int32_t position, std::int32_t length);

private:
    bool recording() const;
    void closeDevice();

    PlaybackView& m_view;
    MultimediaControl& m_control;
    FileDialog& m_dialog;
};
