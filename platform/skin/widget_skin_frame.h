#pragma once

#include "platform/skin/skin_caption_bar.h"
#include "platform/skin/skin_frame.h"
#include "platform/skin/skin_part.h"
#include "platform/skin/skin_renderer.h"

#include <QImage>
#include <QObject>
#include <QPointer>

#include <optional>

// The frame skin on Qt widgets. The window becomes frameless; four child widgets in its
// contents margins (the caption bar, the two sides and the bottom) each show their piece of the
// frame, drawn again only when the window's size, its activation or a pressed caption button
// changes. Moving the window draws nothing anew.
class WidgetSkinFrame final : public QObject, public SkinFrame {
public:
    WidgetSkinFrame() = default;
    ~WidgetSkinFrame() override;

    bool attach(QWidget& window, const SkinStyle& style) override;

    bool attached() const { return m_window != nullptr; }
    SkinCaptionBar* captionBar() const { return m_caption; }
    // The whole frame as it looks now, caption text aside.
    QImage framePicture() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeParts();
    void redraw();
    void showPressed(CaptionButton button);
    QImage drawPiece(const QRect& area) const;

    QPointer<QWidget> m_window;
    std::optional<SkinRenderer> m_renderer;
    CaptionButton m_pressed = CaptionButton::None;
    QPointer<SkinCaptionBar> m_caption;
    QPointer<SkinPart> m_left;
    QPointer<SkinPart> m_right;
    QPointer<SkinPart> m_bottom;
};
