#include "app/form1.h"

#include "analysis/audio_fft.h"
#include "analysis/scope_display.h"

#include "app/form_background.h"
#include "app/form_look.h"
#include "controls/progress_bar/xp_progress_bar.h"
#include "platform/forms/form_file.h"
#include "platform/ui/message_box.h"
#include "platform/multimedia/multimedia_control.h"
#include "platform/ui/surface_view.h"
#include "recorder/record_formats.h"
#include "recorder/status_word.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>

// The pictures and the form file are compiled into this library.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

QLabel* makeLabel(QWidget* parent, const QRect& box, const QString& text, std::uint32_t colour,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(box);
    label->setFont(font);
    label->setStyleSheet(
        QStringLiteral("color: %1; background: transparent;").arg(qColour(colour).name()));
    return label;
}

// Labels sized to their text keep one edge or their centre where the layout put it.
enum class Anchor { Left, Right, Centre };
void fitToText(QLabel* label, Anchor anchor) {
    const QRect old = label->geometry();
    const QSize size = label->sizeHint();
    QRect box(old.topLeft(), size);
    if (anchor == Anchor::Right)
        box.moveRight(old.right());
    else if (anchor == Anchor::Centre)
        box.moveCenter(QPoint(old.center().x(), box.center().y()));
    label->setGeometry(box);
}

} // namespace

Form1::Form1(Form1Services services, QWidget* parent)
    : QMainWindow(parent), m_services(services),
      m_recording(*this, {services.device, services.messages, services.dialog, services.pump,
                          services.clock}),
      m_playback(*this, services.mmControl, services.dialog),
      m_capture(services.waveInput, services.messages, services.pump, *this) {
    initResources();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString());
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    m_client = new FormBackground(this);
    m_client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(m_client);
    buildMenus();
    buildControls();
    loadStoredSettings();

    // Fixed size: neither the frame nor the window menu resizes it.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Form_Load();
}

Form1::~Form1() = default;

