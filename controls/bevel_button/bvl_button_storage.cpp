// The button's stored values: a new instance's defaults, and reading and writing the bag.

#include "controls/bevel_button/bvl_button.h"

#include "controls/bevel_button/cartesian.h"
#include "controls/stored_values.h"

#include <QApplication>

namespace {

constexpr std::int32_t kAppearance = bvlBUTTON::RoundedRectangle;
constexpr ColourRef kBackColour = Colour::systemRef(Colour::kSysButtonFace);
constexpr std::int32_t kBehaviour = bvlBUTTON::Command;
constexpr bool kBevelAutoAdjust = true;
constexpr std::int32_t kBevelHeight = 0;
constexpr std::int32_t kJustify = bvlBUTTON::MiddleCentre;
constexpr ColourRef kCaptionColour = Colour::systemRef(Colour::kSysWindowText);
constexpr ColourRef kCaptionHoverColour = Colour::systemRef(Colour::kSysHighlightText);
constexpr const char* kOffset = "(0,0)";
constexpr bool kEnabled = true;
constexpr std::int32_t kMouseKeys = bvlBUTTON::MouseLeft;
constexpr ColourRef kTransparency = 0x00C0C0C0u; // silver
constexpr bool kUseTransparency = true;
constexpr bool kValue = false;
constexpr std::int32_t kMousePointer = 0;

// The font the button has unless one is stored: its container's.
QFont ambientFont(const QWidget& control) {
    return control.parentWidget() ? control.parentWidget()->font() : QApplication::font();
}

// A stored picture keeps the form it was stored in; one set from code is embedded.
PictureValue storedPicture(const PictureValue& source, const QImage& image) {
    return source.isNone() ? toPictureValue(image) : source;
}

} // namespace

void bvlBUTTON::InitProperties() {
    m_appearance = kAppearance;
    m_backColour = kBackColour;
    m_behaviour = static_cast<std::uint8_t>(kBehaviour);
    m_bevelAutoAdjust = kBevelAutoAdjust;
    m_bevelHeight = kBevelHeight;
    m_caption = objectName();
    m_captionJustify = kJustify;
    m_captionColour = kCaptionColour;
    m_captionHoverColour = kCaptionHoverColour;
    m_captionOffset = kOffset;
    m_captionX = m_captionY = 0;
    m_enabled = kEnabled;
    m_mouseKeys = kMouseKeys;
    m_pictureJustify = kJustify;
    m_pictureOffset = kOffset;
    m_pictureX = m_pictureY = 0;
    m_transparency = kTransparency;
    m_useTransparency = kUseTransparency;
    m_value = kValue;
    m_buttonState = 0;
}

