#include "platform/ui/qt_event_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

QtEventPump::QtEventPump() : m_thread(QThread::currentThread()) {}

bool QtEventPump::waitUntil(const std::function<bool()>& ready, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs < 0 ? 0 : timeoutMs, Qt::PreciseTimer);
    // The deadline is one timer event, so the dispatcher need not wake in slices to notice it.
    // A precise timer never fires early; a coarse one may, and the wait would then sleep on.
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setTimerType(Qt::PreciseTimer);
    // Pending events run before anything else. When ready() holds at once they need a pass of
    // their own; otherwise the first waiting pass runs them, and the window's thread is spared
    // one look at an empty queue for every block.
    if (ready())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (!ready()) {
        if (!timeout.isActive())
            timeout.start(static_cast<int>(deadline.remainingTime()));
        // Sleeps until an event comes, the timer runs out or wake() is called, and handles
        // whatever came.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (deadline.hasExpired())
            return ready();
    }
    return true;
}

void QtEventPump::wake() {
    // The dispatcher is looked up each time: it comes with the application object, which may
    // be made after this pump.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(m_thread))
        dispatcher->wakeUp();
}
