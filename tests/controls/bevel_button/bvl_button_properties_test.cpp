#include "bevel_button_fixture.h"

#include <functional>

namespace {

using Colour::RGB;

class BevelProperties : public BevelForm {};

TEST_F(BevelProperties, NewInstanceDefaults) {
    bvlBUTTON* b = add("cmdThing", QRect(0, 0, 100, 40));
    EXPECT_EQ(b->Caption(), "cmdThing");
    EXPECT_EQ(b->Appearance(), bvlBUTTON::RoundedRectangle);
    EXPECT_EQ(b->BackColour(), 0x8000000Fu);
    EXPECT_EQ(b->Behaviour(), bvlBUTTON::Command);
    EXPECT_TRUE(b->BevelAutoAdjust());
    EXPECT_EQ(b->CaptionColour(), 0x80000008u);
    EXPECT_EQ(b->CaptionHoverColour(), 0x8000000Eu);
    EXPECT_EQ(b->CaptionJustify(), bvlBUTTON::MiddleCentre);
    EXPECT_EQ(b->CaptionOffset(), "(0,0)");
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->MouseKeys(), bvlBUTTON::MouseLeft);
    EXPECT_EQ(b->PictureOffset(), "(0,0)");
    EXPECT_EQ(b->Transparency(), RGB(192, 192, 192));
    EXPECT_TRUE(b->UseTransparency());
    EXPECT_FALSE(b->Value());
    EXPECT_EQ(b->ButtonState(), 0);
    // Saved unchanged, the instance stores nothing.
    PropertyBag bag;
    b->WriteProperties(bag);
    EXPECT_TRUE(bag.empty());
}

struct SetterCase {
    const char* name;
    std::function<void(bvlBUTTON&)> set;
    bool repaints;
};

// Every setter reports its property by name; only some repaint.
TEST_F(BevelProperties, SettersReportAndRepaintAsTheyShould) {
    const QImage picture(16, 16, QImage::Format_RGB32);
    const std::vector<SetterCase> cases = {
        {"AccessKeys", [](bvlBUTTON& b) { b.setAccessKeys("x"); }, false},
        {"Appearance", [](bvlBUTTON& b) { b.setAppearance(3); }, true},
        {"BackColour", [](bvlBUTTON& b) { b.setBackColour(RGB(1, 2, 3)); }, true},
        {"Behaviour", [](bvlBUTTON& b) { b.setBehaviour(1); }, false},
        {"BevelAutoAdjust", [](bvlBUTTON& b) { b.setBevelAutoAdjust(false); }, true},
        {"BevelHeight", [](bvlBUTTON& b) { b.setBevelHeight(3); }, true},
        {"Caption", [](bvlBUTTON& b) { b.setCaption("Go"); }, true},
        {"CaptionColour", [](bvlBUTTON& b) { b.setCaptionColour(RGB(9, 9, 9)); }, true},
        {"CaptionHoverColour", [](bvlBUTTON& b) { b.setCaptionHoverColour(RGB(9, 9, 9)); }, false},
        {"CaptionJustify", [](bvlBUTTON& b) { b.setCaptionJustify(0); }, true},
        {"CaptionOffset", [](bvlBUTTON& b) { b.setCaptionOffset("(1,1)"); }, true},
        {"Enabled", [](bvlBUTTON& b) { b.setEnabled(false); }, true},
        {"Font", [](bvlBUTTON& b) { b.setFont(QFont("DejaVu Sans", 20)); }, true},
        {"MouseIcon", [&](bvlBUTTON& b) { b.setMouseIcon(picture); }, false},
        {"MouseKeys", [](bvlBUTTON& b) { b.setMouseKeys(3); }, false},
        {"MousePointer", [](bvlBUTTON& b) { b.setMousePointer(2); }, false},
        {"Picture", [&](bvlBUTTON& b) { b.setPicture(picture); }, true},
        {"PictureHover", [&](bvlBUTTON& b) { b.setPictureHover(picture); }, false},
        {"PictureJustify", [](bvlBUTTON& b) { b.setPictureJustify(0); }, true},
        {"PictureOffset", [](bvlBUTTON& b) { b.setPictureOffset("(1,1)"); }, true},
        {"Transparency", [](bvlBUTTON& b) { b.setTransparency(RGB(1, 1, 1)); }, true},
        {"UseTransparency", [](bvlBUTTON& b) { b.setUseTransparency(false); }, true},
    };
    for (const SetterCase& c : cases) {
        bvlBUTTON b(nullptr, &messages);
        b.resize(100, 40);
        b.Refresh();
        std::vector<QString> changed;
        QObject::connect(&b, &bvlBUTTON::propertyChanged,
                         [&](const QString& n) { changed.push_back(n); });
        // A painted face marks where the paint starts; a repaint draws over it.
        const_cast<QImage&>(b.face().image()).fill(Qt::magenta);
        c.set(b);
        EXPECT_EQ(changed, std::vector<QString>{c.name}) << c.name;
        EXPECT_EQ(b.face().image().pixel(50, 20) != qRgb(255, 0, 255), c.repaints) << c.name;
    }
}

TEST_F(BevelProperties, OffsetsAreNormalisedOrKept) {
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    b->setBevelAutoAdjust(false);
    b->setBevelHeight(4);
    EXPECT_EQ(b->CaptionRect(), (DrawRect{4, 4, 95, 35}));

    std::vector<QString> changed;
    QObject::connect(b, &bvlBUTTON::propertyChanged,
                     [&](const QString& n) { changed.push_back(n); });
    b->setCaptionOffset(" ( 0 , 8 ) ");
    EXPECT_EQ(b->CaptionOffset(), "(0,8)");
    EXPECT_EQ(b->CaptionRect(), (DrawRect{4, 12, 95, 43}));
    EXPECT_EQ(changed, std::vector<QString>{"CaptionOffset"});

    b->setCaptionOffset("(,5)");
    EXPECT_EQ(b->CaptionOffset(), "(0,8)");
    EXPECT_EQ(b->CaptionRect(), (DrawRect{4, 12, 95, 43}));
    EXPECT_EQ(changed.size(), 1u);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Cartesian Co-ordinates Validation");

    b->setPictureOffset("-14");
    EXPECT_EQ(b->PictureOffset(), "(-14,0)");
    EXPECT_EQ(b->PictureRect(), (DrawRect{-10, 4, 81, 35}));
}

TEST_F(BevelProperties, BehaviourIsEightBits) {
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    EXPECT_FALSE(b->setBehaviour(256));
    EXPECT_FALSE(b->setBehaviour(-1));
    EXPECT_EQ(b->Behaviour(), 0);
    EXPECT_TRUE(b->setBehaviour(255));
    EXPECT_EQ(b->Behaviour(), 255);
}

TEST_F(BevelProperties, ComputedBevelHeightIsReadAndSaved) {
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    b->Refresh();
    EXPECT_EQ(b->BevelHeight(), 6);
    PropertyBag bag;
    b->WriteProperties(bag);
    EXPECT_EQ(bag.read("BevelHeight", std::int32_t{0}), 6);
}

TEST_F(BevelProperties, EnabledMarksTheState) {
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    b->setEnabled(false);
    EXPECT_EQ(b->ButtonState(), bvlBUTTON::StateDisabled);
    EXPECT_TRUE(b->isEnabled()); // the widget still takes its keys
    b->setEnabled(true);
    EXPECT_EQ(b->ButtonState(), 0);
}

} // namespace
