#pragma once

#include "analysis/scope_display.h"
#include "analysis/wave_capture.h"
#include "app/calm_accessible_name.h"
#include "app/form_button.h"
#include "app/recording_holds_input.h"
#include "help/html_help.h"
#include "platform/skin/skin_style.h"
#include "platform/skin/widget_skin_frame.h"
#include "recorder/playback_transport.h"
#include "recorder/recording.h"

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
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
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
// and live capture, wires them to each other and to its controls, and is the view they write to.
// The controls are built in form1_controls.cpp.
class Form1 : public QMainWindow, private RecordingView, private PlaybackView, private CaptureView {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    static constexpr int kClientWidth = 607;
    static constexpr int kClientHeight = 270;

    QWidget* client() const { return m_client; }
    const WidgetSkinFrame& skinFrame() const { return m_skinFrame; }
    // The About window while it is loaded.
    About* about() const { return m_about.get(); }
    Recording& recording() { return m_recording; }
    PlaybackTransport& playback() { return m_playback; }
    WaveCapture& capture() { return m_capture; }
    const ScopeDisplay& scopeDisplay() const { return m_scope; }
    // Set when start-up found no audio input: the program ends (see startFailed).
    bool endRequested() const { return m_endRequested; }
    // The load has run to its end, after the window's first frame: the device list is filled
    // and `tmrEq` runs (unless start-up ended the program).
    bool loadFinished() const { return m_loadFinished; }

    // How long after it is shown the window finishes its load without a first frame.
    static constexpr int kLoadFallbackMs = 1000;
    // The help object, made by the first Help > How to Use and kept.
    const HTMLHelp* helpViewer() const { return HelpViewer.get(); }

    // The window's controls, under the names the rest of the program uses.
    FormButton* cmdRecord = nullptr;
    FormButton* cmdStop = nullptr;
    FormButton* cmdPlay = nullptr;
    FormButton* cmdStopPlay = nullptr;
    FormButton* cmdPause = nullptr;
    FormButton* cmdOpen = nullptr;
    FormButton* Command1 = nullptr;
    std::array<FormButton*, 4> optFreq{};
    QLabel* Label1 = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblSettings = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblSize = nullptr;
    QLabel* lblTime = nullptr;
    QGroupBox* Frame3 = nullptr;
    SurfaceView* Scope = nullptr;
    XP_ProgressBar* barMMControl1 = nullptr;
    QLineEdit* txtFileName = nullptr;
    QComboBox* DevicesBox = nullptr;
    QTimer tmrEq;
    QTimer tmrMMControl1;
    QAction* mnuExit = nullptr;
    QAction* Contents = nullptr;
    QAction* mAbout = nullptr;

    // The status word and its colour, as 0x00BBGGRR.
    QString statusWord() const;
    std::uint32_t statusColour() const { return m_statusColour; }

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
    bool attachSkin();
    void buildControls();
    void wireControls();
    void buildMenus();
    void loadStoredSettings();
    void Form_Load();
    void finishLoad();
    void Contents_Click();
    void mAbout_Click();

    // RecordingView
    std::string fileNameText() const override;
    void setFileNameText(const std::string& text) override;
    void setStatus(const std::string& text, std::uint32_t colour) override;
    bool recordEnabled() const override;
    void setRecordEnabled(bool enabled) override;
    void setStopEnabled(bool enabled) override;
    void setSettingsText(const std::string& text) override;
    void setTimeText(const std::string& text) override;
    void setSizeText(const std::string& text) override;

    // PlaybackView
    std::string statusText() const override;
    void setBarValue(int value) override;
    void setMMControlTimerEnabled(bool enabled) override;

    // CaptureView
    void clearDevices() override;
    void addDevice(const std::string& name) override;
    int deviceCount() const override;
    int selectedDevice() const override;
    void setSelectedDevice(int index) override;
    void setDevicesEnabled(bool enabled) override;
    void endProgram() override;

    Form1Services m_services;
    // The frame skin draws the caption bar and frame for the window's whole life.
    SkinStyle m_skinStyle;
    WidgetSkinFrame m_skinFrame;
    QWidget* m_client = nullptr;
    // In this order: recording stops playback, capture asks the recording and draws on the
    // spectrum display.
    PlaybackTransport m_playback;
    Recording m_recording;
    RecordingHoldsInput m_recordingHoldsInput{m_recording};
    ScopeDisplay m_scope;
    WaveCapture m_capture;
    std::unique_ptr<About> m_about;
    std::unique_ptr<CalmAccessibleName> m_sizeName;
    bool m_endRequested = false;
    bool m_firstFrameWatched = false;
    bool m_loadFinished = false;
    bool m_closed = false;
    std::uint32_t m_statusColour = 0;
    std::unique_ptr<HTMLHelp> HelpViewer;
};
