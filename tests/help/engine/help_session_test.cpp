#include "../help_file_patch.h"
#include "engine_fixture.h"

#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>

using ::testing::ElementsAre;

TEST_F(HelpSessionTest, ContextIdOpensTheTopicInTheWindowTypesWindow) {
    const WindowHandle handle = call(sample + ">Main", HelpCommand::HH_HELP_CONTEXT, 20);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(handle, windowHandleOf(w));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Sample Main Window"));
    // The window type's 800 x 600, narrowed so that its frame, too, fits the 800-pixel screen.
    const QRect screen = w->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w->frameGeometry()));
    EXPECT_EQ(w->frameGeometry().width(), screen.width());
    EXPECT_EQ(w->geometry().height(), 600);
    EXPECT_EQ(w->currentTopic(), "/pages/second.htm");
    EXPECT_TRUE(w->navigationVisible());
    EXPECT_TRUE(w->hasTab(HelpViewerWindow::Tab::Contents));
    EXPECT_TRUE(w->hasTab(HelpViewerWindow::Tab::Index));
    EXPECT_TRUE(w->hasTab(HelpViewerWindow::Tab::Search));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->contentsTree()->currentItem()->text(0), QStringLiteral("Second page"));
    // The same file and window type reuse the window.
    EXPECT_EQ(call(sample + ">main", HelpCommand::HH_HELP_CONTEXT, 1), handle);
    EXPECT_EQ(w->currentTopic(), "/intro.htm");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HelpSessionTest, AWindowTypeWithoutPanesShowsTheTopicAlone) {
    call(sample + ">Plain", HelpCommand::HH_DISPLAY_TOPIC);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Plain Window"));
    EXPECT_EQ(w->currentTopic(), "/pages/second.htm");
    EXPECT_FALSE(w->navigationVisible());
    // Another window type of the same file is another window; no type takes the default one.
    call(sample, HelpCommand::HH_DISPLAY_TOPIC);
    ASSERT_EQ(session.windows().size(), 2u);
    EXPECT_EQ(session.windows()[1]->windowTitle(), QStringLiteral("Sample Main Window"));
}

TEST_F(HelpSessionTest, AnUnknownContextIdSaysSoAndOpensNothing) {
    EXPECT_EQ(call(sample, HelpCommand::HH_HELP_CONTEXT, 2), 0);
    EXPECT_TRUE(session.windows().empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "The help file " + sample + " has no topic for context number 2.");
}

TEST_F(HelpSessionTest, FilesThatCannotBeShownSaySoAndOpenNothing) {
    QTemporaryDir dir;
    QFile text(dir.filePath(QStringLiteral("notes.chm")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a help file");
    text.close();
    EXPECT_EQ(call("/no/such/file.chm", HelpCommand::HH_DISPLAY_TOPIC), 0);
    EXPECT_EQ(call(text.fileName().toStdString(), HelpCommand::HH_DISPLAY_TOPIC), 0);
    EXPECT_TRUE(session.windows().empty());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "The help file /no/such/file.chm does not exist.");
    EXPECT_THAT(boxes.shown[1].text, ::testing::EndsWith("is not a compiled help file."));
    EXPECT_EQ(boxes.shown[1].title, "Help");
}

TEST_F(HelpSessionTest, TopicsByPathWithAnchorsAndTheirOwnCharsets) {
    call(sample + "::/pages/second.htm#part", HelpCommand::HH_DISPLAY_TOPIC);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->currentTopic(), "/pages/second.htm#part");
    w->resize(500, 300);
    QApplication::processEvents();
    w->showTopic("/pages/second.htm#part");
    EXPECT_GT(w->browser()->verticalScrollBar()->value(), 0);

    call(sample, HelpCommand::HH_DISPLAY_TOPIC, "pages/cyrillic.htm");
    EXPECT_EQ(w->currentTopic(), "/pages/cyrillic.htm");
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("Нажмите ЗАПИСЬ")));
    call(sample, HelpCommand::HH_DISPLAY_TOPIC, "/PAGES/LATIN1.HTM");
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("Un café naïve, déjà vu.")));
    call(sample, HelpCommand::HH_DISPLAY_TOPIC, "pages/none.htm");
    EXPECT_TRUE(
        w->browser()->toPlainText().contains(QStringLiteral("This page is not in the help file")));
}

TEST_F(HelpSessionTest, PicturesAndStyleSheetsComeFromTheFile) {
    call(sample, HelpCommand::HH_DISPLAY_TOPIC);
    TopicBrowser* browser = only()->browser();
    const QVariant picture = browser->loadResource(QTextDocument::ImageResource,
                                                   QUrl(QStringLiteral("chm:/images/dot.png")));
    EXPECT_EQ(QImage::fromData(picture.toByteArray()).size(), QSize(8, 8));
    EXPECT_TRUE(browser->document()->defaultStyleSheet().contains(QStringLiteral("#3e5e92")));
    // Nothing comes from outside the file.
    EXPECT_FALSE(browser
                     ->loadResource(QTextDocument::ImageResource,
                                    QUrl(QStringLiteral("http://example.org/x.png")))
                     .isValid());
}

class LinkCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

TEST_F(HelpSessionTest, LinksInsideOutsideAndIntoOtherHelpFiles) {
    LinkCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    call(sample, HelpCommand::HH_DISPLAY_TOPIC);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    TopicBrowser* topic = w->browser();
    topic->openLink(QUrl(QStringLiteral("pages/second.htm#part")));
    EXPECT_EQ(w->currentTopic(), "/pages/second.htm#part");
    topic->openLink(QUrl(QStringLiteral("../intro.htm")));
    EXPECT_EQ(w->currentTopic(), "/intro.htm");
    topic->openLink(QUrl(QStringLiteral("ms-its:sample.chm::/pages/cyrillic.htm")));
    EXPECT_EQ(w->currentTopic(), "/pages/cyrillic.htm");
    topic->backward();
    EXPECT_EQ(w->currentTopic(), "/intro.htm");

    topic->openLink(QUrl(QStringLiteral("http://example.org/")));
    EXPECT_EQ(w->currentTopic(), "/intro.htm");
    EXPECT_THAT(browser.opened, ElementsAre(QUrl(QStringLiteral("http://example.org/"))));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    // A help file named without a folder lies beside this one.
    topic->openLink(QUrl(QStringLiteral("ms-its:many.chm::/topic5.htm")));
    ASSERT_EQ(session.windows().size(), 2u);
    EXPECT_EQ(session.windows()[1]->currentTopic(), "/topic5.htm");
    EXPECT_EQ(session.windows()[1]->windowTitle(), QStringLiteral("Many Topics"));
}

TEST_F(HelpSessionTest, ContentsAndIndexTabs) {
    call(sample + ">Main", HelpCommand::HH_DISPLAY_INDEX);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    EXPECT_EQ(tabName(w), QStringLiteral("Index"));
    EXPECT_EQ(w->currentTopic(), "/intro.htm");
    ASSERT_EQ(w->indexList()->count(), 4);
    EXPECT_EQ(w->indexList()->item(2)->text(), QStringLiteral("    Second part"));

    w->indexField()->setText(QStringLiteral("sec"));
    emit w->indexField()->textEdited(QStringLiteral("sec"));
    EXPECT_EQ(w->indexList()->currentRow(), 2);
    emit w->indexField()->returnPressed();
    EXPECT_EQ(w->currentTopic(), "/pages/second.htm#part");

    call(sample + ">Main", HelpCommand::HH_DISPLAY_TOC);
    EXPECT_EQ(tabName(w), QStringLiteral("Contents"));
    QTreeWidget* tree = w->contentsTree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("Pages & more"));
    ASSERT_EQ(tree->topLevelItem(1)->childCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->child(1)->text(0), QStringLiteral("Запись"));
    emit tree->itemClicked(tree->topLevelItem(1)->child(1), 0);
    EXPECT_EQ(w->currentTopic(), "/pages/cyrillic.htm");
}

TEST_F(HelpSessionTest, AnIndexEntryWithSeveralTopicsAsksWhichOne) {
    call(sample + ">Main", HelpCommand::HH_DISPLAY_INDEX);
    HelpViewerWindow* w = only();
    w->indexList()->setCurrentRow(1);
    emit w->indexField()->returnPressed();
    auto* dialog = w->findChild<TopicsFoundDialog*>();
    ASSERT_TRUE(dialog);
    ASSERT_EQ(dialog->list()->count(), 2);
    EXPECT_EQ(dialog->list()->item(0)->text(), QStringLiteral("Second page"));
    EXPECT_EQ(dialog->list()->item(1)->text(), QStringLiteral("Latin"));
    dialog->list()->setCurrentRow(1);
    emit dialog->list()->itemActivated(dialog->list()->item(1));
    EXPECT_EQ(w->currentTopic(), "/pages/latin1.htm");
}

