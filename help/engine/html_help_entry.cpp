// The help engine library's entry point, HtmlHelpA, which the program loads by name.
#include "help/engine/help_session.h"
#include "platform/help_engine/help_engine.h"
#include "platform/ui/qt_message_box.h"
#include "platform/versions/version_note.h"

#include <QApplication>

// The engine answers to the command set of help engine release 1.3 and carries that release's
// version number, so that callers checking for a minimum release find what they need.
SORVINTA_VERSION_NOTE(SORVINTA_HELP_ENGINE_VERSION);

namespace {

// The library is entered through a plain function, so its one session lives here: from the
// first call until the application object is destroyed, which deletes it first.
struct EngineState {
    QtMessageBox messages;
    HelpSession session{messages};
};
EngineState* state = nullptr;

void dropState() {
    delete state;
    state = nullptr;
}

} // namespace

extern "C" __attribute__((visibility("default"))) WindowHandle
HtmlHelpA(WindowHandle caller, const char* file, std::uint32_t command, std::uintptr_t data) {
    // Windows need a widget application on its own thread.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return 0;
    try {
        if (!state) {
            if (command == HelpCommand::HH_CLOSE_ALL)
                return 0;
            state = new EngineState;
            qAddPostRoutine(dropState);
        }
        return state->session.HtmlHelp(caller, file, command, data);
    } catch (...) {
        // Nothing may cross into the caller; a failed command shows nothing.
        return 0;
    }
}
