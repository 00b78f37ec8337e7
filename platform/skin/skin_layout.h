#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// The caption buttons the skin shows; the window has no maximise.
enum class CaptionButton { None, Close, Minimise };

// The six numbers of a skin style.
struct SkinNumbers {
    int buttonWidth = 0;
    int buttonHeight = 0;
    int captionLeftEnd = 0;
    int captionMiddleEnd = 0;
    int captionRightEnd = 0;
    int inactiveCaptionLeft = 0;
};

enum class CaptionPart { Left, Middle, Right };
enum class FramePiece { LeftSide, RightSide, BottomLeft, Bottom, BottomRight };

// Where each piece of the skin's pictures lies and where it goes on a window.
//
// The caption bar is as high as a caption button plus two pixels above and below it. The frame
// is as wide as half the frame picture's height: that picture holds, per look, a row of
// side pieces above a row of bottom pieces, each piece square, seven pieces wide (left side,
// five cells of bottom edge, right side).
class SkinLayout {
public:
    // Nothing when a piece would fall outside its picture or the numbers contradict each other.
    static std::optional<SkinLayout> make(const SkinNumbers& numbers, QSize captionPicture,
                                          QSize framePicture);

    int captionHeight() const { return m_n.buttonHeight + 2 * kButtonGap; }
    int border() const { return m_border; }
    // The frame around the window's contents.
    QMargins margins() const { return {m_border, captionHeight(), m_border, m_border}; }

    // On a window `windowWidth` wide, in window co-ordinates.
    QRect closeButton(int windowWidth) const;
    QRect minimiseButton(int windowWidth) const;
    CaptionButton buttonAt(QPoint pos, int windowWidth) const;
    // The caption text starts after the frame and a square as high as the caption bar, where
    // the caption picture carries the program's emblem.
    int captionTextLeft() const { return m_border + captionHeight(); }

    // In the pictures.
    QRect captionSource(CaptionPart part, bool active) const;
    QRect buttonSource(CaptionButton button, bool pressed) const;
    QRect frameSource(FramePiece piece, bool active) const;

private:
    static constexpr int kButtonGap = 2;
    explicit SkinLayout(const SkinNumbers& numbers, int border) : m_n(numbers), m_border(border) {}

    SkinNumbers m_n;
    int m_border;
};
