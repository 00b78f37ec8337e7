#include "app/form_look.h"
#include "app/form_pictures.h"

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
}

// A display family this machine lacks gives way to the first installed stand-in, smaller, and
// only installed families are asked for; a text family keeps its size.
TEST(FormFont, AMissingFamilyGivesWayToTheFirstInstalledStandIn) {
    ASSERT_FALSE(QFontDatabase::hasFamily(QStringLiteral("PTron7")));
    const QStringList installed = QFontDatabase::families();
    for (const auto& [family, size, expectedSize] :
         {std::tuple{"PTron7", 11.25, 9.0}, std::tuple{"MS Sans Serif", 8.25, 8.25}}) {
        const QFont font = formFont(QString::fromLatin1(family), size, true);
        EXPECT_DOUBLE_EQ(font.pointSizeF(), expectedSize) << family;
        EXPECT_TRUE(font.bold()) << family;
        for (const QString& name : font.families())
            EXPECT_TRUE(installed.contains(name, Qt::CaseInsensitive)) << family << name.toStdString();
        EXPECT_EQ(QFontInfo(font).family(), font.families().value(0)) << family;
    }
}