TEST_F(HelpSessionTest, SearchOpensWithAnEmptyQueryOrRunsOne) {
    static const char empty[] = "";
    HH_FTS_QUERY query{sizeof(HH_FTS_QUERY), 0, empty, 0, 0, 0, 1, empty};
    call(sample, HelpCommand::HH_DISPLAY_SEARCH, &query);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    EXPECT_EQ(tabName(w), QStringLiteral("Search"));
    EXPECT_EQ(w->searchField()->text(), QString());
    EXPECT_EQ(w->searchResults()->count(), 0);

    query.pszSearchQuery = "ЗАПИСЬ";
    call(sample, HelpCommand::HH_DISPLAY_SEARCH, &query);
    ASSERT_EQ(w->searchResults()->count(), 1);
    EXPECT_EQ(w->searchResults()->item(0)->text(), QStringLiteral("Запись звука"));
    emit w->searchResults()->itemActivated(w->searchResults()->item(0));
    EXPECT_EQ(w->currentTopic(), "/pages/cyrillic.htm");

    w->searchField()->setText(QStringLiteral("nowhere"));
    w->runSearch();
    EXPECT_EQ(w->searchResults()->count(), 0);
    EXPECT_EQ(w->searchStatus()->text(), QStringLiteral("No topics found."));
}

