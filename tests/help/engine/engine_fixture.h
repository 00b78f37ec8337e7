#pragma once

#include "help/chm/help_file.h"
#include "help/engine/help_session.h"
#include "help/engine/help_viewer_window.h"
#include "help/engine/text_popup.h"
#include "help/engine/topic_browser.h"
#include "help/engine/topics_found_dialog.h"
#include "support/fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>

inline std::string testHelpFile(const std::string& name) {
    return std::string(TEST_HELP_FILES) + "/" + name;
}

// A help session of its own, with recorded message boxes; every window closes afterwards.
class HelpSessionTest : public ::testing::Test {
protected:
    ~HelpSessionTest() override {
        session.closeAll();
        QApplication::processEvents();
    }
    WindowHandle call(const std::string& target, std::uint32_t command, std::uintptr_t data = 0) {
        return session.HtmlHelp(0, target.c_str(), command, data);
    }
    WindowHandle call(const std::string& target, std::uint32_t command, const void* data) {
        return call(target, command, reinterpret_cast<std::uintptr_t>(data));
    }
    HelpViewerWindow* only() {
        const auto open = session.windows();
        EXPECT_EQ(open.size(), 1u);
        return open.empty() ? nullptr : open.front();
    }
    static QString tabName(HelpViewerWindow* w) {
        return w->tabs()->tabText(w->tabs()->currentIndex());
    }

    const std::string sample = testHelpFile("sample.chm");
    FakeMessageBox boxes;
    HelpSession session{boxes};
};
