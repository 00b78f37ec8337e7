// The engine library as the program uses it: found through the registry, loaded at run time,
// and driven by the help class.
#include "help/help_versions.h"
#include "help/html_help.h"
#include "platform/help_engine/help_engine_install.h"
#include "platform/help_engine/help_engine_keys.h"
#include "platform/help_engine/loaded_help_engine.h"
#include "platform/registry/file_registry.h"
#include "platform/registry/registry_text.h"
#include "platform/ui/qt_window_services.h"
#include "platform/versions/file_version.h"
#include "support/fake_help.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWhatsThis>

namespace {

class LoadedEngineTest : public ::testing::Test {
protected:
    ~LoadedEngineTest() override {
        engine.HtmlHelp(0, "", HelpCommand::HH_CLOSE_ALL, 0);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void registerEngineFile(const std::string& path) {
        ASSERT_TRUE(writeRegistryText(registry, RegistryRoot::ClassesRoot,
                                      HelpEngineKeys::kHelpEngineFile, "", path));
    }
    static void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir dir;
    FileRegistry registry{dir.filePath(QStringLiteral("registry.json"))};
    LoadedHelpEngine engine{registry};
    const std::string sample = std::string(TEST_HELP_FILES) + "/sample.chm";
};

} // namespace

TEST_F(LoadedEngineTest, UnreachableUntilTheRegistryNamesARealEngine) {
    const auto open = [&] {
        return engine.HtmlHelp(0, (sample + ">Main").c_str(), HelpCommand::HH_DISPLAY_TOPIC, 0);
    };
    EXPECT_EQ(open(), std::nullopt);
    EXPECT_EQ(engine.loadError(), "the help engine is not registered");
    registerEngineFile(dir.filePath(QStringLiteral("missing.so")).toStdString());
    EXPECT_EQ(open(), std::nullopt);
    registerEngineFile(NOT_AN_ENGINE_LIBRARY);
    EXPECT_EQ(open(), std::nullopt);
    EXPECT_EQ(engine.loadError(),
              std::string(NOT_AN_ENGINE_LIBRARY) + " has no entry point HtmlHelpA");

    registerEngineFile(HELP_ENGINE_LIBRARY);
    const std::optional<WindowHandle> handle = open();
    ASSERT_TRUE(handle);
    QWidget* window = QtWindowServices::findWindow(*handle);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sample Main Window"));
    EXPECT_TRUE(window->isVisible());
    engine.HtmlHelp(0, "", HelpCommand::HH_CLOSE_ALL, 0);
    settle();
    EXPECT_FALSE(QtWindowServices::findWindow(*handle));
}

// A home folder that cannot be written: the registry cannot name the engine, and the program
// loads it from where it was installed. /dev/null is no folder, for root as for anyone.
TEST_F(LoadedEngineTest, ARegistryThatCannotBeWrittenStillOpensHelpFromTheInstalledEngine) {
    FileRegistry readOnly{QStringLiteral("/dev/null/sorvinta/registry.json")};
    ASSERT_FALSE(registerHelpEngine(readOnly, {HELP_ENGINE_LIBRARY, ""}));
    LoadedHelpEngine direct{readOnly, HELP_ENGINE_LIBRARY};
    const std::optional<WindowHandle> handle =
        direct.HtmlHelp(0, (sample + ">Main").c_str(), HelpCommand::HH_DISPLAY_TOPIC, 0);
    ASSERT_TRUE(handle);
    EXPECT_TRUE(direct.unreachableReason().empty());
    EXPECT_TRUE(QtWindowServices::findWindow(*handle));
    direct.HtmlHelp(0, "", HelpCommand::HH_CLOSE_ALL, 0);
    settle();

    LoadedHelpEngine registered{readOnly};
    EXPECT_EQ(registered.HtmlHelp(0, "", HelpCommand::HH_CLOSE_ALL, 0), std::nullopt);
    EXPECT_EQ(registered.unreachableReason(), "the help engine is not registered");
}

TEST_F(LoadedEngineTest, TheEngineCarriesItsVersion) {
    EXPECT_EQ(readFileVersion(HELP_ENGINE_LIBRARY), (FileVersion{4, 74, 8702, 0}));
}

// Help > How to Use, end to end: the program's help file in a program folder, the engine
// registered as at start-up, and the help class with the real window services.
TEST_F(LoadedEngineTest, TheHelpClassOpensHowToUseInTheSorvintaHelpWindow) {
    const QString folder = dir.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/help")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PROGRAM_HELP_FILE),
                            folder + QStringLiteral("/help/Sorvinta.chm")));
    const HelpEngineFiles files{HELP_ENGINE_LIBRARY, loadedLibraryFile("libQt6Widgets.so")};
    ASSERT_FALSE(files.browserEngine.empty());
    ASSERT_TRUE(registerHelpEngine(registry, files));

    FakeMessageBox boxes;
    QtWindowServices windows;
    FakeProgramStrings strings;
    HTMLHelp help({boxes, registry, engine, windows, strings, folder.toStdString()});
    help.setCHMFile(folder.toStdString() + "/help/Sorvinta.chm");
    help.setHHTopicID(1);
    help.setHHWindow("Main");
    help.HHDisplayTopicID(0);
    ASSERT_TRUE(boxes.shown.empty()) << boxes.shown[0].text;
    const WindowHandle handle = help.HHWndHandle();
    QWidget* window = QtWindowServices::findWindow(handle);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sorvinta Help"));
    auto* topic = window->findChild<QTextBrowser*>(QStringLiteral("topic"));
    ASSERT_TRUE(topic);
    EXPECT_EQ(topic->source().path(), QStringLiteral("/howto.htm"));
    EXPECT_TRUE(topic->toPlainText().contains(QStringLiteral("How to Use Sorvinta")));

    // The engine and browser engine as the environment checks see them.
    EXPECT_TRUE(help.HHInstalled());
    EXPECT_EQ(help.HHVersion(), "4.74.8702.00");
    EXPECT_EQ(help.HHFriendlyName(), "1.3");
    const auto qtVersion = versionFromSharedLibraryName(files.browserEngine);
    ASSERT_TRUE(qtVersion);
    EXPECT_EQ(help.IEVersion(), VersionText(*qtVersion));
    EXPECT_TRUE(help.HHVerifyMinConfig(26, 273));
    EXPECT_TRUE(boxes.shown.empty());

    // The window's menu item goes; What's This starts.
    ASSERT_TRUE(window->findChild<QAction*>(QStringLiteral("jumpToUrl")));
    help.HHDeleteJumpURLSysMenu(handle);
    settle();
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("jumpToUrl")));
    help.HHInvokeWhatsThisHelp(handle);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();

    help.setHHPopupType(1);
    help.setHHPopupFile("popups.txt");
    help.setHHPopupID(1002);
    help.HHDisplayPopup(0);
    QWidget* popup = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("textPopup") && w->isVisible())
            popup = w;
    }
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->findChild<QWidget*>());

    help.HHClose();
    settle();
    EXPECT_FALSE(QtWindowServices::findWindow(handle));
    EXPECT_EQ(help.HHWndHandle(), handle);
}
