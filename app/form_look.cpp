#include "app/form_look.h"

#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QStringList>

QFont formFont(const QString& family, double pointSize, bool bold) {
    const bool display = family.startsWith(QLatin1String("PTron"));
    QStringList families{family};
    if (display)
        families << QStringLiteral("DejaVu Sans Condensed") << QStringLiteral("DejaVu Sans");
    else
        families << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    // Qt settles on the first installed family of the list either way, but a missing one ahead
    // of it first costs a sorted list of every font on the machine.
    const QStringList installed = QFontDatabase::families();
    QStringList present;
    for (const QString& name : families) {
        if (installed.contains(name, Qt::CaseInsensitive))
            present << name;
    }
    QFont font;
    font.setFamilies(present.isEmpty() ? families : present);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // The display fonts are narrow; a stand-in of the same size would not fit their labels.
    if (display && !present.contains(family))
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

QIcon formIcon() {
    QIcon icon;
    const QDir sizes(QStringLiteral(":/appicon"));
    // Each picture is named for its size ("16x16.png").
    for (const QString& name : sizes.entryList(QDir::Files)) {
        const int size = name.section(QLatin1Char('x'), 0, 0).toInt();
        icon.addFile(sizes.filePath(name), QSize(size, size));
    }
    return icon;
}

void loadFormResources() {
    Q_INIT_RESOURCE(resources);
}
