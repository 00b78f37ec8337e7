#include "platform/skin/widget_skin_frame.h"

#include "platform/skin/skin_caption_bar.h"

#include <QEvent>

WidgetSkinFrame::~WidgetSkinFrame() {
    // The parts draw through this object, so they go first.
    delete m_caption;
    delete m_left;
    delete m_right;
    delete m_bottom;
    if (m_window)
        m_window->removeEventFilter(this);
}

bool WidgetSkinFrame::attach(QWidget& window, const SkinStyle& style) {
    if (m_window || style.captionPicture.isNull() || style.framePicture.isNull())
        return false;
    const SkinNumbers numbers{style.buttonWidth,     style.buttonHeight,
                              style.captionLeftEnd,  style.captionMiddleEnd,
                              style.captionRightEnd, style.inactiveCaptionLeft};
    const std::optional<SkinLayout> layout =
        SkinLayout::make(numbers, style.captionPicture.size(), style.framePicture.size());
    if (!layout)
        return false;

    m_window = &window;
    m_renderer.emplace(style, *layout);
    // No hint of the desktop's buttons: with them Qt would put the desktop's frame back.
    window.setWindowFlags(window.windowType() | Qt::FramelessWindowHint);
    window.setContentsMargins(window.contentsMargins() + layout->margins());
    const auto draw = [this](const QRect& area) { return drawPiece(area); };
    m_caption = new SkinCaptionBar(window, draw, style, *layout,
                                   [this](CaptionButton b) { showPressed(b); });
    m_left = new SkinPart(window, draw);
    m_right = new SkinPart(window, draw);
    m_bottom = new SkinPart(window, draw);
    window.installEventFilter(this);
    placeParts();
    return true;
}

bool WidgetSkinFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Show:
            placeParts();
            break;
        case QEvent::ActivationChange:
            redraw();
            break;
        case QEvent::WindowTitleChange:
            if (m_caption)
                m_caption->update();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void WidgetSkinFrame::placeParts() {
    if (!m_window || !m_caption || !m_left || !m_right || !m_bottom)
        return;
    const SkinLayout& layout = m_renderer->layout();
    const int w = m_window->width();
    const int h = m_window->height();
    const int b = layout.border();
    const int ch = layout.captionHeight();
    m_caption->setGeometry(0, 0, w, ch);
    m_left->setGeometry(0, ch, b, h - ch - b);
    m_right->setGeometry(w - b, ch, b, h - ch - b);
    m_bottom->setGeometry(0, h - b, w, b);
}

void WidgetSkinFrame::redraw() {
    for (SkinPart* part : {static_cast<SkinPart*>(m_caption), static_cast<SkinPart*>(m_left),
                           static_cast<SkinPart*>(m_right), static_cast<SkinPart*>(m_bottom)}) {
        if (part)
            part->redraw();
    }
}

QImage WidgetSkinFrame::drawPiece(const QRect& area) const {
    return m_renderer->render(area, m_window->size(), m_window->isActiveWindow(), m_pressed);
}

QImage WidgetSkinFrame::framePicture() const {
    if (!m_window)
        return QImage();
    return drawPiece(m_window->rect());
}

void WidgetSkinFrame::showPressed(CaptionButton button) {
    m_pressed = button;
    redraw();
}
