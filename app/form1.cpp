#include "app/form1.h"

#include "analysis/audio_fft.h"
#include "app/about_window.h"
#include "app/font_substitutes.h"
#include "app/form_background.h"
#include "app/form_look.h"
#include "app/form_skin.h"
#include "app/window_place.h"
#include "controls/progress_bar/xp_progress_bar.h"
#include "platform/help_engine/help_engine.h"
#include "platform/ui/message_box.h"
#include "recorder/status_word.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

Form1::Form1(Form1Services services, QWidget* parent)
    : QMainWindow(parent), m_services(services),
      m_playback(*this, services.mmControl, services.dialog),
      m_recording(*this,
                  {services.device, services.messages, services.dialog, services.pump,
                   services.clock, services.spool, services.copyProgress},
                  m_playback),
      m_capture(services.waveInput, services.messages, services.pump, *this, m_recordingHoldsInput,
                m_scope) {
    loadFormResources();
    installFontSubstitutes();
    // Step 1 of the load sequence, before anything else of the window is set up. Without the
    // skin the desktop's frame has a minimise button and no maximise.
    if (!attachSkin())
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowCloseButtonHint);
    setWindowTitle(QString());
    // The caption stays empty, but a screen reader names the window.
    setAccessibleName(QStringLiteral("Sorvinta 3.0"));
    setWindowIcon(formIcon());

    m_client = new FormBackground(this);
    m_client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(m_client);
    buildMenus();
    buildControls();
    wireControls();
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
bool Form1::attachSkin() {
    m_skinStyle = formSkinStyle(font());
    return m_skinFrame.attach(*this, m_skinStyle);
}

// Which handler each control's events go to.
void Form1::wireControls() {
    for (int i = 0; i < 4; ++i)
        connect(optFreq[i], &FormButton::Click, this, [this, i] { m_recording.optFreqClick(i); });
    connect(cmdRecord, &FormButton::Click, this, [this] { m_recording.cmdRecordClick(); });
    connect(cmdStop, &FormButton::Click, this, [this] { m_recording.cmdStopClick(); });
    connect(Command1, &FormButton::Click, this, [this] { m_recording.command1Click(); });
    connect(cmdOpen, &FormButton::Click, this, [this] { m_playback.cmdOpenClick(); });
    connect(cmdPlay, &FormButton::Click, this, [this] { m_playback.cmdPlayClick(); });
    connect(cmdPause, &FormButton::Click, this, [this] { m_playback.cmdPauseClick(); });
    connect(cmdStopPlay, &FormButton::Click, this, [this] { m_playback.cmdStopPlayClick(); });
    connect(&tmrMMControl1, &QTimer::timeout, this, [this] { m_playback.tmrMMControl1Tick(); });
    connect(&tmrEq, &QTimer::timeout, this, [this] { m_capture.StartCapture(); });
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
    m_scope.SetUp(*Scope);
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
    if (!m_capture.InitDevices() || m_closed)
        return;
    // A second from now, the first capture.
    tmrEq.start();
    // The capture's first tick waits while the left takes are offered.
    m_recording.recoverTakes();
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
    if (m_recording.refuseCloseWhileRecording()) {
        event->ignore();
        return;
    }
    tmrMMControl1.stop();
    tmrEq.stop();
    m_about.reset(); // the About window goes with the main window, even when this close is refused
    m_playback.stopForClose();
    // The first close with the live spectrum running, or its stream on its way, only stops it
    // (the panel keeps its last frame); the next one closes the window.
    if (m_capture.isOpen()) {
        m_capture.StopCapture();
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
        m_about = std::make_unique<About>(m_services.browser, m_services.messages);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        setWindowTitle(QStringLiteral("Sorvinta 3.0"));
    QMainWindow::changeEvent(event);
}

QString Form1::statusWord() const {
    return lblStatus->text();
}

std::string Form1::fileNameText() const {
    return txtFileName->text().toStdString();
}

void Form1::setFileNameText(const std::string& text) {
    txtFileName->setText(QString::fromStdString(text));
}

void Form1::setStatus(const std::string& text, std::uint32_t colour) {
    m_statusColour = colour;
    lblStatus->setText(QString::fromStdString(text));
    lblStatus->setStyleSheet(labelStyleSheet(colour));
}

bool Form1::recordEnabled() const {
    return cmdRecord->Enabled();
}
void Form1::setRecordEnabled(bool enabled) {
    cmdRecord->setEnabled(enabled);
}
void Form1::setStopEnabled(bool enabled) {
    cmdStop->setEnabled(enabled);
}

void Form1::setSettingsText(const std::string& text) {
    lblSettings->setText(QString::fromStdString(text));
}

void Form1::setTimeText(const std::string& text) {
    lblTime->setText(QString::fromStdString(text));
    fitToText(lblTime, Anchor::Centre);
}

void Form1::setSizeText(const std::string& text) {
    lblSize->setText(QString::fromStdString(text));
    fitToText(lblSize, Anchor::Right);
    m_sizeName->set(lblSize->text());
}

std::string Form1::statusText() const {
    return lblStatus->text().toStdString();
}

void Form1::setBarValue(int value) {
    barMMControl1->setValue(value);
}

void Form1::setMMControlTimerEnabled(bool enabled) {
    if (enabled)
        tmrMMControl1.start();
    else
        tmrMMControl1.stop();
}

void Form1::clearDevices() {
    DevicesBox->clear();
}
void Form1::addDevice(const std::string& name) {
    DevicesBox->addItem(QString::fromStdString(name));
}
int Form1::deviceCount() const {
    return DevicesBox->count();
}
int Form1::selectedDevice() const {
    return DevicesBox->currentIndex();
}
void Form1::setSelectedDevice(int index) {
    DevicesBox->setCurrentIndex(index);
}
void Form1::setDevicesEnabled(bool enabled) {
    DevicesBox->setEnabled(enabled);
}
void Form1::endProgram() {
    m_endRequested = true;
    tmrEq.stop();
    emit startFailed();
}
