#include "app/command_line.h"
#include "app/form1.h"
#include "app/form_pictures.h"
#include "app/program_end.h"
#include "app/warm_up.h"
#include "platform/audio/pulse_wave_input.h"
#include "platform/browser/desktop_browser.h"
#include "platform/help_engine/help_engine_install.h"
#include "platform/help_engine/loaded_help_engine.h"
#include "platform/mci/waveaudio_command_device.h"
#include "platform/multimedia/pulse_multimedia_control.h"
#include "platform/program/program_folder.h"
#include "platform/program/resource_program_strings.h"
#include "platform/registry/file_registry.h"
#include "platform/spool/take_spool.h"
#include "platform/system/single_instance.h"
#include "platform/system/steady_clock.h"
#include "platform/ui/off_thread_command_device.h"
#include "platform/ui/off_thread_wave_input.h"
#include "platform/ui/qt_copy_progress.h"
#include "platform/ui/qt_event_pump.h"
#include "platform/ui/qt_file_dialog.h"
#include "platform/ui/qt_message_box.h"
#include "platform/ui/qt_save_progress.h"
#include "platform/ui/qt_window_services.h"

#include <QApplication>
#include <QLineEdit>

#include <cstdio>
#include <future>
#include <thread>

int main(int argc, char** argv) {
    // Read before the window system starts: --help and a refusal need no display.
    const CommandLine commandLine = parseCommandLine(argumentList(argc, argv));
    if (commandLine.end) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
        return commandLine.exitCode;
    }
    // The window is small and the spectrum repaints it 21 times a second. Through shared memory
    // each repaint waits for the X server to let go of the picture, one more wake-up a frame;
    // through the socket it does not. A user's own setting of the variable is left as it is.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    // The font configuration is read and the window's pictures are decoded beside the making of
    // the application and the window. One thread does both in turn: two side by side would
    // take turns with the window's thread and the X server on a machine of two cores.
    std::future<FormPictures> pictures = std::async(std::launch::async, [] {
        readFontConfiguration();
        return decodeFormPictures();
    });
    QApplication app(argc, argv);
    const std::jthread qtWarmUp([] {
        fillFontDatabase();
        loadImageFormats();
    });
    QApplication::setApplicationName(QStringLiteral("Sorvinta"));
    // Docks and task lists tie the window to its desktop entry by this name (the Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("example.sorvinta.Sorvinta"));
    // No display name: Qt would add it to every caption, and each window and message box
    // carries exactly its own.

    // Only one copy runs per user and spool; the locks live as long as this copy does.
    const SingleInstance instance(
        SingleInstance::lockPaths(QString::fromStdString(TakeSpool::stateFolder())));
    QtMessageBox boxes;
    if (!instance.isFirst()) {
        boxes.show("Sorvinta 3.0 is Already Started !", kAppTitle, MessageIcon::None,
                   MessageButtons::Ok);
        return 0;
    }

    // The registry names the help engine that came with this program; the engine library is
    // loaded from there on the first use of help. Writing it is no business of the window's
    // thread; the registry file takes a reader and a writer at once.
    const HelpEngineFiles engineFiles = installedHelpEngineFiles();
    std::jthread helpRegistration([&engineFiles] {
        FileRegistry ownRegistry;
        registerHelpEngine(ownRegistry, engineFiles);
    });

    const TakeSpool spool;
    QtEventPump pump;
    // The window's thread never waits on the audio server or the disk: the recording's
    // commands and the live input's server calls run on worker threads of their own while the
    // window waits for them in its event loop.
    QtCopyProgress copyProgress;
    QtSaveProgress saveProgress;
    const std::unique_ptr<CommandDevice> waveAudio = makeWaveAudioCommandDevice(&saveProgress);
    OffThreadCommandDevice device(*waveAudio, pump, &saveProgress);
    PulseWaveInput pulseInput;
    OffThreadWaveInput waveInput(pulseInput, pump);
    PulseMultimediaControl mmControl;
    QtFileDialog dialog;
    SteadyClock clock;
    // Help works without a writable home too: while the registry names no engine, the one
    // installed with the program is loaded.
    FileRegistry registry;
    LoadedHelpEngine helpEngine(registry, engineFiles.helpEngine);
    QtWindowServices windows;
    DesktopBrowser browser;
    ResourceProgramStrings strings;
    Form1 form({device,
                mmControl,
                boxes,
                dialog,
                pump,
                clock,
                waveInput,
                {boxes, registry, helpEngine, windows, strings, programFolder()},
                browser,
                spool,
                &copyProgress},
               nullptr, pictures.get());
    // A file named on the command line that exists is the one PLAY plays, as if chosen with
    // Open; a new name is the one to record to.
    dialog.setRecordPath([&form] { return form.txtFileName->text(); });
    if (!commandLine.playFile.isEmpty())
        dialog.setFileName(commandLine.playFile.toStdString());
    if (!commandLine.recordFile.isEmpty())
        form.txtFileName->setText(commandLine.recordFile);
    endProgramWith(form);
    form.show();
    // Without a window manager nobody else makes the new window the active one.
    form.activateWindow();
    return QApplication::exec();
}
