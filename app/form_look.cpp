#include "app/form_look.h"

#include <QFontInfo>
#include <QLabel>
#include <QStringList>

QFont formFont(const QString& family, double pointSize, bool bold) {
    const bool display = family.startsWith(QLatin1String("PTron"));
    QStringList families{family};
    if (display)
        families << QStringLiteral("DejaVu Sans Condensed") << QStringLiteral("DejaVu Sans");
    else
        families << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // The display fonts are narrow; a stand-in of the same size would not fit their labels.
    if (display && QFontInfo(font).family() != family)
        font.setPointSizeF(pointSize * 0.8);
    return font;
}

void fitToText(QLabel* label, Anchor anchor) {
    const QRect old = label->geometry();
    const QSize size = label->sizeHint();
    QRect box(old.topLeft(), size);
    if (anchor == Anchor::Right)
        box.moveRight(old.right());
    else if (anchor == Anchor::Centre)
        box.moveCenter(QPoint(old.center().x(), box.center().y()));
    label->setGeometry(box);
}
