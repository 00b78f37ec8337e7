// Linked into a program for the start-up benchmark. When the program's first window has been
// exposed, drawn and handed to the window system, and on X11 the X server has taken the frame's
// pixels in, it prints
//     first-frame <wall clock in ns> <class of the window's widget>
// and ends the program on the spot, so that shutting down is not measured.

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <xcb/xcb.h>

namespace {

class FirstFrameProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_seen || event->type() != QEvent::Expose)
            return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || !window->isExposed())
            return false;
        m_seen = true;
        // A widget window draws and flushes its whole tree while it handles the expose: the
        // queued call runs once that is done.
        QMetaObject::invokeMethod(
            this, [window] { report(window); }, Qt::QueuedConnection);
        return false;
    }

private:
    static void report(QWindow* window) {
        // The frame may still sit in the connection's buffer or the server's queue: a request
        // that needs a reply is answered only after the server has handled all before it.
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            if (xcb_connection_t* connection = x11->connection())
                std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection),
                                                    nullptr));
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const char* name = "?";
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->windowHandle() == window)
                name = w->metaObject()->className();
        }
        std::printf("first-frame %lld %s\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, name);
        std::fflush(stdout);
        std::_Exit(0);
    }
    bool m_seen = false;
};

void installProbe() {
    QCoreApplication::instance()->installEventFilter(
        new FirstFrameProbe(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
