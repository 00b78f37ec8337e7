// The button's outline, its prepared face images and picture strip, and painting a state.

#include "controls/bevel_button/bvl_button.h"

#include "common/rounding.h"
#include "controls/bevel_button/bevel_colours.h"
#include "controls/bevel_button/bevel_renderer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr ColourRef kWhite = 0xFFFFFF;
constexpr ColourRef kBlack = 0x000000;

bool holdsPicture(const DrawSurface& surface) {
    return !surface.image().isNull();
}

// A picture's pixel greyed for the disabled look: no saturation, 20 lighter (at most 240).
ColourRef greyed(ColourRef c) {
    HLSColour grey = RGBToHLS(c);
    grey.Saturation = 0;
    grey.Luminance = grey.Luminance < 220 ? static_cast<std::int16_t>(grey.Luminance + 20) : 240;
    return HLSToRGB(grey);
}

} // namespace

void bvlBUTTON::resizeEvent(QResizeEvent*) {
    HandleResize();
}

void bvlBUTTON::HandleResize() {
    if (m_resizing || m_terminated)
        return;
    m_resizing = true;

    int w = width();
    int h = height();
    bool shaped = true;
    switch (m_appearance) {
    case Rectangle:
        m_outline = DrawRegion::rectangle(0, 0, w + 1, h + 1);
        break;
    case Ellipse:
        w = h = std::max(w, h);
        resize(w, h); // the resize this sends returns at the guard
        m_outline = DrawRegion::ellipse(0, 0, w + 1, h + 1);
        break;
    case RoundedRectangle: {
        const int m = roundToInt(h < w ? h / 2.0 : w / 2.0);
        m_outline = DrawRegion::roundedRectangle(0, 0, w + 1, h + 1, m, m);
        break;
    }
    case Capsule: {
        const int m = std::min(w, h);
        m_outline = DrawRegion::roundedRectangle(0, 0, w + 1, h + 1, m, m);
        break;
    }
    default:
        shaped = false; // the window keeps the outline it has
    }
    // Pixels outside the outline belong to the form behind, clicks there too.
    if (shaped && !m_outline.isEmpty())
        setMask(m_outline.toQRegion());

    picRAISED.resize(w, h);
    picSUNKEN.resize(w, h);
    m_face.resize(w, h);
    RenderBevels();

    m_resizing = false;
}

void bvlBUTTON::RenderBevels() {
    if (m_loading)
        return;
    if (m_bevelAutoAdjust)
        m_bevelHeight = 0; // the renderer works it out
    RenderBevel(picRAISED, m_bevelHeight, m_backColour, m_appearance, false);
    RenderBevel(picSUNKEN, m_bevelHeight, m_backColour, m_appearance, true);
    BuildPictureStrip();
    PaintButton(true);
}

// picWORK holds, for the picture: its mask (white where transparent), the picture with
// transparent pixels black, the greyed picture and the greyed picture with transparent pixels
// black, side by side; below them the hover picture's mask and its copy with transparent
// pixels black.
void bvlBUTTON::BuildPictureStrip() {
    if (m_loading)
        return;
    LayoutContent();
    const bool picture = holdsPicture(picBASIC);
    const bool hover = holdsPicture(picHOVER);
    if (!picture && !hover)
        return;

    const int pw = m_picturePlace.Width;
    const int ph = m_picturePlace.Height;
    const int hw = m_hoverPlace.Width;
    const int hh = m_hoverPlace.Height;
    picWORK.resize(std::max(4 * pw, 2 * hw), ph + hh);
    picWORK.clear();
    const ColourRef key = TranslateColour(m_transparency);

    if (picture) {
        for (int cell = 0; cell < 4; ++cell)
            picWORK.bitBlt(cell * pw, 0, pw, ph, picBASIC, 0, 0);
        for (int y = 0; y < ph; ++y) {
            for (int x = 0; x < pw; ++x) {
                const ColourRef c = picBASIC.pixel(x, y);
                const ColourRef d = greyed(c);
                if (c == key) {
                    picWORK.setPixel(x, y, kWhite);
                    picWORK.setPixel(pw + x, y, kBlack);
                    picWORK.setPixel(3 * pw + x, y, kBlack);
                } else {
                    picWORK.setPixel(x, y, kBlack);
                    picWORK.setPixel(3 * pw + x, y, d);
                }
                picWORK.setPixel(2 * pw + x, y, d);
            }
        }
    }
    if (hover) {
        picWORK.bitBlt(0, ph, hw, hh, picHOVER, 0, 0);
        picWORK.bitBlt(hw, ph, hw, hh, picHOVER, 0, 0);
        for (int y = 0; y < hh; ++y) {
            for (int x = 0; x < hw; ++x) {
                if (picHOVER.pixel(x, y) == key) {
                    picWORK.setPixel(x, ph + y, kWhite);
                    picWORK.setPixel(hw + x, ph + y, kBlack);
                } else {
                    picWORK.setPixel(x, ph + y, kBlack);
                }
            }
        }
    }
}

void bvlBUTTON::LayoutContent() {
    const int bh = m_bevelHeight;
    const int sw = width();
    const int sh = height();
    m_captionRect = {bh + m_captionX, bh + m_captionY, sw - bh + m_captionX - 1,
                     sh - bh + m_captionY - 1};
    m_pictureRect = {bh + m_pictureX, bh + m_pictureY, sw - bh + m_pictureX - 1,
                     sh - bh + m_pictureY - 1};
    PlacePicture(picBASIC, m_picturePlace);
    PlacePicture(picHOVER, m_hoverPlace);
}

