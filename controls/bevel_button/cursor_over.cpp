#include "controls/bevel_button/cursor_over.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

bool IsCursorOver(const QWidget* window) {
    return window && QApplication::widgetAt(QCursor::pos()) == window;
}
