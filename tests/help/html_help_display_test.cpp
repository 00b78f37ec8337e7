// The display operations, the text popup and the window operations, against a fake engine.
#include "html_help_fixture.h"

#include <functional>

using ::testing::ElementsAre;

class HTMLHelpDisplay : public HTMLHelpTest {
protected:
    HTMLHelpDisplay() : helpFile(makeFile("program/help/Sorvinta.chm")) {}
    const std::string helpFile;
};

// Main window's Help > How to Use.
TEST_F(HTMLHelpDisplay, TheProgramsOwnCallOpensHowToUseInTheMainWindowType) {
    help.setCHMFile(programFolder + "/help/Sorvinta.chm");
    help.setHHTopicID(1);
    help.setHHWindow("Main");
    help.HHDisplayTopicID(0);
    ASSERT_EQ(engine.calls.size(), 1u);
    const RecordedHelpCall& call = engine.calls[0];
    EXPECT_EQ(call.caller, 0);
    EXPECT_EQ(call.file, helpFile + ">Main");
    EXPECT_EQ(call.command, 15u);
    EXPECT_EQ(call.data, 1u);
    EXPECT_EQ(help.HHWndHandle(), engine.answer);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HTMLHelpDisplay, AMissingHelpFileWarnsAndCallsNoEngine) {
    QFile::remove(QString::fromStdString(helpFile));
    help.setCHMFile(helpFile);
    help.setHHTopicID(1);
    help.setHHWindow("Main");
    help.HHDisplayTopicID(0);
    EXPECT_TRUE(engine.calls.empty());
    EXPECT_THAT(boxTexts(), ElementsAre("The file " + helpFile +
                                        " does not exist.\nPlease make sure the correct path "
                                        "and file name have been specified."));
}

TEST_F(HTMLHelpDisplay, ABareNameIsResolvedAndKept) {
    makeFile("program/guide.chm");
    help.setCHMFile("guide.chm");
    help.HHDisplayContents(0);
    EXPECT_EQ(help.CHMFile(), programFolder + "/guide.chm");
    ASSERT_EQ(engine.calls.size(), 1u);
    EXPECT_EQ(engine.calls[0].file, programFolder + "/guide.chm");
}

TEST_F(HTMLHelpDisplay, TheWindowTypeIsAppendedUnlessItIsBlank) {
    const struct {
        const char* window;
        std::string target;
    } cases[] = {
        {"", helpFile},
        {"   ", helpFile},
        {"Main", helpFile + ">Main"},
        {" Main ", helpFile + "> Main "},
    };
    for (const auto& c : cases) {
        engine.calls.clear();
        help.setCHMFile(helpFile);
        help.setHHWindow(c.window);
        help.HHDisplayIndex(0);
        ASSERT_EQ(engine.calls.size(), 1u);
        EXPECT_EQ(engine.calls[0].file, c.target) << '"' << c.window << '"';
    }
}

struct DisplayOperation {
    const char* name;
    void (HTMLHelp::*operation)(WindowHandle);
    std::uint32_t command;
    const char* warningOperation;
};

const DisplayOperation kDisplayOperations[] = {
    {"TopicURL", &HTMLHelp::HHDisplayTopicURL, HelpCommand::HH_DISPLAY_TOPIC, "HHDisplayContents"},
    {"TopicID", &HTMLHelp::HHDisplayTopicID, HelpCommand::HH_HELP_CONTEXT, "HHDisplayContents"},
    {"Search", &HTMLHelp::HHDisplaySearch, HelpCommand::HH_DISPLAY_SEARCH, "HHDisplayContents"},
    {"Index", &HTMLHelp::HHDisplayIndex, HelpCommand::HH_DISPLAY_INDEX, "HHDisplayContents"},
    {"Contents", &HTMLHelp::HHDisplayContents, HelpCommand::HH_DISPLAY_TOC, "HHDisplayContents"},
    {"ALink", &HTMLHelp::HHDisplayALink, HelpCommand::HH_ALINK_LOOKUP, "HHDisplayContents"},
    {"Keyword", &HTMLHelp::HHDisplayKeyword, HelpCommand::HH_KEYWORD_LOOKUP, "HHDisplayKeyword"},
};

TEST_F(HTMLHelpDisplay, OnTopWithoutACallingWindowWarnsBeforeAnyEngineCall) {
    for (const DisplayOperation& op : kDisplayOperations) {
        boxes.shown.clear();
        engine.calls.clear();
        help.setCHMFile(helpFile);
        help.setHHShowOnTop(true);
        (help.*op.operation)(0);
        EXPECT_TRUE(engine.calls.empty()) << op.name;
        EXPECT_THAT(boxTexts(),
                    ElementsAre(std::string("The ") + op.warningOperation +
                                " method was called without a form being specified, while "
                                "HHShowOnTop was set to True."))
            << op.name;
    }
}