void Form1::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuExit = file->addAction(QStringLiteral("Exit"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuAbout"));
    Contents = help->addAction(QStringLiteral("How to Use"));
    mAbout = help->addAction(QStringLiteral("About"));
    // File > Exit takes the same road as the close box, so it can be refused the same way.
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
}

void Form1::buildControls() {
    QWidget* c = m_client;
    const QFont ptron7Bold = formFont(QStringLiteral("PTron7"), 11.25, true);
    const std::uint32_t yellow = Colour::RGB(255, 255, 128);
    const std::uint32_t white = Colour::RGB(255, 255, 255);

    Scope = new SurfaceView(c);
    Scope->setObjectName(QStringLiteral("Scope"));
    Scope->setGeometry(twipsRect(2505, 780, 2250, 615));
    Scope->setBackColour(ScopeDisplay::ScopeBackColour);

    Label1 = makeLabel(c, twipsRect(2445, 1725, 930, 255), QStringLiteral("STATUS:"), yellow,
                       ptron7Bold);
    lblStatus = makeLabel(c, twipsRect(3360, 1650, 1395, 375), QString(), 0,
                          formFont(QStringLiteral("PTron5"), 20.25, true));
    setStatus(status_word::kStop, status_word::kStartColour);
    Label2 = makeLabel(c, twipsRect(2445, 2130, 885, 255), QStringLiteral("SETTING:"), yellow,
                       ptron7Bold);
    lblSettings = makeLabel(
        c, twipsRect(3390, 2070, 1395, 450), QString::fromLatin1(kRecordFormats[0].caption),
        Colour::RGB(255, 192, 128), formFont(QStringLiteral("PTron7"), 9.75, true));
    lblSettings->setWordWrap(true);
    Label4 =
        makeLabel(c, twipsRect(2430, 2640, 555, 240), QStringLiteral("SIZE:"), white, ptron7Bold);
    fitToText(Label4, Anchor::Left);
    lblSize = makeLabel(c, twipsRect(4200, 2610, 630, 315), QStringLiteral("BYTES"), white,
                        formFont(QStringLiteral("PTron5"), 14.25, false));
    lblSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fitToText(lblSize, Anchor::Right);
    lblTime =
        makeLabel(c, twipsRect(960, 2535, 600, 315), QStringLiteral("00:00"),
                  Colour::RGB(255, 255, 192), formFont(QStringLiteral("PTron5"), 14.25, false));
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->setStyleSheet(QStringLiteral("color: %1; background: %2;")
                               .arg(qColour(Colour::RGB(255, 255, 192)).name(),
                                    qColour(Colour::RGB(62, 101, 52)).name()));
    fitToText(lblTime, Anchor::Centre);

    Frame3 = new QGroupBox(QStringLiteral(" WAV SETTINGS "), c);
    Frame3->setGeometry(twipsRect(5625, 300, 3015, 2070));
    Frame3->setFont(formFont(QStringLiteral("Verdana"), 8.25, true));
    Frame3->setStyleSheet(QStringLiteral(
        "QGroupBox { background: rgb(192,192,192); border: 1px solid rgb(128,128,128);"
        " margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0; color: "
        "rgb(128,64,0); }"));

    barMMControl1 = new XP_ProgressBar(c);
    barMMControl1->setObjectName(QStringLiteral("barMMControl1"));
    barMMControl1->setGeometry(twipsRect(6435, 2745, 1950, 285));

    txtFileName = new QLineEdit(c);
    txtFileName->setGeometry(twipsRect(1710, 3315, 3195, 240));
    txtFileName->setToolTip(QStringLiteral("Save Wav File Path"));
    txtFileName->setFont(formFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    txtFileName->setStyleSheet(
        QStringLiteral("QLineEdit { color: rgb(128,64,0); background: rgb(218,167,71);"
                       " border: 1px solid rgb(128,64,0); padding: 0 1px; }"));

    const auto button = [](QWidget* parent, QRect box, const char* caption, const char* tip,
                           const char* icon = "", QRgb transparency = qRgb(255, 0, 0)) {
        const QString picture =
            *icon ? QStringLiteral(":/icons/%1.png").arg(QLatin1String(icon)) : QString();
        return makeFormButton(parent, {box, QString::fromLatin1(caption), QString::fromLatin1(tip),
                                       false, picture, transparency});
    };
    cmdRecord = button(c, twipsRect(750, 720, 1035, 735), "RECORD", "Record", "record",
                       qRgb(255, 255, 255));
    cmdStop = button(c, twipsRect(750, 1545, 1035, 570), "STOP", "Stop Recording", "stop");
    cmdPlay = button(c, twipsRect(5835, 3195, 1350, 375), "PLAY", "Play File", "play");
    cmdStopPlay = button(c, twipsRect(7290, 3195, 495, 375), "", "Stop Playing", "stop");
    cmdPause = button(c, twipsRect(7905, 3195, 495, 375), "", "Pause Playing", "pause");
    cmdOpen = button(c, twipsRect(5850, 2730, 510, 375), "", "Open File to Play", "open");
    Command1 = button(c, twipsRect(930, 3255, 630, 360), "", "Save Wav File Path", "arrow");
    const int optTops[] = {360, 750, 1155, 1545};
    for (int i = 0; i < 4; ++i) {
        optFreq[i] = makeFormButton(Frame3, {twipsRect(375, optTops[i], 2295, 315),
                                             QString::fromLatin1(kRecordFormats[i].caption),
                                             QString(), true, QString(), 0});
        connect(optFreq[i], &FormButton::Click, this, [this, i] { m_recording.optFreqClick(i); });
    }

    DevicesBox = new QComboBox(c);
    DevicesBox->hide();

    connect(cmdRecord, &FormButton::Click, this, [this] { m_recording.cmdRecordClick(); });
    connect(cmdStop, &FormButton::Click, this, [this] { m_recording.cmdStopClick(); });
    connect(Command1, &FormButton::Click, this, [this] { m_recording.command1Click(); });
    connect(cmdOpen, &FormButton::Click, this, [this] { m_playback.cmdOpenClick(); });
    connect(cmdPlay, &FormButton::Click, this, [this] { m_playback.cmdPlayClick(); });
    connect(cmdPause, &FormButton::Click, this, [this] { m_playback.cmdPauseClick(); });
    connect(cmdStopPlay, &FormButton::Click, this, [this] { m_playback.cmdStopPlayClick(); });
    connect(&tmrMMControl1, &QTimer::timeout, this, [this] { m_playback.tmrMMControl1Tick(); });
    connect(&tmrEq, &QTimer::timeout, this, [this] { m_capture.StartCapture(); });

    tmrEq.setInterval(1000);
    tmrMMControl1.setInterval(1000);
}

// The controls' stored look comes from the window's form file, compiled into the program.
void Form1::loadStoredSettings() {
    const FormFile form = loadFormFile(":/form1.form");
    for (const FormDiagnostic& problem : form.diagnostics)
        m_services.messages.show(problem.text(), kAppTitle, MessageIcon::Exclamation,
                                 MessageButtons::Ok);
    if (const FormInstance* bar = form.find("barMMControl1")) {
        const QRect box = barMMControl1->geometry();
        barMMControl1->setGeometry(bar->bag.read<std::int32_t>("left", box.x()),
                                   bar->bag.read<std::int32_t>("top", box.y()),
                                   bar->bag.read<std::int32_t>("width", box.width()),
                                   bar->bag.read<std::int32_t>("height", box.height()));
        barMMControl1->ReadProperties(bar->bag);
    }
}

void Form1::Form_Load() {
    cmdStop->setEnabled(false);
    // Choosing the first format from code raises its click, which sets the format and label.
    optFreq[0]->setValue(true);
    // The live spectrum: input devices, transform tables, the panel, and a second later the
    // first capture. Without any input device the program ends here.
    if (!m_capture.InitDevices())
        return;
    InitFFT();
    m_scope = std::make_unique<ScopeDisplay>(*Scope);
    tmrEq.start();
}

void Form1::closeEvent(QCloseEvent* event) {
    // A close request during a recording acts as Stop, so the take is saved, and is refused.
    if (m_recording.refuseCloseWhileRecording()) {
        event->ignore();
        return;
    }
    tmrMMControl1.stop();
    tmrEq.stop();
    m_services.mmControl.setCommand("Stop");
    m_services.mmControl.setCommand("Close");
    // The first close with the live spectrum running only stops it (the panel keeps its last
    // frame); the next one closes the window.
    if (m_capture.captureHandle() != 0) {
        m_capture.StopCapture();
        event->ignore();
        return;
    }
    event->accept();
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
    lblStatus->setStyleSheet(
        QStringLiteral("color: %1; background: transparent;").arg(qColour(colour).name()));
}

bool Form1::recordEnabled() const {
    return cmdRecord->isEnabled();
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
}

void Form1::stopPlayback() {
    m_playback.stopForRecording();
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
bool Form1::isRecording() const {
    return m_recording.isRecording();
}

void Form1::drawFrame(const float* spectrum) {
    if (m_scope)
        m_scope->DrawScopeFrame(spectrum);
}

void Form1::endProgram() {
    m_endRequested = true;
    tmrEq.stop();
}
