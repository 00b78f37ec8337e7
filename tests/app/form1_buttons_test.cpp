#include "form1_fixture.h"

#include "controls/bevel_button/bevel_button_keys.h"
#include "controls/bevel_button/bevel_colours.h"
#include "controls/progress_bar/progress_bar_keys.h"
#include "controls/progress_bar/xp_progress_bar.h"
#include "platform/forms/form_file.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>

#include <map>
#include <string>

namespace {

using Colour::RGB;
using StoredValues = std::map<std::string, std::string>; // key: value in its stored form

StoredValues storedValues(const PropertyBag& bag) {
    StoredValues values;
    for (const auto& [key, value] : bag.entries())
        values[key] = formatFormValue(value);
    return values;
}

// What the window's control of that name would store: its own values and, where the form
// gives the control's place, its place.
PropertyBag writeBack(const QWidget& control, const PropertyBag& stored) {
    PropertyBag bag;
    if (const auto* button = qobject_cast<const FormButton*>(&control))
        button->WriteProperties(bag);
    else if (const auto* bar = qobject_cast<const XP_ProgressBar*>(&control))
        bar->WriteProperties(bag);
    if (stored.contains("left")) {
        const QRect box = control.geometry();
        bag.write("left", PropertyValue(std::int32_t{box.x()}));
        bag.write("top", PropertyValue(std::int32_t{box.y()}));
        bag.write("width", PropertyValue(std::int32_t{box.width()}));
        bag.write("height", PropertyValue(std::int32_t{box.height()}));
    }
    return bag;
}

// The window's stored look is its form file alone: loaded into the window and written back from
// its controls, every section gives the file's values again.
TEST(Form1StoredForm, EveryControlWritesBackWhatTheFileStores) {
    Form1Fixture f;
    Form1& w = *f.form;
    EXPECT_TRUE(f.boxes.shown.empty()) << f.boxes.shown.front().text;
    const FormType types[] = {kProgressBarFormType, kBevelButtonFormType};
    const FormFile file = loadFormFile(":/form1.form", types);
    EXPECT_TRUE(file.diagnostics.empty());
    ASSERT_EQ(file.instances.size(), 12u); // the position bar and the eleven buttons

    for (const FormInstance& stored : file.instances) {
        const auto* control = w.findChild<QWidget*>(QString::fromStdString(stored.name));
        ASSERT_NE(control, nullptr) << stored.name;
        StoredValues expected = storedValues(stored.bag);
        // The load then disables STOP and chooses the first format; neither is stored.
        if (stored.name == "cmdStop")
            expected["enabled"] = "False";
        if (stored.name == "optFreq(0)")
            expected["value"] = "True";
        EXPECT_EQ(storedValues(writeBack(*control, stored.bag)), expected) << stored.name;
    }
}

TEST(Form1StoredForm, FormatButtonsReadAsTheSettingTheyChoose) {
    Form1Fixture f;
    Form1& w = *f.form;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.optFreq[i]->parentWidget(), w.Frame3) << i;
        w.recording().optFreqClick(i);
        EXPECT_EQ(w.lblSettings->text(), w.optFreq[i]->Caption()) << i;
    }
}

TEST(Form1StoredForm, ButtonsFallBackToTheStoredFontsMetricTwin) {
    Form1Fixture f;
    for (const FormButton* b : f.form->client()->findChildren<FormButton*>()) {
        // The family the layout was made with is missing; its metric twin stands in.
        EXPECT_EQ(QFontInfo(b->Font()).family(), "Liberation Sans")
            << b->objectName().toStdString();
        EXPECT_DOUBLE_EQ(b->Font().pointSizeF(), 8.25);
    }
}

TEST(Form1Buttons, StartLook) {
    Form1Fixture f;
    Form1& w = *f.form;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    // The first format is chosen and shows pressed.
    EXPECT_EQ(w.optFreq[0]->ButtonState(), bvlBUTTON::StateDown);
    EXPECT_EQ(w.optFreq[0]->LastPaintedState(), bvlBUTTON::StateDown);
    EXPECT_EQ(w.optFreq[0]->face().pixel(76, 0), w.optFreq[0]->sunkenFace().pixel(76, 0));
    EXPECT_EQ(w.optFreq[1]->ButtonState(), 0);

    // STOP is disabled: a greyed picture and the face colour lightened for its caption.
    EXPECT_FALSE(w.cmdStop->Enabled());
    EXPECT_EQ(w.cmdStop->ButtonState(), bvlBUTTON::StateDisabled);
    const PicturePlacement p = w.cmdStop->PicturePlace();
    const ColourRef centre = w.cmdStop->face().pixel(p.X + 8, p.Y + 8);
    EXPECT_EQ(Colour::red(centre), Colour::green(centre));
    EXPECT_EQ(Colour::green(centre), Colour::blue(centre));
    // The caption's pixels (right of the picture) are all lighter than the face: drawn in the
    // face colour lightened, where the enabled caption is dark brown.
    const int bh = w.cmdStop->BevelHeight();
    const int faceLuminance = RGBToHLS(RGB(199, 190, 129)).Luminance;
    int drawn = 0;
    for (int y = 2 * bh; y < w.cmdStop->height() - 2 * bh; ++y)
        for (int x = p.X + p.Width + 1; x < w.cmdStop->width() - 2 * bh; ++x) {
            const ColourRef c = w.cmdStop->face().pixel(x, y);
            if (c == RGB(199, 190, 129))
                continue;
            ++drawn;
            EXPECT_GE(RGBToHLS(c).Luminance, faceLuminance) << x << "," << y;
        }
    EXPECT_GT(drawn, 10);

    // RECORD's top face row in the raised image: luminance 220 in the face's hue.
    const ColourRef light = HLSToRGB({35, 92, 220});
    EXPECT_EQ(w.cmdRecord->raisedFace().pixel(34, 0), light);
    EXPECT_EQ(w.cmdRecord->face().pixel(34, 0), light);
    // And the window shows it there.
    const QImage shown = w.client()->grab().toImage();
    const QPoint top = w.cmdRecord->geometry().topLeft() + QPoint(34, 0);
    EXPECT_EQ(fromQRgb(shown.pixel(top)), light);
}

TEST(Form1Buttons, PressedButtonSinksAndComesBack) {
    Form1Fixture f;
    Form1& w = *f.form;
    f.dialog.choices = {""};
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QPoint centre = w.Command1->mapToGlobal(w.Command1->rect().center());
    QCursor::setPos(centre);
    QWindow* window = w.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, window->mapFromGlobal(centre));
    EXPECT_EQ(w.Command1->ButtonState(), bvlBUTTON::StateDown | bvlBUTTON::StateHover);
    EXPECT_EQ(w.Command1->face().pixel(20, 0), w.Command1->sunkenFace().pixel(20, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(centre));
    EXPECT_EQ(w.Command1->ButtonState(), bvlBUTTON::StateHover);
    EXPECT_EQ(w.Command1->face().pixel(20, 0), w.Command1->raisedFace().pixel(20, 0));
    EXPECT_EQ(f.dialog.shows, 1); // its click went to the save-path dialog
}

} // namespace
