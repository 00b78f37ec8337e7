#include "bevel_button_fixture.h"

#include "controls/bevel_button/bevel_button_keys.h"
#include "platform/forms/form_file.h"

#include <QTemporaryDir>

namespace {

using Colour::RGB;

class BevelStorage : public BevelForm {};

QImage pictureOf(QRgb colour) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST_F(BevelStorage, EveryKeyInItsOrderAndBackAgain) {
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    b->setAccessKeys("r");
    b->setAppearance(bvlBUTTON::Capsule);
    b->setBackColour(RGB(199, 190, 129));
    b->setBehaviour(bvlBUTTON::Check);
    b->setBevelAutoAdjust(false);
    b->setBevelHeight(5);
    b->setCaption("RECORD");
    b->setCaptionJustify(bvlBUTTON::BottomRight);
    b->setCaptionColour(RGB(128, 64, 0));
    b->setCaptionHoverColour(RGB(1, 2, 3));
    b->setCaptionOffset("(0,8)");
    b->setEnabled(false);
    b->setFont(QFont("DejaVu Sans", 14));
    b->setMouseKeys(3);
    b->setPicture(pictureOf(qRgb(255, 0, 0)));
    b->setPictureJustify(bvlBUTTON::TopLeft);
    b->setPictureHover(pictureOf(qRgb(0, 255, 0)));
    b->setPictureOffset("(0,-10)");
    b->setTransparency(RGB(255, 255, 255));
    b->setUseTransparency(false);
    b->setValue(true);
    b->setMouseIcon(pictureOf(qRgb(0, 0, 255)));
    b->setMousePointer(99);

    PropertyBag bag;
    b->WriteProperties(bag);
    std::vector<std::string> keys;
    for (const auto& [key, value] : bag.entries())
        keys.push_back(key);
    // The stored form's key list is the same, in the same order, with the same types.
    ASSERT_EQ(kBevelButtonFormType.keys.size(), bag.size());
    for (std::size_t i = 0; i < bag.size(); ++i) {
        EXPECT_EQ(kBevelButtonFormType.keys[i].key, keys[i]);
        EXPECT_EQ(kBevelButtonFormType.keys[i].type, typeOf(bag.entries()[i].second)) << keys[i];
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"accesskeys",
                                              "appearance",
                                              "backcolour",
                                              "behaviour",
                                              "bevelautoadjust",
                                              "bevelheight",
                                              "caption",
                                              "captionjustify",
                                              "captioncolour",
                                              "captionhovercolour",
                                              "captionoffset",
                                              "enabled",
                                              "font",
                                              "mousekeys",
                                              "picture",
                                              "picturejustify",
                                              "picturehover",
                                              "pictureoffset",
                                              "transparency",
                                              "usetransparency",
                                              "value",
                                              "mouseicon",
                                              "mousepointer"}));

    // Through the form file, as the program stores it.
    const std::string text = writeFormFile({{"b", "Sorvinta.bvlBUTTON", 0, bag}});
    const FormType types[] = {kBevelButtonFormType};
    const FormFile form = parseFormFile(text, "test.form", types);
    EXPECT_TRUE(form.diagnostics.empty());
    ASSERT_EQ(form.instances.size(), 1u);

    bvlBUTTON* copy = add("b", QRect(0, 0, 100, 40));
    take();
    copy->ReadProperties(form.instances[0].bag);
    PropertyBag again;
    copy->WriteProperties(again);
    EXPECT_EQ(again, bag);
    copy->Refresh();
    b->Refresh();
    EXPECT_EQ(copy->CaptionRect(), b->CaptionRect());
    // A set Check button loads pressed, and disabled, without a click.
    EXPECT_EQ(copy->ButtonState(), bvlBUTTON::StateDown | bvlBUTTON::StateDisabled);
    EXPECT_TRUE(take().empty());
}

TEST_F(BevelStorage, SetOptionButtonLoadsPressedWithoutClick) {
    PropertyBag bag;
    bag.set("behaviour", std::int32_t{2});
    bag.set("value", true);
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    show();
    take();
    b->ReadProperties(bag);
    EXPECT_EQ(b->ButtonState(), bvlBUTTON::StateDown);
    EXPECT_EQ(b->LastPaintedState(), bvlBUTTON::StateDown);
    EXPECT_EQ(b->face().pixel(50, 39), b->sunkenFace().pixel(50, 39));
    EXPECT_TRUE(take().empty());
}

TEST_F(BevelStorage, LoadingDrawsNothingUntilTheFirstResize) {
    PropertyBag bag;
    bag.set("backcolour", ColourRef{RGB(10, 20, 30)});
    bag.set("enabled", false);
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40)); // not shown: its resize is still to come
    b->ReadProperties(bag);
    EXPECT_EQ(b->LastPaintedState(), -1);
    EXPECT_EQ(b->raisedFace().width(), 0);
    show(); // the first resize shapes, renders and paints
    EXPECT_EQ(b->LastPaintedState(), bvlBUTTON::StateDisabled);
    EXPECT_EQ(b->face().pixel(15, 20), RGB(10, 20, 30));
}

TEST_F(BevelStorage, StoredOffsetThatFailsIsShownAtLoad) {
    PropertyBag bag;
    bag.set("captionoffset", std::string("(,3)"));
    bag.set("pictureoffset", std::string("(4,99999)"));
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    b->ReadProperties(bag);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(b->CaptionOffset(), "(,3)");
    b->Refresh();
    const int bh = b->BevelHeight();
    EXPECT_EQ(b->CaptionRect().top, bh);      // y stays 0
    EXPECT_EQ(b->PictureRect().left, bh + 4); // x took its value, y failed
    EXPECT_EQ(b->PictureRect().top, bh);
}

// A stored number that does not fit its property's type is not cut down to fit: the property
// keeps its default, and saving again stores nothing for it.
TEST_F(BevelStorage, OutOfRangeStoredValuesKeepTheirDefaults) {
    struct Case {
        const char* key;
        std::int32_t stored;
    };
    for (const Case c :
         {Case{"behaviour", 256}, Case{"behaviour", -1}, Case{"behaviour", 258},
          Case{"bevelheight", 32768}, Case{"bevelheight", -32769}, Case{"bevelheight", 65541},
          Case{"mousepointer", 65536}, Case{"mousepointer", -40000}}) {
        PropertyBag bag;
        bag.set("bevelautoadjust", false); // BevelHeight as stored, not as computed
        bag.set(c.key, c.stored);
        bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
        b->ReadProperties(bag);
        EXPECT_EQ(b->Behaviour(), bvlBUTTON::Command) << c.key << " " << c.stored;
        EXPECT_EQ(b->MousePointer(), 0) << c.key << " " << c.stored;
        EXPECT_EQ(b->BevelHeight(), 0) << c.key << " " << c.stored;
        PropertyBag saved;
        b->WriteProperties(saved);
        EXPECT_EQ(saved.size(), 1u) << c.key << " " << c.stored; // bevelautoadjust alone
        delete b;
    }
}

TEST_F(BevelStorage, StoredPictureKeepsItsPath) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("dot.png").toStdString();
    ASSERT_TRUE(pictureOf(qRgb(220, 30, 30)).save(QString::fromStdString(path)));
    PropertyBag bag;
    bag.set("picture", PictureValue{path});
    bvlBUTTON* b = add("b", QRect(0, 0, 100, 40));
    b->ReadProperties(bag);
    EXPECT_EQ(b->Picture().size(), QSize(16, 16));
    PropertyBag saved;
    b->WriteProperties(saved);
    EXPECT_EQ(saved.read("picture", PictureValue{}).source, path);
}

} // namespace
