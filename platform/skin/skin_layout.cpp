#include "platform/skin/skin_layout.h"

namespace {

// Cells of the four caption buttons, in the order the caption picture holds them.
enum ButtonCell { CloseCell = 0, RestoreCell = 1, MaximiseCell = 2, MinimiseCell = 3 };
constexpr int kFramePiecesPerRow = 7;

} // namespace

std::optional<SkinLayout> SkinLayout::make(const SkinNumbers& n, QSize captionPicture,
                                           QSize framePicture) {
    const bool ordered = n.buttonWidth > 0 && n.buttonHeight > 0 && n.captionLeftEnd > 0 &&
                         n.captionLeftEnd < n.captionMiddleEnd &&
                         n.captionMiddleEnd < n.captionRightEnd &&
                         n.captionRightEnd + 4 * n.buttonWidth <= n.inactiveCaptionLeft;
    if (!ordered)
        return std::nullopt;
    const int border = framePicture.height() / 2;
    const bool frameFits = border > 0 && framePicture.height() == 2 * border &&
                           framePicture.width() == 2 * kFramePiecesPerRow * border;
    const int captionHeight = n.buttonHeight + 2 * kButtonGap;
    // The inactive caption bar is as wide as the active one and ends the picture.
    const bool captionFits = captionPicture.width() == n.inactiveCaptionLeft + n.captionRightEnd &&
                             captionPicture.height() >= captionHeight &&
                             captionPicture.height() >= 2 * n.buttonHeight;
    if (!frameFits || !captionFits)
        return std::nullopt;
    return SkinLayout(n, border);
}

QRect SkinLayout::closeButton(int windowWidth) const {
    return QRect(windowWidth - m_border - kButtonGap - m_n.buttonWidth, kButtonGap, m_n.buttonWidth,
                 m_n.buttonHeight);
}

QRect SkinLayout::minimiseButton(int windowWidth) const {
    return closeButton(windowWidth).translated(-(m_n.buttonWidth + kButtonGap), 0);
}

CaptionButton SkinLayout::buttonAt(QPoint pos, int windowWidth) const {
    if (closeButton(windowWidth).contains(pos))
        return CaptionButton::Close;
    if (minimiseButton(windowWidth).contains(pos))
        return CaptionButton::Minimise;
    return CaptionButton::None;
}

QRect SkinLayout::captionSource(CaptionPart part, bool active) const {
    const int origin = active ? 0 : m_n.inactiveCaptionLeft;
    int left = 0;
    int right = m_n.captionLeftEnd;
    if (part == CaptionPart::Middle) {
        left = m_n.captionLeftEnd;
        right = m_n.captionMiddleEnd;
    } else if (part == CaptionPart::Right) {
        left = m_n.captionMiddleEnd;
        right = m_n.captionRightEnd;
    }
    return QRect(origin + left, 0, right - left, captionHeight());
}

QRect SkinLayout::buttonSource(CaptionButton button, bool pressed) const {
    const int cell = button == CaptionButton::Minimise ? MinimiseCell : CloseCell;
    return QRect(m_n.captionRightEnd + cell * m_n.buttonWidth, pressed ? m_n.buttonHeight : 0,
                 m_n.buttonWidth, m_n.buttonHeight);
}

QRect SkinLayout::frameSource(FramePiece piece, bool active) const {
    const int b = m_border;
    const int origin = active ? 0 : kFramePiecesPerRow * b;
    switch (piece) {
    case FramePiece::LeftSide:
        return QRect(origin, 0, b, b);
    case FramePiece::RightSide:
        return QRect(origin + (kFramePiecesPerRow - 1) * b, 0, b, b);
    case FramePiece::BottomLeft:
        return QRect(origin, b, b, b);
    case FramePiece::Bottom:
        return QRect(origin + b, b, (kFramePiecesPerRow - 2) * b, b);
    case FramePiece::BottomRight:
        return QRect(origin + (kFramePiecesPerRow - 1) * b, b, b, b);
    }
    return {};
}
