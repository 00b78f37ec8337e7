// Linked into a program for the click benchmark. Each time a window of the program is exposed
// and drawn for the first time, it prints, for each widget named in SORVINTA_BENCH_WIDGETS
// (names apart by blanks) that the window holds,
//     widget <name> <x> <y> <width> <height>
// in screen coordinates (a tab bar adds one line for each tab, as <name>#<index>), then a line
// "widgets-done <window's object name>". A named widget shown later (a tab's page) is reported
// when it shows. Other events pass through untouched.

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTabBar>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

class WidgetLocator : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            widgetShown(watched);
        if (event->type() != QEvent::Expose)
            return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || !window->isExposed() || m_seen.count(window) != 0)
            return false;
        m_seen.insert(window);
        // The queued call runs once the window has drawn its whole tree.
        QPointer<QWindow> exposed(window);
        QMetaObject::invokeMethod(
            this,
            [this, exposed] {
                if (exposed)
                    report(exposed);
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    static QStringList names() {
        return QString::fromLocal8Bit(qgetenv("SORVINTA_BENCH_WIDGETS"))
            .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }

    // A named widget shown after its window (a page of a tab widget) is reported once laid out.
    void widgetShown(QObject* watched) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->isWindow() || w->objectName().isEmpty() || !names().contains(w->objectName()))
            return;
        QPointer<QWidget> shown(w);
        QMetaObject::invokeMethod(
            this,
            [shown] {
                if (!shown)
                    return;
                print(shown->objectName(), shown, shown->rect());
                std::fflush(stdout);
            },
            Qt::QueuedConnection);
    }

    static void print(const QString& name, QWidget* w, QRect box) {
        const QPoint origin = w->mapToGlobal(box.topLeft());
        std::printf("widget %s %d %d %d %d\n", qPrintable(name), origin.x(), origin.y(),
                    box.width(), box.height());
    }

    static void report(QWindow* window) {
        QWidget* top = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowHandle() == window)
                top = w;
        if (!top)
            return;
        for (const QString& name : names()) {
            QWidget* w = top->objectName() == name ? top : top->findChild<QWidget*>(name);
            if (!w || !w->isVisible())
                continue;
            print(name, w, w->rect());
            if (auto* tabs = qobject_cast<QTabBar*>(w))
                for (int i = 0; i < tabs->count(); ++i)
                    print(name + QLatin1Char('#') + QString::number(i), w, tabs->tabRect(i));
        }
        std::printf("widgets-done %s\n", qPrintable(top->objectName()));
        std::fflush(stdout);
    }

    // A std::set: with link-time optimisation, GCC 12 takes an impossible size in QSet's growth
    // path for a real one and warns.
    std::set<QWindow*> m_seen;
};

void installLocator() {
    QCoreApplication::instance()->installEventFilter(
        new WidgetLocator(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installLocator)
