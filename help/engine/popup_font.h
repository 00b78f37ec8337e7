#pragma once

#include <QFont>
#include <QString>

// The font of a text popup from its description "face, points, charset, styles", such as
// "Arial, 10, ascii, Bold Italic Underline". Missing or unreadable parts keep the defaults
// (the application's face, 10 points, no styles); the charset is not needed.
QFont popupFont(const QString& description);
