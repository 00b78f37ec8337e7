#include "app/form1.h"

#include "app/form_look.h"
#include "controls/bevel_button/bevel_button_keys.h"
#include "controls/progress_bar/progress_bar_keys.h"
#include "controls/progress_bar/xp_progress_bar.h"
#include "platform/forms/form_file.h"
#include "platform/ui/message_box.h"
#include "platform/ui/surface_view.h"
#include "recorder/record_formats.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

// The window's controls, menus and timers: where each sits and how it looks. Which handler each
// one's events go to is in form1.cpp (connectUi).

namespace {

QLabel* makeLabel(QWidget* parent, const QRect& box, const QString& text, std::uint32_t colour,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(box);
    label->setFont(font);
    label->setStyleSheet(labelStyleSheet(colour));
    return label;
}

} // namespace

void Form1::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuExit = file->addAction(QStringLiteral("Exit"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuAbout"));
    Contents = help->addAction(QStringLiteral("How to Use"));
    mAbout = help->addAction(QStringLiteral("About"));
}

// The controls are made in the order they stack in, which is also the order a screen reader
// lists them in.
void Form1::buildControls() {
    buildScope();
    buildReadouts();
    buildFormatFrame();
    buildPositionBar();
    buildFileNameBox();
    buildButtons();

    DevicesBox = new QComboBox(m_client);
    DevicesBox->hide();

    tmrEq.setInterval(1000);
    tmrMMControl1.setInterval(1000);
}

void Form1::buildScope() {
    Scope = new SurfaceView(m_client);
    Scope->setObjectName(QStringLiteral("Scope"));
    Scope->setGeometry(twipsRect(2505, 780, 2250, 615));
    Scope->setBackColour(ScopeDisplay::kBackColour);
}

// The status, setting, size and time, each value with its caption.
void Form1::buildReadouts() {
    QWidget* c = m_client;
    const QFont ptron7Bold = formFont(QStringLiteral("PTron7"), 11.25, true);
    const std::uint32_t yellow = Colour::RGB(255, 255, 128);
    const std::uint32_t white = Colour::RGB(255, 255, 255);

    Label1 = makeLabel(c, twipsRect(2445, 1725, 930, 255), QStringLiteral("STATUS:"), yellow,
                       ptron7Bold);
    // Its text and colour come from the status model (connectUi).
    lblStatus = makeLabel(c, twipsRect(3360, 1650, 1395, 375), QString(), 0,
                          formFont(QStringLiteral("PTron5"), 20.25, true));
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
    // Each caption labels the value beside it, for a screen reader.
    Label1->setBuddy(lblStatus);
    Label2->setBuddy(lblSettings);
    Label4->setBuddy(lblSize);
}

void Form1::buildFormatFrame() {
    Frame3 = new QGroupBox(QStringLiteral(" WAV SETTINGS "), m_client);
    Frame3->setObjectName(QStringLiteral("Frame3")); // the option buttons' group is its name
    Frame3->setGeometry(twipsRect(5625, 300, 3015, 2070));
    Frame3->setFont(formFont(QStringLiteral("Verdana"), 8.25, true));
    Frame3->setStyleSheet(frameStyleSheet(Colour::RGB(128, 64, 0), Colour::RGB(192, 192, 192)));
}

// Its place and look are stored in the form (loadStoredSettings).
void Form1::buildPositionBar() {
    barMMControl1 = new XP_ProgressBar(m_client);
    barMMControl1->setObjectName(QStringLiteral("barMMControl1"));
    barMMControl1->setAccessibleName(QStringLiteral("Playback position"));
}

void Form1::buildFileNameBox() {
    txtFileName = new QLineEdit(m_client);
    txtFileName->setGeometry(twipsRect(1710, 3315, 3195, 240));
    txtFileName->setToolTip(QStringLiteral("Save Wav File Path"));
    // No label names the box, so a screen reader says its tool tip, as for the icon buttons.
    txtFileName->setAccessibleName(txtFileName->toolTip());
    txtFileName->setFont(formFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    txtFileName->setStyleSheet(
        QStringLiteral("QLineEdit { color: rgb(128,64,0); background: rgb(218,167,71);"
                       " border: 1px solid rgb(128,64,0); padding: 0 1px; }"));
}

// The buttons' captions, pictures and colours are stored in the form (loadStoredSettings).
void Form1::buildButtons() {
    const auto button = [this](QWidget* parent, const char* name, QRect box, const char* tip) {
        return makeFormButton(parent, {QString::fromLatin1(name), box, QString::fromLatin1(tip)},
                              m_services.messages);
    };
    QWidget* c = m_client;
    cmdRecord = button(c, "cmdRecord", twipsRect(750, 720, 1035, 735), "Record");
    cmdStop = button(c, "cmdStop", twipsRect(750, 1545, 1035, 570), "Stop Recording");
    cmdPlay = button(c, "cmdPlay", twipsRect(5835, 3195, 1350, 375), "Play File");
    cmdStopPlay = button(c, "cmdStopPlay", twipsRect(7290, 3195, 495, 375), "Stop Playing");
    cmdPause = button(c, "cmdPause", twipsRect(7905, 3195, 495, 375), "Pause Playing");
    cmdOpen = button(c, "cmdOpen", twipsRect(5850, 2730, 510, 375), "Open File to Play");
    Command1 = button(c, "Command1", twipsRect(930, 3255, 630, 360), "Save Wav File Path");
    const int optTops[] = {360, 750, 1155, 1545};
    for (int i = 0; i < 4; ++i)
        optFreq[i] = button(Frame3, ("optFreq(" + std::to_string(i) + ")").c_str(),
                            twipsRect(375, optTops[i], 2295, 315), "");
}

// The controls' stored look comes from the window's form file, compiled into the program.
void Form1::loadStoredSettings() {
    const FormType storedTypes[] = {kProgressBarFormType, kBevelButtonFormType};
    const FormFile form = loadFormFile(":/form1.form", storedTypes);
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
    for (FormButton* button : {cmdRecord, cmdStop, cmdPlay, cmdStopPlay, cmdPause, cmdOpen,
                               Command1, optFreq[0], optFreq[1], optFreq[2], optFreq[3]})
        if (const FormInstance* stored = form.find(button->objectName().toStdString()))
            button->ReadProperties(stored->bag);
}
