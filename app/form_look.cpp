#include "app/form_look.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPixmap>
#include <QStringList>

#include <algorithm>

QFont formFont(const QString& family, double pointSize, bool bold) {
    const bool display = family.startsWith(QLatin1String("PTron"));
    QStringList families{family};
    if (display)
        families << QStringLiteral("DejaVu Sans Condensed") << QStringLiteral("DejaVu Sans");
    else
        families << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    // Qt would settle on the first installed family of the list, but a missing one ahead of it
    // costs a sorted list of every font on the machine, and so does each further family named:
    // they become the font's stand-ins for characters it lacks. The one family chosen here
    // gets its stand-ins from the font configuration only if a character is ever missing.
    const QStringList installed = QFontDatabase::families();
    const auto chosen = std::find_if(families.cbegin(), families.cend(), [&](const QString& name) {
        return installed.contains(name, Qt::CaseInsensitive);
    });
    QFont font;
    font.setFamily(chosen == families.cend() ? family : *chosen);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // The display fonts are narrow; a stand-in of the same size would not fit their labels.
    if (display && chosen != families.cbegin())
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

QString labelStyleSheet(ColourRef text) {
    return QStringLiteral("color: %1; background: transparent;").arg(qColour(text).name());
}

QString frameStyleSheet(ColourRef text, ColourRef back) {
    return QStringLiteral(
               "QGroupBox { background: %2; border: 1px solid rgb(128,128,128); margin-top: 7px; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0; color: %1; }")
        .arg(qColour(text).name(), qColour(back).name());
}

QIcon formIcon(const QList<QImage>& sizes) {
    QIcon icon;
    for (const QImage& size : sizes)
        icon.addPixmap(QPixmap::fromImage(size));
    return icon;
}

void loadFormResources() {
    Q_INIT_RESOURCE(resources);
}
