// Dragging the main window by its caption bar: each mouse move handled (the window moves
// itself, as under a bare X server) and the whole frame drawn again at once, as a window system
// that asks for every piece would make it. Target: under 2 ms a move. Runs on the platform that
// QT_QPA_PLATFORM names, offscreen when unset.

#include "app/form_look.h"
#include "app/form_skin.h"
#include "platform/skin/widget_skin_frame.h"

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// A window of the main window's size and make-up: the skin, a menu bar and the client area.
struct SkinnedWindow {
    SkinnedWindow() {
        loadFormResources();
        skin.attach(window, formSkinStyle(window.font(), decodeFormPictures()));
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto* menu = new QMenuBar;
        menu->addMenu(QStringLiteral("&File"));
        menu->addMenu(QStringLiteral("&Help"));
        layout->setMenuBar(menu);
        auto* client = new QWidget;
        client->setFixedSize(607, 270);
        layout->addWidget(client);
        window.setWindowTitle(QStringLiteral("Sorvinta 3.0"));
        window.adjustSize();
        window.move(100, 100);
        window.show();
        window.activateWindow();
        QApplication::processEvents();
        for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (dynamic_cast<SkinPart*>(child))
                parts.push_back(child);
        }
    }
    void mouse(QEvent::Type type, QPoint global) {
        QWidget* caption = skin.captionBar();
        const QPoint local = caption->mapFromGlobal(global);
        QMouseEvent event(type, QPointF(local), QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(caption, &event);
    }
    void drawFrame() {
        for (QWidget* part : parts)
            part->repaint();
    }

    QWidget window;
    WidgetSkinFrame skin;
    std::vector<QWidget*> parts;
};

void BM_DragMoveAndDrawFrame(benchmark::State& state) {
    SkinnedWindow w;
    const QPoint grab = w.window.pos() + QPoint(60, 10);
    w.mouse(QEvent::MouseButtonPress, grab);
    int i = 0;
    for (auto _ : state) {
        // Back and forth over a few hundred pixels, so every move really moves the window.
        const QPoint offset((i % 64) * 4, (i % 48) * 3);
        w.mouse(QEvent::MouseMove, grab + offset);
        w.drawFrame();
        ++i;
    }
    w.mouse(QEvent::MouseButtonRelease, grab);
    if (w.window.pos() == QPoint(100, 100) && i > 1)
        state.SkipWithError("the window did not move");
}
BENCHMARK(BM_DragMoveAndDrawFrame)->Unit(benchmark::kMicrosecond);

// When the window turns active or inactive the frame picture is drawn anew from the skin's
// pictures; moving never does that, but it bounds what any frame change costs.
void BM_ActivationRedrawsTheFrame(benchmark::State& state) {
    SkinnedWindow w;
    for (auto _ : state) {
        QEvent change(QEvent::ActivationChange);
        QApplication::sendEvent(&w.window, &change);
        w.drawFrame();
    }
}
BENCHMARK(BM_ActivationRedrawsTheFrame)->Unit(benchmark::kMicrosecond);

} // namespace
