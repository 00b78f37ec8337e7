#include "help/engine/text_popup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QColor toQColor(ColourRef c) {
    const ColourRef plain = Colour::translate(c);
    return QColor(Colour::red(plain), Colour::green(plain), Colour::blue(plain));
}

} // namespace

TextPopup::TextPopup(const QString& text, const Look& look, QPoint at, QWidget* parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    setLineWidth(1);

    // Colours the caller leaves open, and a text that would vanish in its background, take
    // the desktop's tool-tip colours.
    QPalette p = palette();
    QColor fore = p.color(QPalette::ToolTipText);
    QColor back = p.color(QPalette::ToolTipBase);
    if (look.text != kDefault && look.back != kDefault &&
        toQColor(look.text) != toQColor(look.back)) {
        fore = toQColor(look.text);
        back = toQColor(look.back);
    } else if (look.text != kDefault && look.back == kDefault && toQColor(look.text) != back) {
        fore = toQColor(look.text);
    } else if (look.back != kDefault && look.text == kDefault && toQColor(look.back) != fore) {
        back = toQColor(look.back);
    }
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, fore);
    setPalette(p);
    setAutoFillBackground(true);

    m_label = new QLabel(text, this);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setFont(look.font);
    m_label->setPalette(p);
    const auto margin = [](int m) { return m < 0 ? 8 : std::min(m, 100); };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin(look.left), margin(look.top), margin(look.right),
                               margin(look.bottom));
    layout->addWidget(m_label);
    m_label->setMaximumWidth(360);
    adjustSize();

    // At the point, kept on its screen.
    QRect box(at, size());
    if (const QScreen* screen = QGuiApplication::screenAt(at)) {
        const QRect area = screen->availableGeometry();
        if (box.right() > area.right())
            box.moveRight(area.right());
        if (box.bottom() > area.bottom())
            box.moveBottom(area.bottom());
        box.moveLeft(std::max(box.left(), area.left()));
        box.moveTop(std::max(box.top(), area.top()));
    }
    move(box.topLeft());
}

QString TextPopup::text() const {
    return m_label->text();
}

QColor TextPopup::textColour() const {
    return palette().color(QPalette::WindowText);
}

QColor TextPopup::backColour() const {
    return palette().color(QPalette::Window);
}

void TextPopup::mousePressEvent(QMouseEvent*) {
    close();
}

void TextPopup::keyPressEvent(QKeyEvent*) {
    close();
}
