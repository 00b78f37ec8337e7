#include "help/engine/popup_font.h"

#include <gtest/gtest.h>

#include <QStringList>

TEST(PopupFont, FaceSizeAndStyles) {
    const struct {
        const char* description;
        const char* face;
        double points;
        bool bold, italic, underline;
    } cases[] = {
        {"Arial, 10, ascii, ", "Arial", 10, false, false, false},
        {"Arial, 10, ascii, Bold Italic Underline", "Arial", 10, true, true, true},
        {"Verdana, 12.5, ascii, underline", "Verdana", 12.5, false, false, true},
        {"Verdana, huge, ascii, BOLD", "Verdana", 10, true, false, false},
        {"Verdana, 1000", "Verdana", 10, false, false, false},
    };
    for (const auto& c : cases) {
        const QFont font = popupFont(QString::fromUtf8(c.description));
        EXPECT_EQ(font.families().value(0), QString::fromUtf8(c.face)) << c.description;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), c.points) << c.description;
        EXPECT_EQ(font.bold(), c.bold) << c.description;
        EXPECT_EQ(font.italic(), c.italic) << c.description;
        EXPECT_EQ(font.underline(), c.underline) << c.description;
    }
    EXPECT_DOUBLE_EQ(popupFont(QString()).pointSizeF(), 10);
}
