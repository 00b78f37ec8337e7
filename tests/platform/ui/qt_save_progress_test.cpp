#include "platform/ui/qt_save_progress.h"

#include <gtest/gtest.h>

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

namespace {

QPushButton* cancelButton(const QProgressDialog& dialog) {
    QPushButton* button = dialog.findChild<QPushButton*>();
    return button && button->isVisible() ? button : nullptr;
}

TEST(QtSaveProgress, AQuickSaveShowsNothing) {
    QtSaveProgress progress;
    progress.saving(QtSaveProgress::kShowAfterMs - 100);
    EXPECT_EQ(progress.dialog(), nullptr);
    progress.saved();
    EXPECT_EQ(progress.dialog(), nullptr);
}

// A slow save shows a busy box; once it copies, the box shows how far the copy has come and
// offers Cancel, which the copying thread hears at its next report.
TEST(QtSaveProgress, ASlowSaveShowsItsBoxAndACopyCanBeCancelled) {
    QtSaveProgress progress;
    progress.saving(QtSaveProgress::kShowAfterMs + 100);
    ASSERT_NE(progress.dialog(), nullptr);
    EXPECT_TRUE(progress.dialog()->isVisible());
    EXPECT_TRUE(progress.dialog()->isModal());
    EXPECT_EQ(progress.dialog()->maximum(), 0) << "busy: nothing to count yet";
    EXPECT_EQ(cancelButton(*progress.dialog()), nullptr);

    EXPECT_TRUE(progress.copied(40, 100));
    progress.saving(QtSaveProgress::kShowAfterMs + 200);
    EXPECT_EQ(progress.dialog()->value() * 100 / progress.dialog()->maximum(), 40);
    QPushButton* cancel = cancelButton(*progress.dialog());
    ASSERT_NE(cancel, nullptr);

    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(progress.copied(50, 100));
    progress.ended();
    progress.saved();
    EXPECT_EQ(progress.dialog(), nullptr);
    EXPECT_TRUE(progress.copied(0, 100)) << "the next save starts afresh";
}

} // namespace
