#include "controls/progress_bar/progress_bar_keys.h"
#include "controls/progress_bar/xp_progress_bar.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>

namespace {

const FormKey* findKey(std::string_view key) {
    for (const FormKey& k : kProgressBarFormType.keys)
        if (k.key == key)
            return &k;
    return nullptr;
}

} // namespace

// The stored key list and what the bar saves must not drift apart: every property a bar with
// nothing at its default writes is a listed key of the same type, every listed key is written,
// and the form text reads back the same.
TEST(ProgressBarKeys, MatchWhatTheBarSaves) {
    XP_ProgressBar bar;
    bar.setBrushStyle(2);
    bar.setColor(Colour::RGB(1, 2, 3));
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    bar.setImage(picture);
    bar.setMin(-10);
    bar.setMax(50);
    bar.setOrientation(Vertical);
    bar.setScrolling(HatchFill);
    bar.setShowText(true);
    bar.setValue(20);
    PropertyBag bag;
    bar.WriteProperties(bag);

    for (const auto& [key, value] : bag.entries()) {
        const FormKey* listed = findKey(key);
        ASSERT_NE(listed, nullptr) << key;
        EXPECT_EQ(listed->type, typeOf(value)) << key;
    }
    for (const FormKey& k : kProgressBarFormType.keys)
        EXPECT_TRUE(bag.contains(k.key)) << k.key;

    const FormInstance saved{"bar", std::string(kProgressBarFormType.typeName), 0, bag};
    const FormType types[] = {kProgressBarFormType};
    const FormFile read = parseFormFile(writeFormFile({saved}), "bar.form", types);
    EXPECT_TRUE(read.diagnostics.empty());
    ASSERT_EQ(read.instances.size(), 1u);
    EXPECT_EQ(read.instances[0].bag, bag);
}
