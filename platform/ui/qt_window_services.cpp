#include "platform/ui/qt_window_services.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWhatsThis>
#include <QWidget>

ScreenPoint QtWindowServices::cursorPos() const {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

QWidget* QtWindowServices::findWindow(WindowHandle window) {
    if (window == 0)
        return nullptr;
    // Compared by value rather than with QWidget::find, which would create native ids for
    // every widget it walks past.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->internalWinId() != 0 && static_cast<WindowHandle>(w->internalWinId()) == window)
            return w;
    }
    return nullptr;
}

void QtWindowServices::deleteMenuCommand(WindowHandle window, std::uint32_t command) {
    QWidget* w = findWindow(window);
    if (!w)
        return;
    const QList<QAction*> actions = w->findChildren<QAction*>();
    for (QAction* action : actions) {
        const QVariant id = action->property(kMenuCommandProperty);
        if (!id.isValid() || id.toUInt() != command)
            continue;
        for (QObject* user : action->associatedObjects()) {
            if (auto* menu = qobject_cast<QWidget*>(user))
                menu->removeAction(action);
        }
        action->deleteLater();
    }
}

void QtWindowServices::enterContextHelp(WindowHandle window) {
    QWidget* w = findWindow(window);
    if (!w)
        return;
    w->activateWindow();
    QWhatsThis::enterWhatsThisMode();
}
