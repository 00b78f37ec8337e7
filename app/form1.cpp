#include "app/form1.h"

#include "analysis/audio_fft.h"
#include "app/about_window.h"
#include "app/font_substitutes.h"
#include "app/form_background.h"
#include "app/form_look.h"
#include "app/form_skin.h"
#include "app/playback_panel.h"
#include "app/recording_panel.h"
#include "app/spectrum_panel.h"
#include "app/status_label.h"
#include "app/window_place.h"
#include "platform/help_engine/help_engine.h"
#include "platform/ui/message_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

Form1::Form1(Form1Services services, QWidget* parent, const FormPictures& pictures)
    : QMainWindow(parent), m_services(services) {
    loadFormResources();
    installFontSubstitutes();
    // The skin comes before anything else of the window is set up: it decides the window's
    // frame and margins. Without it the desktop's frame has a minimise button and no maximise.
    if (!attachSkin(pictures))
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowCloseButtonHint);
    setWindowTitle(QString());
    // The caption stays empty, but a screen reader names the window.
    setAccessibleName(QStringLiteral("Sorvinta 3.0"));
    setWindowIcon(formIcon(pictures.icon));

    m_client = new FormBackground(this, pictures.background);
    m_client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(m_client);
    buildMenus();
    buildControls();
    connectUi();
    loadStoredSettings();

    // Fixed size: neither the frame nor the window menu resizes it. The skin's frame lies in
    // the contents margins, around the menu and the client area.
    const QMargins frame = contentsMargins();
    setFixedSize(kClientWidth + frame.left() + frame.right(),
                 kClientHeight + menuBar()->sizeHint().height() + frame.top() + frame.bottom());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(centredTopLeft(size(), screen->availableGeometry()));

    Form_Load();
}

Form1::~Form1() = default;

// The frame skin takes over the caption bar and frame, with its own close and minimise
// buttons. Should its pictures be unusable the window keeps the desktop's frame, and nothing is
// said.
bool Form1::attachSkin(const FormPictures& pictures) {
    m_skinStyle = formSkinStyle(font(), pictures);
    return m_skinFrame.attach(*this, m_skinStyle);
}

// The one place where the window's parts meet: the view objects take over their controls,
// the logic gets its views, and each control's events go to their handler.
void Form1::connectUi() {
    showStatusOn(*lblStatus, m_status);
    m_recordingPanel = std::make_unique<RecordingPanel>(
        RecordingPanel::Controls{txtFileName, cmdRecord, cmdStop, lblSettings, lblTime, lblSize},
        m_status);
    m_playbackPanel = std::make_unique<PlaybackPanel>(*barMMControl1, tmrMMControl1, m_status);
    m_spectrumPanel = std::make_unique<SpectrumPanel>(*Scope, *DevicesBox, tmrEq);

    const Form1Services& s = m_services;
    m_playback = std::make_unique<PlaybackTransport>(*m_playbackPanel, s.mmControl, s.dialog);
    m_recording = std::make_unique<Recording>(
        *m_recordingPanel,
        RecordingServices{s.device, s.messages, s.dialog, s.pump, s.clock, s.spool, s.copyProgress},
        *m_playback);
    m_recordingHoldsInput = std::make_unique<RecordingHoldsInput>(*m_recording);
    m_capture = std::make_unique<WaveCapture>(s.waveInput, s.messages, s.pump, *m_spectrumPanel,
                                              *m_recordingHoldsInput, m_spectrumPanel->display());

    for (int i = 0; i < 4; ++i)
        connect(optFreq[i], &FormButton::Click, this, [this, i] { m_recording->optFreqClick(i); });
    connect(cmdRecord, &FormButton::Click, this, [this] { m_recording->cmdRecordClick(); });
    connect(cmdStop, &FormButton::Click, this, [this] { m_recording->cmdStopClick(); });
    connect(Command1, &FormButton::Click, this, [this] { m_recording->command1Click(); });
    connect(cmdOpen, &FormButton::Click, this, [this] { m_playback->cmdOpenClick(); });
    connect(cmdPlay, &FormButton::Click, this, [this] { m_playback->cmdPlayClick(); });
    connect(cmdPause, &FormButton::Click, this, [this] { m_playback->cmdPauseClick(); });
    connect(cmdStopPlay, &FormButton::Click, this, [this] { m_playback->cmdStopPlayClick(); });
    connect(&tmrMMControl1, &QTimer::timeout, this, [this] { m_playback->tmrMMControl1Tick(); });
    connect(&tmrEq, &QTimer::timeout, this, [this] { m_capture->StartCapture(); });
    connect(m_spectrumPanel.get(), &SpectrumPanel::programEnding, this, &Form1::startFailed);
    // File > Exit takes the same road as the close box, so it can be refused the same way.
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(Contents, &QAction::triggered, this, [this] { Contents_Click(); });
    connect(mAbout, &QAction::triggered, this, [this] { mAbout_Click(); });
}

