#include "app/form_look.h"
#include "app/form_pictures.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <future>

// The pictures decoded without Qt's readers are the very pixels those readers give, also when
// decoded on a thread of their own.
TEST(FormPictures, DecodedAheadTheyMatchQtsOwnReading) {
    const FormPictures pictures = std::async(std::launch::async, decodeFormPictures).get();
    const struct {
        const QImage& decoded;
        const char* path;
    } cases[] = {{pictures.background, ":/background.png"},
                 {pictures.caption, ":/skin/caption.png"},
                 {pictures.frame, ":/skin/frame.png"}};
    for (const auto& c : cases) {
        const QImage expected(QString::fromLatin1(c.path));
        ASSERT_FALSE(expected.isNull()) << c.path;
        EXPECT_EQ(c.decoded.format(), expected.format()) << c.path;
        EXPECT_EQ(c.decoded, expected) << c.path;
    }
    // The icon: every picture the resources hold for it, in order of size.
    const QStringList names = QDir(QStringLiteral(":/appicon")).entryList(QDir::Files);
    ASSERT_EQ(pictures.icon.size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString path = QStringLiteral(":/appicon/%1x%1.png").arg(kFormIconSizes[i]);
        ASSERT_TRUE(names.contains(path.mid(10))) << path.toStdString();
        const QImage expected(path);
        EXPECT_EQ(pictures.icon[i].format(), expected.format()) << path.toStdString();
        EXPECT_EQ(pictures.icon[i], expected) << path.toStdString();
    }
}

// A display family this machine lacks gives way to the first installed stand-in, smaller, and
// only that family is asked for; a text family keeps its size.
TEST(FormFont, AMissingFamilyGivesWayToTheFirstInstalledStandIn) {
    ASSERT_FALSE(QFontDatabase::hasFamily(QStringLiteral("PTron7")));
    const QStringList installed = QFontDatabase::families();
    for (const auto& [family, size, expectedSize] :
         {std::tuple{"PTron7", 11.25, 9.0}, std::tuple{"MS Sans Serif", 8.25, 8.25}}) {
        const QFont font = formFont(QString::fromLatin1(family), size, true);
        EXPECT_DOUBLE_EQ(font.pointSizeF(), expectedSize) << family;
        EXPECT_TRUE(font.bold()) << family;
        // One family: each further one would cost the font configuration's list of stand-ins.
        ASSERT_EQ(font.families().size(), 1) << family;
        EXPECT_TRUE(installed.contains(font.family(), Qt::CaseInsensitive)) << family;
        EXPECT_EQ(QFontInfo(font).family(), font.family()) << family;
    }
}
