// The main window's eleven bevel buttons with their stored look, on the offscreen platform.
// Targets: preparing all eleven (both faces and the picture strips) under 10 ms; an unforced
// paint with the state unchanged under 1 us; a forced repaint of one button under 300 us.

#include "app/form_look.h"
#include "controls/bevel_button/bevel_button_keys.h"
#include "controls/bevel_button/bvl_button.h"
#include "controls/progress_bar/progress_bar_keys.h"
#include "platform/forms/form_file.h"

#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct Placed {
    const char* name;
    int width;
    int height;
};

// The buttons' sizes in the window, in pixels.
constexpr Placed kButtons[] = {
    {"cmdRecord", 69, 49},   {"cmdStop", 69, 38},     {"cmdPlay", 90, 25},
    {"cmdStopPlay", 33, 25}, {"cmdPause", 33, 25},    {"cmdOpen", 34, 25},
    {"Command1", 42, 24},    {"optFreq(0)", 153, 21}, {"optFreq(1)", 153, 21},
    {"optFreq(2)", 153, 21}, {"optFreq(3)", 153, 21},
};

struct Window {
    Window() {
        loadFormResources();
        // The whole form, position bar included, as the window reads it.
        const FormType types[] = {kProgressBarFormType, kBevelButtonFormType};
        const FormFile form = loadFormFile(":/form1.form", types);
        if (!form.diagnostics.empty())
            std::abort();
        for (const Placed& p : kButtons) {
            auto* b = new bvlBUTTON(&parent);
            b->setObjectName(QString::fromLatin1(p.name));
            b->resize(p.width, p.height);
            if (const FormInstance* stored = form.find(p.name))
                b->ReadProperties(stored->bag);
            b->Refresh();
            buttons.push_back(b);
        }
    }
    QWidget parent;
    std::vector<bvlBUTTON*> buttons;
};

void BM_PrepareElevenButtons(benchmark::State& state) {
    Window w;
    for (auto _ : state)
        for (bvlBUTTON* b : w.buttons)
            b->Refresh(); // outline, both faces, picture strip and a forced paint
    state.SetItemsProcessed(state.iterations() * 11);
}
BENCHMARK(BM_PrepareElevenButtons)->Unit(benchmark::kMillisecond);

void BM_PaintUnchanged(benchmark::State& state) {
    Window w;
    bvlBUTTON* record = w.buttons[0];
    for (auto _ : state) {
        record->PaintButton(false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintUnchanged)->Unit(benchmark::kNanosecond);

void BM_PaintForced(benchmark::State& state) {
    Window w;
    bvlBUTTON* record = w.buttons[0];
    for (auto _ : state) {
        record->PaintButton(true);
        benchmark::DoNotOptimize(record->face().image().constBits());
    }
}
BENCHMARK(BM_PaintForced)->Unit(benchmark::kMicrosecond);

} // namespace
