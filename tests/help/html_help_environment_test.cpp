// Registration of help files and the installed engines.
#include "html_help_fixture.h"

using ::testing::ElementsAre;

TEST_F(HTMLHelpTest, RegisterWritesTheFolderWithItsSeparatorAndLeavesTheBareName) {
    const std::string file = makeFile("Help/guide.chm");
    std::string name = file;
    help.HHRegister(name);
    EXPECT_EQ(name, "guide.chm");
    EXPECT_EQ(listedFolder("guide.chm"), path("Help") + "/");
    EXPECT_TRUE(boxes.shown.empty());
    // The outcome properties still describe the check made before writing.
    EXPECT_EQ(help.HHRegFileName(), "");
    help.HHCheckRegistry("guide.chm");
    EXPECT_EQ(help.HHRegFileName(), "guide.chm");
    EXPECT_EQ(help.HHRegFilePath(), path("Help") + "/");
    EXPECT_TRUE(help.HHRegFileExists());
}

TEST_F(HTMLHelpTest, RegisterOfABareNameWritesNothing) {
    std::string missing = "guide.chm";
    help.HHRegister(missing);
    makeFile("program/guide.chm");
    std::string present = "guide.chm";
    help.HHRegister(present);
    EXPECT_EQ(listedFolder("guide.chm"), std::nullopt);
    EXPECT_EQ(present, "guide.chm");
    EXPECT_THAT(boxTexts(),
                ElementsAre("The file " + programFolder +
                                "/guide.chm does not exist.\nPlease make sure the correct path "
                                "and file name have been specified.",
                            "Cannot register guide.chm without having a supplied path.\""));
}

TEST_F(HTMLHelpTest, RegisterOfAListedFileSaysSoAndWritesNothing) {
    makeFile("Help/guide.chm");
    listHelpFile("guide.chm", "/first/");
    std::string name = path("Help/guide.chm");
    help.HHRegister(name);
    EXPECT_EQ(listedFolder("guide.chm"), "/first/");
    EXPECT_EQ(name, path("Help/guide.chm"));
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().text, "The file " + name +
                                           " is already registered.  HHRegister will not be "
                                           "run as no action need be taken.");
    EXPECT_EQ(boxes.shown.back().icon, MessageIcon::Information);
}

TEST_F(HTMLHelpTest, RegisterOfNothingOrOfAnotherFileType) {
    std::string empty;
    help.HHRegister(empty);
    EXPECT_TRUE(boxes.shown.empty());
    std::string text = makeFile("Help/guide.txt");
    help.HHRegister(text);
    EXPECT_THAT(boxTexts(), ElementsAre(text + " is not a valid HTML Help file."));
}

