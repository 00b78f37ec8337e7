#include "form1_fixture.h"

#include "controls/bevel_button/bevel_colours.h"
#include "recorder/record_formats.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGroupBox>

namespace {

using Colour::RGB;

struct ButtonLook {
    const char* name;
    ColourRef back;
    ColourRef caption;
    ColourRef hover;
    std::int16_t bevelHeight;
    const char* captionOffset;
    const char* pictureOffset;
    ColourRef transparency;
    bool picture;
};

TEST(Form1Buttons, EveryButtonTakesItsStoredLook) {
    Form1Fixture f;
    Form1& w = *f.form;
    EXPECT_TRUE(f.boxes.shown.empty()) << f.boxes.shown.front().text;
    const ColourRef beige = RGB(199, 190, 129);
    const ColourRef light = RGB(224, 224, 224);
    const ColourRef brown = RGB(128, 64, 0);
    const ColourRef red = RGB(255, 0, 0);
    const ButtonLook looks[] = {
        {"cmdRecord", beige, brown, brown, 5, "(0,8)", "(0,-10)", RGB(255, 255, 255), true},
        {"cmdStop", beige, brown, brown, 5, "(10,0)", "(-14,0)", red, true},
        {"cmdPlay", light, brown, brown, 4, "(10,0)", "(-14,0)", red, true},
        {"cmdStopPlay", light, brown, brown, 4, "(0,0)", "(0,0)", red, true},
        {"cmdPause", light, brown, brown, 4, "(0,0)", "(0,0)", red, true},
        {"cmdOpen", light, brown, brown, 4, "(0,0)", "(0,0)", red, true},
        {"Command1", RGB(192, 192, 192), RGB(186, 179, 141), brown, 4, "(0,0)", "(0,0)", red, true},
        {"optFreq(0)", light, RGB(67, 83, 120), RGB(67, 83, 120), 3, "(0,0)", "(0,0)",
         RGB(192, 192, 192), false},
    };
    for (const ButtonLook& look : looks) {
        const auto* b = w.findChild<FormButton*>(QString::fromLatin1(look.name));
        ASSERT_NE(b, nullptr) << look.name;
        EXPECT_EQ(b->BackColour(), look.back) << look.name;
        EXPECT_EQ(b->CaptionColour(), look.caption) << look.name;
        EXPECT_EQ(b->CaptionHoverColour(), look.hover) << look.name;
        EXPECT_FALSE(b->BevelAutoAdjust()) << look.name;
        EXPECT_EQ(b->BevelHeight(), look.bevelHeight) << look.name;
        EXPECT_EQ(b->CaptionOffset(), look.captionOffset) << look.name;
        EXPECT_EQ(b->PictureOffset(), look.pictureOffset) << look.name;
        EXPECT_EQ(b->Transparency(), look.transparency) << look.name;
        EXPECT_EQ(b->Picture().size(), look.picture ? QSize(16, 16) : QSize(0, 0)) << look.name;
        EXPECT_DOUBLE_EQ(b->Font().pointSizeF(), 8.25) << look.name;
        // The family the layout was made with is missing; its metric twin stands in.
        EXPECT_EQ(QFontInfo(b->Font()).family(), "Liberation Sans") << look.name;
    }
    EXPECT_EQ(w.cmdRecord->Caption(), "RECORD");
    EXPECT_EQ(w.cmdStopPlay->Caption(), "");
    EXPECT_EQ(w.cmdRecord->Appearance(), bvlBUTTON::RoundedRectangle);
    EXPECT_EQ(w.cmdRecord->Behaviour(), bvlBUTTON::Command);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.optFreq[i]->Caption(), kRecordFormats[i].caption) << i;
        EXPECT_EQ(w.optFreq[i]->Appearance(), bvlBUTTON::Capsule) << i;
        EXPECT_EQ(w.optFreq[i]->Behaviour(), bvlBUTTON::Option) << i;
        EXPECT_EQ(w.optFreq[i]->parentWidget(), w.Frame3) << i;
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
