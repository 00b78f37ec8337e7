#include "controls/bevel_button/bevel_button_keys.h"
#include "controls/progress_bar/progress_bar_keys.h"
#include "controls/progress_bar/xp_progress_bar.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>

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

TEST(ProgressBarKeys, TheMainWindowFormHasThePositionBar) {
    const auto path = std::filesystem::path(SORVINTA_SOURCE_DIR) / "resources/form1.form";
    const FormType types[] = {kProgressBarFormType, kBevelButtonFormType};
    const FormFile form = loadFormFile(path.string(), types);
    for (const FormDiagnostic& d : form.diagnostics)
        ADD_FAILURE() << d.text();
    const FormInstance* bar = form.find("barMMControl1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->typeName, "Sorvinta.XP_ProgressBar");
    const PropertyBag& bag = bar->bag;
    EXPECT_EQ(bag.read("font", FontValue{}), (FontValue{"Verdana", 9.75, 400}));
    EXPECT_EQ(bag.read("brushstyle", std::int32_t{4}), 0);
    EXPECT_EQ(bag.read("color", ColourRef{}), Colour::RGB(126, 142, 197));
    EXPECT_EQ(bag.read("scrolling", std::int32_t{0}), 5);
    EXPECT_TRUE(bag.read("showtext", false));
    EXPECT_EQ(bag.read("left", std::int32_t{0}), 429);
    EXPECT_EQ(bag.read("top", std::int32_t{0}), 183);
    EXPECT_EQ(bag.read("width", std::int32_t{0}), 130);
    EXPECT_EQ(bag.read("height", std::int32_t{0}), 19);
    for (const char* key : {"max", "min", "orientation", "value", "image"})
        EXPECT_FALSE(bag.contains(key)) << key;
}