TEST_F(HelpSessionTest, KeywordAndLinkLookups) {
    const auto lookup = [&](std::uint32_t command, const char* names, const char* url,
                            const char* text, const char* title) {
        HH_AKLINK link{sizeof(HH_AKLINK), 0, names, url, text, title, nullptr, 0};
        return call(sample + ">Main", command, &link);
    };
    EXPECT_NE(lookup(HelpCommand::HH_KEYWORD_LOOKUP, "welcome", nullptr, nullptr, nullptr), 0);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->currentTopic(), "/intro.htm");
    lookup(HelpCommand::HH_ALINK_LOOKUP, "nothing; Start", nullptr, nullptr, nullptr);
    EXPECT_EQ(w->currentTopic(), "/intro.htm");
    lookup(HelpCommand::HH_KEYWORD_LOOKUP, "second part", nullptr, nullptr, nullptr);
    EXPECT_EQ(w->currentTopic(), "/pages/second.htm#part");

    lookup(HelpCommand::HH_ALINK_LOOKUP, "Begin", nullptr, nullptr, nullptr);
    auto* dialog = w->findChild<TopicsFoundDialog*>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->list()->count(), 2);
    dialog->close();

    // Nothing found: the default topic, else the message, else nothing.
    lookup(HelpCommand::HH_KEYWORD_LOOKUP, "nothing", "pages/latin1.htm", "Not found", "T");
    EXPECT_EQ(w->currentTopic(), "/pages/latin1.htm");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(lookup(HelpCommand::HH_ALINK_LOOKUP, "nothing", nullptr, "Not found", "Title"), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Not found");
    EXPECT_EQ(boxes.shown[0].title, "Title");
    EXPECT_EQ(lookup(HelpCommand::HH_KEYWORD_LOOKUP, "nothing", nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(HelpSessionTest, TextPopups) {
    HH_POPUP popup{};
    popup.cbStruct = sizeof popup;
    popup.pszText = "Press RECORD to start.";
    popup.pt = {100, 120};
    popup.rcMargins = {-1, -1, -1, -1};
    popup.pszFont = "Verdana, 12, ascii, Bold Italic ";
    const WindowHandle handle = session.HtmlHelp(0, nullptr, HelpCommand::HH_DISPLAY_TEXT_POPUP,
                                                 reinterpret_cast<std::uintptr_t>(&popup));
    TextPopup* shown = session.popup();
    ASSERT_TRUE(shown);
    EXPECT_EQ(handle, windowHandleOf(shown));
    EXPECT_EQ(shown->text(), QStringLiteral("Press RECORD to start."));
    EXPECT_EQ(shown->pos(), QPoint(100, 120));
    EXPECT_TRUE(shown->windowFlags() & Qt::FramelessWindowHint);
    // Black on black would hide the text: the popup takes the desktop's colours instead.
    EXPECT_NE(shown->textColour(), shown->backColour());

    popup.clrForeground = 0x0000FF; // red
    popup.clrBackground = 0xC0FFFF;
    popup.pszText = nullptr;
    popup.idString = 8;
    const std::string source = sample + "::/popups.txt";
    session.HtmlHelp(0, source.c_str(), HelpCommand::HH_DISPLAY_TEXT_POPUP,
                     reinterpret_cast<std::uintptr_t>(&popup));
    QApplication::processEvents();
    ASSERT_TRUE(session.popup());
    EXPECT_NE(session.popup(), shown);
    EXPECT_EQ(session.popup()->text(), QStringLiteral("Second popup,\ntwo lines."));
    EXPECT_EQ(session.popup()->textColour(), QColor(255, 0, 0));
    EXPECT_EQ(session.popup()->backColour(), QColor(255, 255, 192));

    popup.idString = 99;
    session.HtmlHelp(0, source.c_str(), HelpCommand::HH_DISPLAY_TEXT_POPUP,
                     reinterpret_cast<std::uintptr_t>(&popup));
    EXPECT_EQ(session.popup()->text(),
              QStringLiteral("No help topic is associated with this item."));

    popup.idString = 0;
    popup.pszText = "";
    EXPECT_EQ(session.HtmlHelp(0, nullptr, HelpCommand::HH_DISPLAY_TEXT_POPUP,
                               reinterpret_cast<std::uintptr_t>(&popup)),
              0);
}

TEST_F(HelpSessionTest, CloseAllClosesWindowsAndPopup) {
    call(sample, HelpCommand::HH_DISPLAY_TOPIC);
    call(sample + ">Plain", HelpCommand::HH_DISPLAY_TOPIC);
    HH_POPUP popup{};
    popup.cbStruct = sizeof popup;
    popup.pszText = "x";
    session.HtmlHelp(0, nullptr, HelpCommand::HH_DISPLAY_TEXT_POPUP,
                     reinterpret_cast<std::uintptr_t>(&popup));
    ASSERT_EQ(session.windows().size(), 2u);
    EXPECT_EQ(session.HtmlHelp(0, "", HelpCommand::HH_CLOSE_ALL, 0), 0);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(session.windows().empty());
    EXPECT_FALSE(session.popup());
}

TEST_F(HelpSessionTest, TheCallingWindowOwnsTheHelpWindow) {
    QWidget owner;
    owner.show();
    const auto handle = static_cast<WindowHandle>(owner.winId());
    session.HtmlHelp(handle, sample.c_str(), HelpCommand::HH_DISPLAY_TOPIC, 0);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->parentWidget(), &owner);
    EXPECT_TRUE(w->isWindow());
}

TEST_F(HelpSessionTest, UnknownCommandsAndShortRecordsShowNothing) {
    HH_AKLINK tooShort{};
    tooShort.cbStruct = 4;
    EXPECT_EQ(call(sample, HelpCommand::HH_KEYWORD_LOOKUP, &tooShort), 0);
    EXPECT_EQ(call(sample, 0x1234), 0);
    EXPECT_EQ(session.HtmlHelp(0, nullptr, HelpCommand::HH_DISPLAY_TOPIC, 0), 0);
    EXPECT_TRUE(session.windows().empty());
}

#include "help_session_test.moc"

// A help file that opens but whose parts cannot all be read says it is damaged, and where:
// not that it lacks a topic, a page or a contents tree.
TEST_F(HelpSessionTest, DamageMetWhileReadingIsToldAsDamage) {
    QTemporaryDir dir;
    const auto spoiled = [&](const char* name, quint32 block) {
        HelpFilePatch p(testHelpFile("many.chm"));
        const qsizetype at = p.compressedBlock(block);
        EXPECT_GT(at, 0);
        for (qsizetype i = 0; i < 16; ++i)
            p.bytes()[at + i] = 0;
        return p.writeTo(dir.path(), name);
    };
    // Its internal files: nothing opens.
    const std::string internal = spoiled("internal.chm", 2);
    EXPECT_EQ(call(internal, HelpCommand::HH_HELP_CONTEXT, 1), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The help file " + internal +
                                       " is damaged: its internal file #STRINGS cannot be read.");

    // Its pages and contents: the window opens and says what it cannot show.
    const std::string pages = spoiled("pages.chm", 0);
    EXPECT_NE(call(pages, HelpCommand::HH_DISPLAY_TOC), 0);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text,
              "The help file " + pages + " is damaged: /toc.hhc cannot be read.");
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("This page cannot be read")));
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("is damaged")));
    w->setSearchQuery(QStringLiteral("shared"), true);
    EXPECT_EQ(w->searchResults()->count(), 0);
    EXPECT_TRUE(w->searchStatus()->text().contains(
        QStringLiteral("Part of the help file could not be read: 420 of its pages")));
    EXPECT_EQ(boxes.shown.size(), 2u) << "pages are told where they are shown";
}

// A help window opened from the program's window keeps clear of it where the screen has room.
TEST_F(HelpSessionTest, TheHelpWindowOpensBesideTheCallersWindow) {
    QWidget main;
    main.setGeometry(300, 200, 200, 150);
    main.show();
    const WindowHandle caller = windowHandleOf(&main);
    session.HtmlHelp(caller, (sample + ">Main").c_str(), HelpCommand::HH_HELP_CONTEXT, 1);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->frameGeometry().intersects(main.frameGeometry()))
        << w->frameGeometry().x() << "," << w->frameGeometry().y();

    // The program names no window: the help is for the one the user was working in.
    main.activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() != &main)
        GTEST_SKIP() << "this platform does not activate windows";
    call(sample + ">Plain", HelpCommand::HH_DISPLAY_TOPIC);
    ASSERT_EQ(session.windows().size(), 2u);
    const QRect plain = session.windows()[1]->frameGeometry();
    EXPECT_FALSE(plain.intersects(main.frameGeometry())) << plain.x() << "," << plain.y();
}