void bvlBUTTON::PlacePicture(const DrawSurface& surface, PicturePlacement& placement) {
    if (m_loading)
        return;
    if (!holdsPicture(surface)) {
        placement = {};
        return;
    }
    placement.Width = static_cast<std::int16_t>(surface.width());
    placement.Height = static_cast<std::int16_t>(surface.height());
    const DrawRect& r = m_pictureRect;
    // Floor, not truncation: a picture wider than the area sits left of centre alike.
    const auto centred = [](int from, int to, int size) {
        return static_cast<int>(std::floor((to - from - size) / 2.0)) + from;
    };
    switch (m_pictureJustify) {
    case TopLeft:
    case MiddleLeft:
    case BottomLeft:
        placement.X = r.left;
        break;
    case TopCentre:
    case MiddleCentre:
    case BottomCentre:
        placement.X = centred(r.left, r.right, placement.Width);
        break;
    case TopRight:
    case MiddleRight:
    case BottomRight:
        placement.X = r.right - placement.Width;
        break;
    default:
        break; // an unknown justification keeps the position
    }
    switch (m_pictureJustify) {
    case TopLeft:
    case TopCentre:
    case TopRight:
        placement.Y = r.top;
        break;
    case MiddleLeft:
    case MiddleCentre:
    case MiddleRight:
        placement.Y = centred(r.top, r.bottom, placement.Height);
        break;
    case BottomLeft:
    case BottomCentre:
    case BottomRight:
        placement.Y = r.bottom - placement.Height;
        break;
    default:
        break;
    }
}

void bvlBUTTON::PaintButton(bool force) {
    if (m_loading) {
        m_lastPaintedState = -1; // the first paint after loading always draws
        return;
    }
    if (m_buttonState == m_lastPaintedState && !force)
        return;
    const DrawSurface& faceImage = (m_buttonState & StateDown) ? picSUNKEN : picRAISED;
    m_face.bitBlt(0, 0, faceImage.width(), faceImage.height(), faceImage, 0, 0);
    DrawPicture();
    DrawCaption();
    m_lastPaintedState = m_buttonState;
}

void bvlBUTTON::DrawPicture() {
    // Pressed, the picture moves one pixel right and down.
    const int shift = (m_buttonState & StateDown) ? 1 : 0;
    const bool picture = holdsPicture(picBASIC);
    const bool hover = holdsPicture(picHOVER);
    const bool disabled = (m_buttonState & StateDisabled) != 0;
    const bool showHover = (m_buttonState & StateHover) && !disabled && hover;
    if (!showHover && !picture)
        return;

    if (showHover) {
        const PicturePlacement& p = m_hoverPlace;
        const int x = p.X + shift;
        const int y = p.Y + shift;
        const int row = m_picturePlace.Height;
        if (m_useTransparency) {
            m_face.bitBlt(x, y, p.Width, p.Height, picWORK, 0, row, RasterOp::SrcAnd);
            m_face.bitBlt(x, y, p.Width, p.Height, picWORK, p.Width, row, RasterOp::SrcPaint);
        } else {
            m_face.bitBlt(x, y, p.Width, p.Height, picHOVER, 0, 0);
        }
        return;
    }
    const PicturePlacement& p = m_picturePlace;
    const int x = p.X + shift;
    const int y = p.Y + shift;
    if (m_useTransparency) {
        m_face.bitBlt(x, y, p.Width, p.Height, picWORK, 0, 0, RasterOp::SrcAnd);
        m_face.bitBlt(x, y, p.Width, p.Height, picWORK, (disabled ? 3 : 1) * p.Width, 0,
                      RasterOp::SrcPaint);
    } else if (disabled) {
        m_face.bitBlt(x, y, p.Width, p.Height, picWORK, 2 * p.Width, 0);
    } else {
        m_face.bitBlt(x, y, p.Width, p.Height, picBASIC, 0, 0);
    }
}

void bvlBUTTON::DrawCaption() {
    // Single line, with the horizontal and vertical placement of CaptionJustify; an unknown
    // value draws at the top left and lets line breaks start new lines.
    static constexpr unsigned kFlags[] = {32, 33, 34, 36, 37, 38, 40, 41, 42};
    const unsigned flags = m_captionJustify >= 0 && m_captionJustify <= 8
                               ? kFlags[static_cast<std::size_t>(m_captionJustify)]
                               : 0u;

    ColourRef colour = 0;
    if (m_buttonState & StateDisabled) {
        // The face colour lightened by a fifth.
        HLSColour light = RGBToHLS(picRAISED.backColour());
        const double lum = 1.2 * light.Luminance;
        light.Luminance = lum < 240.0 ? static_cast<std::int16_t>(roundToInt(lum)) : 240;
        colour = HLSToRGB(light);
    } else {
        colour =
            TranslateColour((m_buttonState & StateHover) ? m_captionHoverColour : m_captionColour);
    }
    m_face.setTextColour(colour);
    m_face.setFont(font());

    DrawRect r = m_captionRect;
    if (m_buttonState & StateDown) { // pressed, the caption moves one pixel right and down
        ++r.left;
        ++r.top;
        ++r.right;
        ++r.bottom;
    }
    m_face.drawText(m_caption, r, flags);
    update();
}

void bvlBUTTON::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (m_face.image().isNull()) {
        painter.fillRect(event->rect(), QColor(toQRgb(m_backColour)));
        return;
    }
    painter.drawImage(event->rect().topLeft(), m_face.image(), event->rect());
}
