#include "platform/ui/qt_copy_progress.h"

#include <gtest/gtest.h>

#include <QProgressDialog>
#include <QTest>

TEST(QtCopyProgress, AQuickCopyShowsNothingAndASlowOneShowsItsBoxUntilItEnds) {
    QtCopyProgress progress;
    EXPECT_TRUE(progress.copied(0, 100));
    EXPECT_TRUE(progress.copied(100, 100));
    progress.ended();
    EXPECT_EQ(progress.dialog(), nullptr);
    QTest::qWait(QtCopyProgress::kShowAfterMs + 200);
    EXPECT_EQ(progress.dialog(), nullptr) << "no box shows up after a quick copy";

    EXPECT_TRUE(progress.copied(0, 100));
    QTest::qWait(QtCopyProgress::kShowAfterMs + 200);
    EXPECT_TRUE(progress.copied(40, 100));
    ASSERT_NE(progress.dialog(), nullptr);
    EXPECT_TRUE(progress.dialog()->isVisible());
    EXPECT_EQ(progress.dialog()->value(), 400);
    EXPECT_TRUE(progress.dialog()->isModal());

    // Cancel asks the copy to stop; the box goes when the copy says it has ended.
    progress.dialog()->cancel();
    EXPECT_FALSE(progress.copied(50, 100));
    progress.ended();
    EXPECT_EQ(progress.dialog(), nullptr);
}
