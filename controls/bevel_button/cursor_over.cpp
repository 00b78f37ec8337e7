#include "controls/bevel_button/cursor_over.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

bool IsCursorOver(const QWidget* window) {
    return window && QApplication::widgetAt(QCursor::pos()) == window;
}

bool IsPointOver(const QWidget* window, const QPoint& local) {
    if (!window)
        return false;
    const QWidget* top = window->window();
    const QPoint at = window->mapTo(top, local);
    if (!top->rect().contains(at) || (!top->mask().isEmpty() && !top->mask().contains(at)))
        return false;
    const QWidget* child = top->childAt(at);
    return (child ? child : top) == window;
}
