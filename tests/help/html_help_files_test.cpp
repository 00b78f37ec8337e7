// Properties, messages, file-type tests and resolution of the help file.
#include "html_help_fixture.h"

using ::testing::ElementsAre;

TEST_F(HTMLHelpTest, PropertiesStartEmptyZeroAndFalse) {
    EXPECT_EQ(help.CHMFile(), "");
    EXPECT_EQ(help.HHWindow(), "");
    EXPECT_EQ(help.HHTopicURL(), "");
    EXPECT_EQ(help.HHTopicID(), 0);
    EXPECT_EQ(help.HHKeyword(), "");
    EXPECT_EQ(help.HHALink(), "");
    EXPECT_EQ(help.HHDefaultURL(), "");
    EXPECT_EQ(help.HHMsgText(), "");
    EXPECT_EQ(help.HHMsgTitle(), "");
    EXPECT_FALSE(help.HHShowOnTop());
    EXPECT_EQ(help.HHRegFileName(), "");
    EXPECT_EQ(help.HHRegFilePath(), "");
    EXPECT_FALSE(help.HHRegFileExists());
    EXPECT_FALSE(help.HHPopupCustomColors());
    EXPECT_TRUE(boxes.shown.empty());
}

struct FileTypeCase {
    const char* name;
    bool accepted;
};

class HelpFileType : public HTMLHelpTest, public ::testing::WithParamInterface<FileTypeCase> {};

// Only the last three letters count, in any case.
TEST_P(HelpFileType, OnlyTheLastThreeLettersCount) {
    const FileTypeCase c = GetParam();
    help.HHCheckRegistry(c.name);
    if (c.accepted) {
        EXPECT_TRUE(boxes.shown.empty());
    } else {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, std::string(c.name) + " is not a valid HTML Help file.");
        EXPECT_EQ(boxes.shown[0].title, "HTML Help Class");
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, HelpFileType,
    ::testing::Values(FileTypeCase{"guide.chm", true}, FileTypeCase{"GUIDE.CHM", true},
                      FileTypeCase{"guide.xchm", true}, FileTypeCase{"/docs/a\\guide.Chm", true},
                      FileTypeCase{"guide.chm ", false}, FileTypeCase{"guide.txt", false},
                      FileTypeCase{"hm", false}));

TEST_F(HTMLHelpTest, BareNameThatIsNotRegisteredResolvesToTheProgramFolder) {
    makeFile("program/guide.chm");
    std::string name = "guide.chm";
    EXPECT_TRUE(help.EnsureFileExists(name));
    EXPECT_EQ(name, programFolder + "/guide.chm");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HTMLHelpTest, RegisteredBareNameResolvesToItsFolder) {
    const std::string file = makeFile("Docs/guide.chm");
    listHelpFile("guide.chm", path("Docs") + "/");
    std::string name = "guide.chm";
    EXPECT_TRUE(help.EnsureFileExists(name));
    EXPECT_EQ(name, file);
}

TEST_F(HTMLHelpTest, MissingFileIsNamedWithItsResolvedPathAndTheAdviceOnALineOfItsOwn) {
    std::string name = "guide.chm";
    EXPECT_FALSE(help.EnsureFileExists(name));
    EXPECT_THAT(boxTexts(), ElementsAre("The file " + programFolder +
                                        "/guide.chm does not exist.\n"
                                        "Please make sure the correct path and file name have been "
                                        "specified."));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(HTMLHelpTest, AnythingFoundCountsAlsoAFolder) {
    QDir().mkpath(QString::fromStdString(path("shelf/book.chm")));
    std::string name = path("shelf/book.chm");
    EXPECT_TRUE(help.EnsureFileExists(name));
    EXPECT_EQ(name, path("shelf/book.chm"));
}

// A name that is no help file stops the registry check early; the outcome of an earlier check
// must not be taken for this name.
TEST_F(HTMLHelpTest, EarlierRegistryOutcomeIsNotUsedForAnotherName) {
    makeFile("Docs/guide.chm");
    listHelpFile("guide.chm", path("Docs") + "/");
    help.HHCheckRegistry("guide.chm");
    ASSERT_EQ(help.HHRegFileName(), "guide.chm");
    std::string name = "notes.txt";
    EXPECT_FALSE(help.EnsureFileExists(name));
    EXPECT_EQ(name, programFolder + "/notes.txt");
}

// The list matches names in any letter case; the file itself is looked for under the caller's
// spelling.
TEST_F(HTMLHelpTest, RegisteredFileIsFoundUnderTheNameTheCallerSpelled) {
    makeFile("Docs/GUIDE.CHM");
    listHelpFile("guide.chm", path("Docs") + "/");
    const std::string asked = "/elsewhere/GUIDE.CHM";
    EXPECT_FALSE(help.HHCheckRegistry(asked));
    EXPECT_EQ(asked, "/elsewhere/GUIDE.CHM");
    EXPECT_EQ(help.HHRegFileName(), "GUIDE.CHM");
    EXPECT_EQ(help.HHRegFilePath(), path("Docs") + "/");
    EXPECT_TRUE(help.HHRegFileExists());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HTMLHelpTest, RegisteredFileThatIsMissingWarnsAndIsNotThere) {
    listHelpFile("guide.chm", path("Gone") + "/");
    help.HHCheckRegistry("guide.chm");
    EXPECT_EQ(help.HHRegFileName(), "guide.chm");
    EXPECT_FALSE(help.HHRegFileExists());
    // The folder carries its own separator, so the test path has two.
    EXPECT_THAT(boxTexts(), ElementsAre("The file " + path("Gone") +
                                        "//guide.chm does not exist.\nPlease make sure the "
                                        "correct path and file name have been specified."));
}

TEST_F(HTMLHelpTest, UnregisteredFileEmptiesTheOutcome) {
    makeFile("Docs/guide.chm");
    listHelpFile("guide.chm", path("Docs") + "/");
    help.HHCheckRegistry("guide.chm");
    help.HHCheckRegistry("other.chm");
    EXPECT_EQ(help.HHRegFileName(), "");
    EXPECT_EQ(help.HHRegFilePath(), "");
    EXPECT_FALSE(help.HHRegFileExists());
}

TEST_F(HTMLHelpTest, EmptyNameChangesNothing) {
    makeFile("Docs/guide.chm");
    listHelpFile("guide.chm", path("Docs") + "/");
    help.HHCheckRegistry("guide.chm");
    help.HHCheckRegistry("");
    EXPECT_EQ(help.HHRegFileName(), "guide.chm");
    EXPECT_TRUE(help.HHRegFileExists());
}

TEST_F(HTMLHelpTest, ExpandableFolderIsExpanded) {
    makeFile("Docs/guide.chm");
    qputenv("SORVINTA_TEST_DOCS", QByteArray::fromStdString(path("Docs")));
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(registry.createKey(RegistryRoot::LocalMachine, HelpEngineKeys::kHelpFileList,
                                 RegistryAccess::SetValue, key),
              0);
    key->setValue("guide.chm", RegExpandSz, "${SORVINTA_TEST_DOCS}/");
    help.HHCheckRegistry("guide.chm");
    EXPECT_EQ(help.HHRegFilePath(), path("Docs") + "/");
    EXPECT_TRUE(help.HHRegFileExists());
}
