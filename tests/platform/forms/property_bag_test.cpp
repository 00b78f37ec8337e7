#include "platform/forms/property_bag.h"

#include <gtest/gtest.h>

TEST(PropertyBag, KeysMatchWithoutCaseAndAreHeldInLowerCase) {
    PropertyBag bag;
    bag.write("ShowText", true, false);
    bag.write("BRUSHSTYLE", std::int32_t{3}, std::int32_t{4});
    EXPECT_TRUE(bag.read("showtext", false));
    EXPECT_EQ(bag.read("BrushStyle", std::int32_t{4}), 3);
    ASSERT_EQ(bag.size(), 2u);
    EXPECT_EQ(bag.entries()[0].first, "showtext");
    EXPECT_EQ(bag.entries()[1].first, "brushstyle");
}

TEST(PropertyBag, ValueEqualToItsDefaultIsNotStored) {
    PropertyBag bag;
    bag.write("Max", std::int32_t{100}, std::int32_t{100});
    bag.write("Color", ColourRef{0x8000000D}, ColourRef{0x8000000D});
    bag.write("Image", PictureValue{}, PictureValue{});
    EXPECT_TRUE(bag.empty());

    // Writing the default over a stored value removes it again.
    bag.write("Max", std::int32_t{50}, std::int32_t{100});
    EXPECT_TRUE(bag.contains("max"));
    bag.write("MAX", std::int32_t{100}, std::int32_t{100});
    EXPECT_FALSE(bag.contains("max"));
}

TEST(PropertyBag, ValueWithoutDefaultIsAlwaysStored) {
    PropertyBag bag;
    const FontValue font{"Verdana", 9.75, 400, false, false, false};
    bag.write("Font", font);
    EXPECT_EQ(bag.read("font", FontValue{}), font);
}

TEST(PropertyBag, MissingKeyOrOtherTypeGivesTheDefault) {
    PropertyBag bag;
    bag.write("Scrolling", std::int32_t{5}, std::int32_t{0});
    EXPECT_EQ(bag.read("Orientation", std::int32_t{7}), 7);
    // Stored as an integer, asked for as a colour or a boolean: the default.
    EXPECT_EQ(bag.read("Scrolling", ColourRef{0x123456}), ColourRef{0x123456});
    EXPECT_TRUE(bag.read("Scrolling", true));
    EXPECT_EQ(bag.read("caption", "none"), "none");
}

TEST(PropertyBag, RewritingKeepsThePlaceOfTheFirstWrite) {
    PropertyBag bag;
    bag.write("a", std::int32_t{1}, std::int32_t{0});
    bag.write("b", std::int32_t{2}, std::int32_t{0});
    bag.write("A", std::int32_t{3}, std::int32_t{0});
    ASSERT_EQ(bag.size(), 2u);
    EXPECT_EQ(bag.entries()[0].first, "a");
    EXPECT_EQ(bag.read("a", std::int32_t{0}), 3);
}