TEST_F(HTMLHelpTest, RegisterIntoAStoreThatCannotBeWrittenWarns) {
    ReadOnlyRegistry readOnly(registry);
    HTMLHelp locked({boxes, readOnly, engine, windows, strings, programFolder});
    std::string name = makeFile("Help/guide.chm");
    locked.HHRegister(name);
    EXPECT_THAT(boxTexts(), ElementsAre("HTML Help Class: HHRegister Error"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(HTMLHelpTest, UnRegisterRemovesTheValue) {
    makeFile("Help/guide.chm");
    listHelpFile("guide.chm", path("Help") + "/");
    listHelpFile("other.chm", "/x/");
    std::string name = path("Help/guide.chm");
    help.HHUnRegister(name);
    EXPECT_EQ(name, "guide.chm");
    EXPECT_EQ(listedFolder("guide.chm"), std::nullopt);
    EXPECT_EQ(listedFolder("other.chm"), "/x/");
    EXPECT_EQ(help.HHRegFileName(), "");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HTMLHelpTest, UnRegisterOfAFileNotListedSaysSo) {
    std::string name = "guide.chm";
    help.HHUnRegister(name);
    EXPECT_THAT(boxTexts(), ElementsAre("The file guide.chm is not registered.  HHUnRegister "
                                        "will not be run as no action need be taken."));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
}

TEST_F(HTMLHelpTest, InstalledNeedsTheTypeLibraryKeyWithFullAccess) {
    EXPECT_FALSE(help.HHInstalled());
    ASSERT_TRUE(writeRegistryText(registry, RegistryRoot::LocalMachine,
                                  HelpEngineKeys::kHelpEngineTypeLibrary, "", "engine"));
    EXPECT_TRUE(help.HHInstalled());
    ReadOnlyRegistry readOnly(registry);
    HTMLHelp locked({boxes, readOnly, engine, windows, strings, programFolder});
    EXPECT_FALSE(locked.HHInstalled());
    EXPECT_TRUE(boxes.shown.empty());
}

class HTMLHelpEngines : public HTMLHelpTest {
protected:
    // Shared libraries without a version note: the numbers of their file names count.
    void registerEngines(const std::string& helpEngine, const std::string& browserEngine) {
        ASSERT_TRUE(writeRegistryText(registry, RegistryRoot::ClassesRoot,
                                      HelpEngineKeys::kHelpEngineFile, "", helpEngine));
        ASSERT_TRUE(writeRegistryText(registry, RegistryRoot::ClassesRoot,
                                      HelpEngineKeys::kBrowserEngineFile, "", browserEngine));
    }
};

TEST_F(HTMLHelpEngines, VersionsAndReleaseNamesComeFromTheRegisteredFiles) {
    registerEngines(makeFile("lib/libhelp.so.4.74.8702.0"),
                    makeFile("lib/libbrowser.so.4.72.3612.1707"));
    EXPECT_EQ(help.HHVersion(), "4.74.8702.00");
    EXPECT_EQ(help.HHFriendlyName(), "1.3");
    EXPECT_EQ(help.IEVersion(), "4.72.3612.1707");
    EXPECT_EQ(help.IEFriendlyName(), "4.0 SP2");
    EXPECT_TRUE(help.HHVerifyMinConfig(16, 256));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HTMLHelpEngines, UnknownCodesMakeTheVersionUnknown) {
    registerEngines(makeFile("lib/libhelp.so.4.74.8702.0"),
                    makeFile("lib/libbrowser.so.5.0.2919.6307"));
    EXPECT_FALSE(help.HHVerifyMinConfig(15, 256));
    EXPECT_EQ(help.HHFriendlyName(), "unknown");
    EXPECT_FALSE(help.HHVerifyMinConfig(26, 274));
    EXPECT_EQ(help.IEFriendlyName(), "unknown");
    // A later read locates the engines again.
    EXPECT_EQ(help.IEVersion(), "5.00.2919.6307");
    EXPECT_EQ(help.IEFriendlyName(), "5.01");
}

// Versions compare part by part as numbers: "10.00..." is above "5.00...".
TEST_F(HTMLHelpEngines, ANewerBrowserEngineIsNewEnough) {
    registerEngines(makeFile("lib/libhelp.so.4.74.8702.0"),
                    makeFile("lib/libbrowser.so.10.0.9200.16384"));
    EXPECT_EQ(help.IEVersion(), "10.00.9200.16384");
    for (std::int32_t code = 256; code <= 273; ++code)
        EXPECT_TRUE(help.HHVerifyMinConfig(26, code)) << code;
    EXPECT_FALSE(help.HHVerifyMinConfig(26, 255));
}

TEST_F(HTMLHelpEngines, MissingEnginesAreReportedAsErrors) {
    EXPECT_FALSE(help.HHVerifyMinConfig(16, 256));
    const std::string hh = "Hhctrl.ocx is not registered.  Please install HTML Help.";
    const std::string ie = "Shdocvw.dll is not registered.  Please install Internet Explorer.";
    // Steps 1 and 4 each look again while the versions are empty.
    EXPECT_THAT(boxTexts(), ElementsAre(hh, ie, hh, ie));
    for (const ShownBox& b : boxes.shown)
        EXPECT_EQ(b.icon, MessageIcon::Critical);

    boxes.shown.clear();
    registerEngines(path("lib/gone.so.1"), path("lib/gone.so.2"));
    EXPECT_EQ(help.HHVersion(), "");
    EXPECT_EQ(help.IEVersion(), "");
    EXPECT_THAT(boxTexts(),
                ElementsAre("Hhctrl.ocx is not in its registered location.  Please reinstall "
                            "HTML Help.",
                            "Internet Explorer is not in its registered location.  Please "
                            "reinstall Internet Explorer."));
}

TEST_F(HTMLHelpEngines, AVersionOnceFoundIsKeptWhenTheEngineGoesAway) {
    const std::string engineFile = makeFile("lib/libhelp.so.4.74.8702.0");
    registerEngines(engineFile, makeFile("lib/libbrowser.so.5.50.3825.1300"));
    EXPECT_EQ(help.HHVersion(), "4.74.8702.00");
    QFile::remove(QString::fromStdString(engineFile));
    EXPECT_EQ(help.HHVersion(), "4.74.8702.00");
    EXPECT_EQ(boxes.shown.size(), 1u);
    // A file without any version keeps the old text too.
    registerEngines(makeFile("lib/plain-file"), makeFile("lib/libbrowser.so.5.50.3825.1300"));
    EXPECT_EQ(help.HHVersion(), "4.74.8702.00");
}
