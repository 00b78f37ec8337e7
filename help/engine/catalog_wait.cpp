#include "help/engine/catalog_wait.h"

#include "help/chm/help_file.h"
#include "platform/ui/qt_event_pump.h"

#include <QAbstractEventDispatcher>
#include <QThread>

namespace {

// Longer than any help file takes to read; catalog() waits for the rest, should it come to that.
constexpr int kLongestWaitMs = 120000;

} // namespace

void prepareCatalogInBackground(const HelpFile& file) {
    QThread* thread = QThread::currentThread();
    file.prepareCatalog([thread] {
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread))
            dispatcher->wakeUp();
    });
}

void waitForCatalog(const HelpFile& file) {
    if (file.catalogReady())
        return;
    prepareCatalogInBackground(file);
    QtEventPump().waitUntil([&file] { return file.catalogReady(); }, kLongestWaitMs);
}
