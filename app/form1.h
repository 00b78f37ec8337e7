#pragma once

#include "analysis/scope_display.h"
#include "analysis/wave_capture.h"
#include "app/form_button.h"
#include "app/form_pictures.h"
#include "app/recording_holds_input.h"
#include "help/html_help.h"
#include "platform/skin/skin_style.h"
#include "platform/skin/widget_skin_frame.h"
#include "recorder/playback_transport.h"
#include "recorder/recording.h"
#include "recorder/status_word.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>

class About;
class Browser;
class Clock;
class CommandDevice;
class CopyProgress;
class EventPump;
class FileDialog;
class MessageBox;
class MultimediaControl;
class PlaybackPanel;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class RecordingPanel;
class SpectrumPanel;
class SurfaceView;
class TakeSpool;
class WaveInput;
class XP_ProgressBar;

// The outside services the main window works with; real ones in the program, fakes in tests.
struct Form1Services {
    CommandDevice& device;
    MultimediaControl& mmControl;
    MessageBox& messages;
    FileDialog& dialog;
    EventPump& pump;
    const Clock& clock;
    WaveInput& waveInput;
    HTMLHelpServices help;
    Browser& browser;
    // Takes that earlier runs left behind are offered once the window is up.
    const TakeSpool& spool;
    CopyProgress* copyProgress = nullptr;
};

// The main window: fixed size, its controls, menus and timers. It owns the recording, playback
// and live capture and wires them, through one small view object per panel, to its controls
// (connectUi). The controls are built in form1_controls.cpp.
//
// The controls, timers and menu items, HelpViewer, Form_Load and the _Click handlers keep the
// program's own names (see the README's Names); every other member is camelCase() or
// m_camelCase.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // The pictures are decoded here unless the caller has them already (see main.cpp).
    explicit Form1(Form1Services services, QWidget* parent = nullptr,
                   const FormPictures& pictures = decodeFormPictures());
    ~Form1() override;

    static constexpr int kClientWidth = 607;
    static constexpr int kClientHeight = 270;

    QWidget* client() const { return m_client; }
    const WidgetSkinFrame& skinFrame() const { return m_skinFrame; }
    // The About window while it is loaded.
    About* about() const { return m_about.get(); }
    Recording& recording() { return *m_recording; }
    PlaybackTransport& playback() { return *m_playback; }
    WaveCapture& capture() { return *m_capture; }
    const ScopeDisplay& scopeDisplay() const;
    // Set when start-up found no audio input: the program ends (see startFailed).
    bool endRequested() const;
    // The load has run to its end, after the window's first frame: the device list is filled
    // and `tmrEq` runs (unless start-up ended the program).
    bool loadFinished() const { return m_loadFinished; }

    // How long after it is shown the window finishes its load without a first frame.
    static constexpr int kLoadFallbackMs = 1000;
    // The help object, made by the first Help > How to Use and kept.
    const HTMLHelp* helpViewer() const { return HelpViewer.get(); }

    // The window's controls, under the names the rest of the program uses.
    FormButton* cmdRecord = nullptr;   // RECORD: starts a take into the file named below
    FormButton* cmdStop = nullptr;     // STOP: ends the take, which is then saved
    FormButton* cmdPlay = nullptr;     // PLAY: plays the file chosen with cmdOpen
    FormButton* cmdStopPlay = nullptr; // stops playback
    FormButton* cmdPause = nullptr;    // pauses playback, and resumes it
    FormButton* cmdOpen = nullptr;     // chooses the file to play
    FormButton* Command1 = nullptr;    // the arrow beside the file name box: picks where to record
    std::array<FormButton*, 4> optFreq{};    // the four recording formats, in Frame3
    QLabel* Label1 = nullptr;                // "STATUS:", the caption of lblStatus
    QLabel* lblStatus = nullptr;             // the status word: STOP, RECORD, PLAY or PAUSE
    QLabel* Label2 = nullptr;                // "SETTING:", the caption of lblSettings
    QLabel* lblSettings = nullptr;           // the chosen format's caption
    QLabel* Label4 = nullptr;                // "SIZE:", the caption of lblSize
    QLabel* lblSize = nullptr;               // the take's size read-out in kilobytes
    QLabel* lblTime = nullptr;               // the take's time read-out
    QGroupBox* Frame3 = nullptr;             // " WAV SETTINGS ", around optFreq
    SurfaceView* Scope = nullptr;            // the live spectrum
    XP_ProgressBar* barMMControl1 = nullptr; // the playback position, 0 to 100
    QLineEdit* txtFileName = nullptr;        // the path of the WAV file to record
    QComboBox* DevicesBox = nullptr;         // hidden: the audio inputs; the first is used
    QTimer tmrEq;                            // one second: starts the live spectrum
    QTimer tmrMMControl1;                    // one second: the playback position
    QAction* mnuExit = nullptr;              // File > Exit
    QAction* Contents = nullptr;             // Help > How to Use
    QAction* mAbout = nullptr;               // Help > About

    // The status word and its colour, as 0x00BBGGRR.
    QString statusWord() const;
    std::uint32_t statusColour() const { return m_status.colour(); }

signals:
    // The window has closed for good: the program ends (see endProgramWith).
    void closed();
    // Start-up found no audio input and has said so: the program ends at once.
    void startFailed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool attachSkin(const FormPictures& pictures);
    void buildMenus();
    void buildControls();
    void buildScope();
    void buildReadouts();
    void buildFormatFrame();
    void buildPositionBar();
    void buildFileNameBox();
    void buildButtons();
    void connectUi();
    void loadStoredSettings();
    void Form_Load();
    void finishLoad();
    void Contents_Click();
    void mAbout_Click();

    Form1Services m_services;
    // The frame skin draws the caption bar and frame for the window's whole life.
    SkinStyle m_skinStyle;
    WidgetSkinFrame m_skinFrame;
    QWidget* m_client = nullptr;
    // The status word that lblStatus shows and recording and playback read.
    StatusModel m_status;
    // The view objects over the controls, made in connectUi; they outlive the logic below.
    std::unique_ptr<RecordingPanel> m_recordingPanel;
    std::unique_ptr<PlaybackPanel> m_playbackPanel;
    std::unique_ptr<SpectrumPanel> m_spectrumPanel;
    // In this order: recording stops playback, capture asks the recording and draws on the
    // spectrum panel's display.
    std::unique_ptr<PlaybackTransport> m_playback;
    std::unique_ptr<Recording> m_recording;
    std::unique_ptr<RecordingHoldsInput> m_recordingHoldsInput;
    std::unique_ptr<WaveCapture> m_capture;
    std::unique_ptr<About> m_about;
    bool m_firstFrameWatched = false;
    bool m_loadFinished = false;
    bool m_closed = false;
    // Kept under the program's own name: the help object, none until first needed.
    std::unique_ptr<HTMLHelp> HelpViewer;
};
