#include "platform/ui/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void QtEventPump::processEvents(int maxWaitMs) {
    // A one-shot timer bounds the wait: the dispatcher returns as soon as anything (this timer
    // included) has been handled, and at once when events are already pending.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(maxWaitMs < 0 ? 0 : maxWaitMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
