#include "app/font_substitutes.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutes() {
    // The buttons' and the text box's 8.25 pt sans: Liberation Sans (fonts-liberation2) keeps
    // the widths of the sans the layout was made with, so captions fit their buttons alike.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}