void Form1::Form_Load() {
    cmdStop->setEnabled(false);
    // Choosing the first format from code raises its click, which sets the format and label.
    optFreq[0]->setValue(true);
    // The transform tables and the panel; the rest of the live spectrum waits for the window's
    // first frame (see finishLoad).
    InitFFT();
    m_spectrumPanel->setUpDisplay();
}

// What the user does not see before the window is up comes after its first frame: the list
// of input devices, which asks the audio server, and the takes that earlier runs left behind.
// Without any input device the program ends here, with its message over the window.
void Form1::finishLoad() {
    if (m_loadFinished || m_closed)
        return;
    m_loadFinished = true;
    // The list is made off the window's thread; the window's events run meanwhile, and a close
    // request among them is taken as it comes.
    if (!m_capture->InitDevices() || m_closed)
        return;
    // A second from now, the first capture.
    tmrEq.start();
    // The capture's first tick waits while the left takes are offered.
    m_recording->recoverTakes();
}

void Form1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_loadFinished || m_firstFrameWatched || !windowHandle())
        return;
    m_firstFrameWatched = true;
    windowHandle()->installEventFilter(this);
    // A window that is never exposed (hidden away by the desktop) still gets its spectrum.
    QTimer::singleShot(kLoadFallbackMs, this, [this] { finishLoad(); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle() &&
        windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        // The window draws and sends its first frame while it handles this expose; the rest of
        // the load follows once that is done.
        QMetaObject::invokeMethod(
            this, [this] { finishLoad(); }, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

// Help > How to Use: the program's help file at How to Use, in its "Main" window.
void Form1::Contents_Click() {
    if (!HelpViewer)
        HelpViewer = std::make_unique<HTMLHelp>(m_services.help);
    HelpViewer->setCHMFile(m_services.help.programFolder + "/help/Sorvinta.chm");
    HelpViewer->setHHTopicID(1);
    HelpViewer->setHHWindow("Main");
    HelpViewer->HHDisplayTopicID(0);
    // The help class skips an engine it cannot reach without a word; here the user asked for
    // help and is told why none came.
    if (const std::string why = m_services.help.engine.unreachableReason(); !why.empty())
        m_services.help.messages.show("Help cannot be opened: " + why + ".", "HTML Help Class",
                                      MessageIcon::Exclamation, MessageButtons::Ok);
}

void Form1::closeEvent(QCloseEvent* event) {
    // A close request during a recording acts as Stop, so the take is saved, and is refused.
    if (m_recording->refuseCloseWhileRecording()) {
        event->ignore();
        return;
    }
    tmrMMControl1.stop();
    tmrEq.stop();
    m_about.reset(); // the About window goes with the main window, even when this close is refused
    m_playback->stopForClose();
    // The first close with the live spectrum running, or its stream on its way, only stops it
    // (the panel keeps its last frame); the next one closes the window.
    if (m_capture->isOpen()) {
        m_capture->StopCapture();
        event->ignore();
        return;
    }
    // Every help window goes with the main window, and the program ends with it.
    if (HelpViewer)
        HelpViewer->HHClose();
    event->accept();
    m_closed = true;
    emit closed();
}

// Help > About: the About window, modeless and without an owner; while it is loaded, the same
// window comes forward.
void Form1::mAbout_Click() {
    if (!m_about)
        m_about = std::make_unique<About>(m_services.browser, m_services.messages, windowIcon());
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        setWindowTitle(QStringLiteral("Sorvinta 3.0"));
    QMainWindow::changeEvent(event);
}

const ScopeDisplay& Form1::scopeDisplay() const {
    return m_spectrumPanel->display();
}

bool Form1::endRequested() const {
    return m_spectrumPanel->endRequested();
}

QString Form1::statusWord() const {
    return QString::fromStdString(m_status.word());
}
