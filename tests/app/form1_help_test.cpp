#include "app/program_end.h"
#include "form1_fixture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>

namespace {

// An engine that shows a real window for each topic and closes them all on HH_CLOSE_ALL, as
// the help engine does with its "Sorvinta Help" window.
class WindowedHelpEngine : public FakeHelpEngine {
public:
    std::optional<WindowHandle> HtmlHelp(WindowHandle caller, const char* file,
                                         std::uint32_t command, std::uintptr_t data) override {
        if (command == HelpCommand::HH_HELP_CONTEXT) {
            window.setWindowTitle(QStringLiteral("Sorvinta Help"));
            window.show();
        }
        if (command == HelpCommand::HH_CLOSE_ALL)
            window.close();
        return FakeHelpEngine::HtmlHelp(caller, file, command, data);
    }
    QWidget window;
};

void writeHelpFile(const std::string& programFolder) {
    QDir().mkpath(QString::fromStdString(programFolder + "/help"));
    QFile file(QString::fromStdString(programFolder + "/help/Sorvinta.chm"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// Help > How to Use: the help file of the program's folder at context 1, in the "Main" window,
// through one help object that stays.
TEST(Form1Help, HowToUseOpensContextOneInTheMainWindow) {
    Form1Fixture f;
    const std::string helpFile = f.programFolder + "/help/Sorvinta.chm";
    QDir().mkpath(QString::fromStdString(f.programFolder + "/help"));
    QFile file(QString::fromStdString(helpFile));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(f.form->helpViewer(), nullptr);

    f.form->Contents->trigger();
    ASSERT_EQ(f.helpEngine.calls.size(), 1u);
    const RecordedHelpCall& call = f.helpEngine.calls[0];
    EXPECT_EQ(call.caller, 0);
    EXPECT_EQ(call.file, helpFile + ">Main");
    EXPECT_EQ(call.command, HelpCommand::HH_HELP_CONTEXT);
    EXPECT_EQ(call.data, 1u);
    const HTMLHelp* first = f.form->helpViewer();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->HHShowOnTop());

    f.form->Contents->trigger();
    EXPECT_EQ(f.form->helpViewer(), first);
    EXPECT_EQ(f.helpEngine.calls.size(), 2u);
    EXPECT_TRUE(f.boxes.shown.empty());
}

TEST(Form1Help, HowToUseWithoutTheHelpFileSaysWhereItLooked) {
    Form1Fixture f;
    f.form->Contents->trigger();
    EXPECT_TRUE(f.helpEngine.calls.empty());
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].title, "HTML Help Class");
    EXPECT_EQ(f.boxes.shown[0].text, "The file " + f.programFolder +
                                         "/help/Sorvinta.chm does not exist.\nPlease make sure "
                                         "the correct path and file name have been specified.");
}

// Help that cannot be shown never fails in silence: the user is told why.
TEST(Form1Help, HowToUseWithAnEngineThatCannotBeReachedSaysWhy) {
    Form1Fixture f;
    writeHelpFile(f.programFolder);
    f.helpEngine.reachable = false;
    f.form->Contents->trigger();
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].title, "HTML Help Class");
    EXPECT_EQ(f.boxes.shown[0].text, "Help cannot be opened: the help engine library is missing.");
}

// Help > How to Use, then File > Exit twice (the first stops the live spectrum): the program
// ends with its main window, and the help window goes with it rather than keeping it alive.
TEST(Form1Help, TheProgramEndsWithItsMainWindowAndTheHelpWindowGoesWithIt) {
    WindowedHelpEngine engine; // outlives the window that calls it
    Form1Fixture f;
    f.form.reset();
    f.form = std::make_unique<Form1>(
        Form1Services{f.device,
                      f.mmControl,
                      f.boxes,
                      f.dialog,
                      f.pump,
                      f.clock,
                      f.waveInput,
                      {f.boxes, f.registry, engine, f.windows, f.strings, f.programFolder},
                      f.browser,
                      f.spool});
    writeHelpFile(f.programFolder);
    f.showWindow();
    f.form->Contents->trigger();
    ASSERT_TRUE(engine.window.isVisible());

    endProgramWith(*f.form);
    QTimer::singleShot(0, f.form.get(), [&] {
        f.form->mnuExit->trigger();
        f.form->mnuExit->trigger();
    });
    QTimer tooLate;
    tooLate.setSingleShot(true);
    QObject::connect(&tooLate, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    tooLate.start(10000);
    EXPECT_EQ(QApplication::exec(), 0) << "the program is still running";
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_FALSE(engine.window.isVisible());
    ASSERT_FALSE(engine.calls.empty());
    EXPECT_EQ(engine.calls.back().command, HelpCommand::HH_CLOSE_ALL);
}

} // namespace