TEST_F(HTMLHelpDisplay, OnTopMakesTheCallingWindowTheOwner) {
    for (const DisplayOperation& op : kDisplayOperations) {
        engine.calls.clear();
        help.setCHMFile(helpFile);
        help.setHHShowOnTop(true);
        (help.*op.operation)(77);
        ASSERT_FALSE(engine.calls.empty()) << op.name;
        EXPECT_EQ(engine.calls.back().caller, 77) << op.name;
        EXPECT_EQ(engine.calls.back().command, op.command) << op.name;
        help.setHHShowOnTop(false);
        engine.calls.clear();
        (help.*op.operation)(77);
        EXPECT_EQ(engine.calls.back().caller, 0) << op.name;
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HTMLHelpDisplay, KeywordOpensTheDefaultTopicThenLooksUp) {
    help.setCHMFile(helpFile);
    help.setHHWindow("Main");
    help.setHHKeyword("record;format");
    help.HHDisplayKeyword(0);
    ASSERT_EQ(engine.calls.size(), 2u);
    EXPECT_EQ(engine.calls[0].file, helpFile);
    EXPECT_EQ(engine.calls[0].command, HelpCommand::HH_DISPLAY_TOPIC);
    EXPECT_EQ(engine.calls[0].data, 0u);
    EXPECT_EQ(engine.calls[1].file, helpFile);
    EXPECT_EQ(engine.calls[1].command, HelpCommand::HH_KEYWORD_LOOKUP);
    const RecordedHelpCall::Link& link = *engine.calls[1].link;
    EXPECT_EQ(link.cbStruct, static_cast<std::int32_t>(sizeof(HH_AKLINK)));
    EXPECT_EQ(link.fReserved, 0);
    EXPECT_EQ(link.keywords, "record;format");
    EXPECT_EQ(link.url, std::nullopt);
    EXPECT_EQ(link.msgText, std::nullopt);
    EXPECT_EQ(link.msgTitle, std::nullopt);
    EXPECT_EQ(link.window, "Main");
    EXPECT_EQ(link.fIndexOnFail, 0);
}

TEST_F(HTMLHelpDisplay, ALinkIsOneLookupCarryingTheFallbacks) {
    help.setCHMFile(helpFile);
    help.setHHWindow("  ");
    help.setHHALink("Recording");
    help.setHHDefaultURL("howto.htm");
    help.setHHMsgText("Nothing found");
    help.setHHMsgTitle("Help");
    help.HHDisplayALink(0);
    ASSERT_EQ(engine.calls.size(), 1u);
    EXPECT_EQ(engine.calls[0].file, helpFile);
    const RecordedHelpCall::Link& link = *engine.calls[0].link;
    EXPECT_EQ(link.keywords, "Recording");
    EXPECT_EQ(link.url, "howto.htm");
    EXPECT_EQ(link.msgText, "Nothing found");
    EXPECT_EQ(link.msgTitle, "Help");
    EXPECT_EQ(link.window, std::nullopt);
}

TEST_F(HTMLHelpDisplay, SearchAlwaysSendsAnEmptyQueryToRun) {
    help.setCHMFile(helpFile);
    help.HHDisplaySearch(0);
    ASSERT_EQ(engine.calls.size(), 1u);
    const RecordedHelpCall::Query& q = *engine.calls[0].query;
    EXPECT_EQ(q.cbStruct, static_cast<std::int32_t>(sizeof(HH_FTS_QUERY)));
    EXPECT_EQ(q.query, "");
    EXPECT_EQ(q.window, "");
    EXPECT_EQ(q.fExecute, 1);
    EXPECT_EQ(q.fUniCodeStrings, 0);
    EXPECT_EQ(q.fStemmedSearch, 0);
    EXPECT_EQ(q.fTitleOnly, 0);
    EXPECT_EQ(q.iProximity, 0);
}

TEST_F(HTMLHelpDisplay, TopicURLHandsOverTheTopicText) {
    help.setCHMFile(helpFile);
    help.setHHTopicURL("formats.htm#sizes");
    help.HHDisplayTopicURL(0);
    ASSERT_EQ(engine.calls.size(), 1u);
    EXPECT_EQ(engine.calls[0].topic, "formats.htm#sizes");
}

TEST_F(HTMLHelpDisplay, AnUnreachableEngineIsSkippedWithoutAMessage) {
    help.setCHMFile(helpFile);
    help.HHDisplayContents(0);
    engine.reachable = false;
    for (const DisplayOperation& op : kDisplayOperations)
        (help.*op.operation)(0);
    help.HHClose();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(help.HHWndHandle(), engine.answer);
}

TEST_F(HTMLHelpDisplay, AReturnedZeroIsStoredAndThenReported) {
    help.setCHMFile(helpFile);
    engine.answer = 0;
    help.HHDisplayContents(0);
    EXPECT_EQ(help.HHWndHandle(), 0);
    EXPECT_THAT(boxTexts(), ElementsAre("No HTML Help window handle to retrieve."));
}

TEST_F(HTMLHelpDisplay, WindowHandleBeforeAnyDisplayAndAfterClose) {
    EXPECT_EQ(help.HHWndHandle(), 0);
    EXPECT_THAT(boxTexts(), ElementsAre("No HTML Help window handle to retrieve."));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    help.setCHMFile(helpFile);
    help.HHDisplayContents(0);
    engine.answer = 0;
    help.HHClose();
    ASSERT_EQ(engine.calls.size(), 2u);
    EXPECT_EQ(engine.calls[1].caller, 0);
    EXPECT_EQ(engine.calls[1].file, "");
    EXPECT_EQ(engine.calls[1].command, HelpCommand::HH_CLOSE_ALL);
    EXPECT_EQ(engine.calls[1].data, 0u);
    EXPECT_EQ(help.HHWndHandle(), 0x2A01);
}

TEST_F(HTMLHelpDisplay, PopupWithTheInitialLook) {
    help.setHHPopupType(4);
    help.setHHPopupText("Press RECORD to start.");
    help.HHDisplayPopup(0);
    ASSERT_EQ(engine.calls.size(), 1u);
    const RecordedHelpCall& call = engine.calls[0];
    EXPECT_EQ(call.file, std::nullopt);
    EXPECT_EQ(call.caller, 0);
    const RecordedHelpCall::Popup& p = *call.popup;
    EXPECT_EQ(p.cbStruct, static_cast<std::int32_t>(sizeof(HH_POPUP)));
    EXPECT_EQ(p.idString, 0u);
    EXPECT_EQ(p.text, "Press RECORD to start.");
    EXPECT_EQ(p.pt.x, 321);
    EXPECT_EQ(p.pt.y, 123);
    EXPECT_EQ(p.foreground, 0u);
    EXPECT_EQ(p.background, 0u);
    EXPECT_EQ(p.margins.left, -1);
    EXPECT_EQ(p.margins.top, -1);
    EXPECT_EQ(p.margins.right, -1);
    EXPECT_EQ(p.margins.bottom, -1);
    EXPECT_EQ(p.font, "Arial, 10, ascii, ");
    // The popup is no display: its answer is not kept.
    EXPECT_EQ(help.HHWndHandle(), 0);
}

TEST_F(HTMLHelpDisplay, PopupLookLastsForOnePopup) {
    help.setHHPopupType(4);
    help.setHHPopupText("x");
    help.setHHPopupTextFont("Verdana");
    help.setHHPopupTextSize("12");
    help.setHHPopupTextBold(true);
    help.setHHPopupTextItalic(true);
    help.setHHPopupTextUnderline(true);
    help.setHHPopupCustomColors(true);
    help.setHHPopupCustomTextColor(0x0000FF);
    help.setHHPopupCustomBackColor(0xC0FFFF);
    help.setHHPopupTextColor(0x111111);
    help.HHDisplayPopup(0);
    help.HHDisplayPopup(0);
    ASSERT_EQ(engine.calls.size(), 2u);
    EXPECT_EQ(engine.calls[0].popup->font, "Verdana, 12, ascii, Bold Italic Underline");
    EXPECT_EQ(engine.calls[0].popup->foreground, 0x0000FFu);
    EXPECT_EQ(engine.calls[0].popup->background, 0xC0FFFFu);
    EXPECT_EQ(engine.calls[1].popup->font, "Arial, 10, ascii, ");
    EXPECT_EQ(engine.calls[1].popup->foreground, 0u);
    EXPECT_EQ(engine.calls[1].popup->background, 0u);
    EXPECT_TRUE(help.HHPopupCustomColors());
    EXPECT_EQ(engine.calls[1].popup->text, "x");
}

TEST_F(HTMLHelpDisplay, PopupStyleWordsKeepTheirOrder) {
    const struct {
        bool bold, italic, underline;
        const char* font;
    } cases[] = {
        {true, false, false, "Arial, 10, ascii, Bold "},
        {false, true, false, "Arial, 10, ascii, Italic "},
        {false, false, true, "Arial, 10, ascii, Underline"},
        {true, false, true, "Arial, 10, ascii, Bold Underline"},
    };
    help.setHHPopupType(4);
    help.setHHPopupText("x");
    for (const auto& c : cases) {
        engine.calls.clear();
        help.setHHPopupTextBold(c.bold);
        help.setHHPopupTextItalic(c.italic);
        help.setHHPopupTextUnderline(c.underline);
        help.HHDisplayPopup(0);
        EXPECT_EQ(engine.calls.at(0).popup->font, c.font);
    }
}

TEST_F(HTMLHelpDisplay, PopupFromTheHelpFilesPopupTextFile) {
    help.setCHMFile(helpFile);
    help.setHHPopupType(1);
    help.setHHPopupFile("popups.txt");
    help.setHHPopupID(1001);
    help.HHDisplayPopup(55);
    ASSERT_EQ(engine.calls.size(), 1u);
    EXPECT_EQ(engine.calls[0].file, helpFile + "::/popups.txt");
    EXPECT_EQ(engine.calls[0].caller, 55);
    EXPECT_EQ(engine.calls[0].popup->idString, 1001u);
    EXPECT_EQ(engine.calls[0].popup->text, std::nullopt);
}

TEST_F(HTMLHelpDisplay, PopupSourceThatIsNoTextFileWarns) {
    help.setCHMFile(helpFile);
    help.setHHPopupType(1);
    help.setHHPopupFile("tips.doc");
    help.setHHPopupTextColor(0x123456);
    help.HHDisplayPopup(0);
    EXPECT_TRUE(engine.calls.empty());
    EXPECT_THAT(boxTexts(), ElementsAre("The file specified as the text popup source, "
                                        "'tips.doc', is not a valid popup file."));
    // No popup was asked for, so its look stays for the next one.
    help.setHHPopupFile("tips.txt");
    help.HHDisplayPopup(0);
    EXPECT_EQ(engine.calls.at(0).popup->foreground, 0x123456u);
}

TEST_F(HTMLHelpDisplay, PopupFromTheProgramsOwnStrings) {
    strings.strings[101] = "Type the WAV file to record into.";
    help.setHHPopupType(2);
    help.setHHPopupID(101);
    help.HHDisplayPopup(0);
    ASSERT_EQ(engine.calls.size(), 1u);
    EXPECT_EQ(engine.calls[0].file, std::nullopt);
    EXPECT_EQ(engine.calls[0].popup->text, "Type the WAV file to record into.");
    EXPECT_EQ(engine.calls[0].popup->idString, 0u);
}

TEST_F(HTMLHelpDisplay, PopupsThatShowNothing) {
    help.setHHPopupTextColor(0x123456);
    help.HHDisplayPopup(0); // type 0
    help.setHHPopupType(4);
    help.HHDisplayPopup(0); // no text
    help.setHHPopupType(3);
    help.setHHPopupText("x");
    help.HHDisplayPopup(0); // no such type
    EXPECT_TRUE(engine.calls.empty());
    EXPECT_TRUE(boxes.shown.empty());
    help.setHHPopupType(4);
    help.HHDisplayPopup(0);
    EXPECT_EQ(engine.calls.at(0).popup->foreground, 0x123456u);
}

// Like every other engine call, a popup the engine cannot show is skipped; the look resets.
TEST_F(HTMLHelpDisplay, PopupWithTheEngineUnreachableIsSkipped) {
    engine.reachable = false;
    help.setHHPopupType(4);
    help.setHHPopupText("x");
    help.setHHPopupTextColor(0x123456);
    help.HHDisplayPopup(0);
    EXPECT_TRUE(boxes.shown.empty());
    engine.reachable = true;
    help.HHDisplayPopup(0);
    EXPECT_EQ(engine.calls.at(0).popup->foreground, 0u);
}

TEST_F(HTMLHelpDisplay, WindowOperationsGoToTheWindowServices) {
    help.HHDeleteJumpURLSysMenu(0x2A01);
    help.HHInvokeWhatsThisHelp(0x77);
    EXPECT_THAT(windows.deletedCommands, ElementsAre(std::make_pair(0x2A01, 0xEFFFu)));
    EXPECT_THAT(windows.contextHelpWindows, ElementsAre(0x77));
    EXPECT_TRUE(engine.calls.empty());
}

TEST_F(HTMLHelpDisplay, HelpFileNamesByNumber) {
    EXPECT_EQ(help.HHSetHelpFile(1), programFolder + "/Library.chm");
    EXPECT_EQ(help.HHSetHelpFile(2), "Library.txt");
    EXPECT_EQ(help.HHSetHelpFile(3), "");
    EXPECT_EQ(help.HHSetHelpFile(0), "");
    EXPECT_EQ(help.HHSetHelpFile(-1), "");
    EXPECT_EQ(help.CHMFile(), "");
}
