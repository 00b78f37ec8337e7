#include "app/form_background.h"

#include "app/form_look.h"
#include "recorder/status_word.h"

#include <QPainter>

#include <utility>

namespace {

struct Panel {
    QRect box;
    std::uint32_t fill;
    std::uint32_t border;
    bool rounded;
};

const Panel kPanels[] = {
    {twipsRect(600, 585, 1320, 2505), Colour::RGB(165, 174, 157), Colour::RGB(0, 0, 0), true},
    {twipsRect(2355, 645, 2565, 855), Colour::RGB(80, 106, 146), Colour::RGB(193, 208, 242), true},
    {twipsRect(2355, 1590, 2565, 945), Colour::RGB(70, 85, 94), Colour::RGB(193, 208, 242), true},
    {twipsRect(2370, 2610, 2520, 315), Colour::RGB(126, 142, 197), Colour::RGB(193, 208, 242),
     true},
    {twipsRect(5565, 2535, 3120, 1215), Colour::RGB(80, 106, 146), Colour::RGB(0, 0, 0), true},
    {twipsRect(795, 2520, 930, 345), Colour::RGB(62, 101, 52), Colour::RGB(224, 224, 224), false},
};

} // namespace

FormBackground::FormBackground(QWidget* parent, QImage picture)
    : QWidget(parent), m_picture(std::move(picture)) {
    setAutoFillBackground(false);
}

void FormBackground::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), qColour(Colour::RGB(192, 192, 192)));
    p.drawImage(0, 0, m_picture);
    for (const Panel& panel : kPanels) {
        p.setBrush(qColour(panel.fill));
        p.setPen(qColour(panel.border));
        // The outline sits inside the box, as the panel's own border does.
        const QRectF box = QRectF(panel.box).adjusted(0.5, 0.5, -0.5, -0.5);
        if (panel.rounded) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.drawRoundedRect(box, 8, 8);
            p.setRenderHint(QPainter::Antialiasing, false);
        } else {
            p.drawRect(box);
        }
    }
}
