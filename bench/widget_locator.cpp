// Linked into a program for the click benchmark. Once the program's first window has been
// exposed and drawn, it prints, for each widget named in SORVINTA_BENCH_WIDGETS (names apart
// by blanks),
//     widget <name> <x> <y> <width> <height>
// in screen coordinates, then a line "widgets-done", and takes itself out of the event path so
// that the program runs on as it would without it.

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

class WidgetLocator : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Expose)
            return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || !window->isExposed())
            return false;
        QCoreApplication::instance()->removeEventFilter(this);
        // The queued call runs once the window has drawn its whole tree.
        QMetaObject::invokeMethod(this, &WidgetLocator::report, Qt::QueuedConnection);
        return false;
    }

private:
    void report() {
        const QStringList names = QString::fromLocal8Bit(qgetenv("SORVINTA_BENCH_WIDGETS"))
                                      .split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& name : names) {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (!top->isVisible())
                    continue;
                QWidget* w = top->objectName() == name ? top : top->findChild<QWidget*>(name);
                if (!w)
                    continue;
                const QPoint origin = w->mapToGlobal(QPoint(0, 0));
                std::printf("widget %s %d %d %d %d\n", qPrintable(name), origin.x(), origin.y(),
                            w->width(), w->height());
                break;
            }
        }
        std::printf("widgets-done\n");
        std::fflush(stdout);
        deleteLater();
    }
};

void installLocator() {
    QCoreApplication::instance()->installEventFilter(
        new WidgetLocator(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installLocator)
