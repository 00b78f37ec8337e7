#include "help/engine/popup_font.h"

#include <QApplication>
#include <QStringList>

QFont popupFont(const QString& description) {
    QFont font = QApplication::font();
    font.setPointSizeF(10);
    const QStringList parts = description.split(QLatin1Char(','));
    if (!parts.isEmpty() && !parts[0].trimmed().isEmpty())
        font.setFamilies({parts[0].trimmed()});
    if (parts.size() > 1) {
        bool ok = false;
        const double points = parts[1].trimmed().toDouble(&ok);
        if (ok && points >= 4 && points <= 96)
            font.setPointSizeF(points);
    }
    if (parts.size() > 3) {
        const QStringList styles =
            parts.mid(3).join(QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& style : styles) {
            if (style.compare(QLatin1String("bold"), Qt::CaseInsensitive) == 0)
                font.setBold(true);
            else if (style.compare(QLatin1String("italic"), Qt::CaseInsensitive) == 0)
                font.setItalic(true);
            else if (style.compare(QLatin1String("underline"), Qt::CaseInsensitive) == 0)
                font.setUnderline(true);
        }
    }
    return font;
}
