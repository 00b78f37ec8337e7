// The search index is read beside the window from the moment it opens. A search asked for
// before it is ready waits for it with the window still answering, and then answers what the
// search field holds by then.
#include "engine_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

TEST_F(HelpSessionTest, ASearchBeforeTheIndexIsReadyWaitsWithTheWindowAnswering) {
    const std::string many = testHelpFile("many.chm");
    ASSERT_NE(call(many, HelpCommand::HH_DISPLAY_TOC), 0);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    const bool readyAtOnce = w->file().catalogReady();

    // Meanwhile the user types on: the search running then is this one, with the new words.
    bool answered = false;
    QTimer::singleShot(0, w, [&] {
        answered = true;
        w->searchField()->setText(QStringLiteral("uniqueword17"));
        w->runSearch();
    });
    w->searchField()->setText(QStringLiteral("uniqueword5"));
    w->runSearch();
    if (!readyAtOnce) {
        EXPECT_TRUE(answered) << "the window did not answer while the index was read";
        ASSERT_EQ(w->searchResults()->count(), 1);
        EXPECT_EQ(w->searchStatus()->text(), QStringLiteral("Topics found: 1"));
        emit w->searchResults()->itemActivated(w->searchResults()->item(0));
        EXPECT_EQ(w->currentTopic(), "/topic17.htm");
    }
    QApplication::processEvents();
    EXPECT_TRUE(answered);
    EXPECT_TRUE(w->file().catalogReady());
    // Once the index is there a search answers at once.
    w->searchField()->setText(QStringLiteral("uniqueword5"));
    w->runSearch();
    ASSERT_EQ(w->searchResults()->count(), 1);
    emit w->searchResults()->itemActivated(w->searchResults()->item(0));
    EXPECT_EQ(w->currentTopic(), "/topic5.htm");
}