void bvlBUTTON::ReadProperties(const PropertyBag& bag) {
    // Nothing is rendered or painted until every value is in.
    m_loading = true;

    m_accessKeys = QString::fromStdString(bag.read("AccessKeys", ""));
    ApplyAccessKeys();
    m_appearance = bag.read("Appearance", kAppearance);
    m_backColour = bag.read("BackColour", kBackColour);
    // Behaviour is 8 bits; a stored value that does not fit keeps the default.
    const std::int32_t behaviour = bag.read("Behaviour", kBehaviour);
    m_behaviour =
        static_cast<std::uint8_t>(behaviour >= 0 && behaviour <= 255 ? behaviour : kBehaviour);
    m_bevelAutoAdjust = bag.read("BevelAutoAdjust", kBevelAutoAdjust);
    const std::int32_t bevelHeight = bag.read("BevelHeight", kBevelHeight);
    m_bevelHeight = static_cast<std::int16_t>(
        bevelHeight >= -32768 && bevelHeight <= 32767 ? bevelHeight : kBevelHeight);
    m_caption = QString::fromStdString(bag.read("Caption", objectName().toStdString()));
    m_captionJustify = bag.read("CaptionJustify", kJustify);
    m_captionColour = bag.read("CaptionColour", kCaptionColour);
    m_captionHoverColour = bag.read("CaptionHoverColour", kCaptionHoverColour);
    m_captionOffset = bag.read("CaptionOffset", kOffset);
    m_enabled = bag.read("Enabled", kEnabled);
    if (m_enabled)
        m_buttonState &= ~StateDisabled;
    else
        m_buttonState |= StateDisabled;
    const QFont ambient = ambientFont(*this);
    setFont(toQFont(bag.read("Font", toFontValue(ambient)), ambient));
    m_mouseKeys = bag.read("MouseKeys", kMouseKeys);
    const PictureValue picture = bag.read("Picture", PictureValue{});
    setPicture(toImage(picture));
    m_pictureSource = Picture().isNull() ? PictureValue{} : picture;
    m_pictureJustify = bag.read("PictureJustify", kJustify);
    const PictureValue hover = bag.read("PictureHover", PictureValue{});
    setPictureHover(toImage(hover));
    m_hoverSource = PictureHover().isNull() ? PictureValue{} : hover;
    m_pictureOffset = bag.read("PictureOffset", kOffset);
    m_transparency = bag.read("Transparency", kTransparency);
    m_useTransparency = bag.read("UseTransparency", kUseTransparency);
    m_value = bag.read("Value", kValue);
    const PictureValue icon = bag.read("MouseIcon", PictureValue{});
    setMouseIcon(toImage(icon));
    m_mouseIconSource = m_mouseIcon.isNull() ? PictureValue{} : icon;
    const std::int32_t pointer = bag.read("MousePointer", kMousePointer);
    m_mousePointer = static_cast<std::int16_t>(pointer >= -32768 && pointer <= 32767 ? pointer : 0);
    ApplyMousePointer();

    // A stored offset that fails shows its message now; the numbers then stay 0 (or x takes
    // its value where only y failed).
    m_captionX = m_captionY = 0;
    ParseCartesian(m_captionOffset, m_captionX, m_captionY, m_messages);
    m_pictureX = m_pictureY = 0;
    ParseCartesian(m_pictureOffset, m_pictureX, m_pictureY, m_messages);

    m_loading = false;
    if ((m_behaviour == Check || m_behaviour == Option) && m_value) {
        m_buttonState |= StateDown;
        PaintButton(false);
    }
    // The host's first resize shapes, renders and paints the button; a button already on
    // screen gets no further resize, so it is shaped here.
    if (!testAttribute(Qt::WA_PendingResizeEvent))
        HandleResize();
}

void bvlBUTTON::WriteProperties(PropertyBag& bag) const {
    bag.write("AccessKeys", m_accessKeys.toStdString(), std::string());
    bag.write("Appearance", m_appearance, kAppearance);
    bag.write("BackColour", m_backColour, kBackColour);
    bag.write("Behaviour", std::int32_t{m_behaviour}, kBehaviour);
    bag.write("BevelAutoAdjust", m_bevelAutoAdjust, kBevelAutoAdjust);
    bag.write("BevelHeight", std::int32_t{m_bevelHeight}, kBevelHeight);
    bag.write("Caption", m_caption.toStdString(), objectName().toStdString());
    bag.write("CaptionJustify", m_captionJustify, kJustify);
    bag.write("CaptionColour", m_captionColour, kCaptionColour);
    bag.write("CaptionHoverColour", m_captionHoverColour, kCaptionHoverColour);
    bag.write("CaptionOffset", m_captionOffset, std::string(kOffset));
    bag.write("Enabled", m_enabled, kEnabled);
    bag.write("Font", toFontValue(font()), toFontValue(ambientFont(*this)));
    bag.write("MouseKeys", m_mouseKeys, kMouseKeys);
    bag.write("Picture", storedPicture(m_pictureSource, Picture()), PictureValue{});
    bag.write("PictureJustify", m_pictureJustify, kJustify);
    bag.write("PictureHover", storedPicture(m_hoverSource, PictureHover()), PictureValue{});
    bag.write("PictureOffset", m_pictureOffset, std::string(kOffset));
    bag.write("Transparency", m_transparency, kTransparency);
    bag.write("UseTransparency", m_useTransparency, kUseTransparency);
    bag.write("Value", m_value, kValue);
    bag.write("MouseIcon", storedPicture(m_mouseIconSource, m_mouseIcon), PictureValue{});
    bag.write("MousePointer", std::int32_t{m_mousePointer}, kMousePointer);
}
