// One frame of the live spectrum: 256 dotted columns on the off-screen surface and the
// hand-over to the panel. Runs on the offscreen platform; no display needed.

#include "analysis/scope_display.h"
#include "platform/ui/surface_view.h"

#include <benchmark/benchmark.h>

#include <array>
#include <random>

namespace {

void BM_DrawScopeFrame(benchmark::State& state) {
    SurfaceView scope;
    scope.setBackColour(ScopeDisplay::kBackColour);
    scope.resize(150, 41);
    ScopeDisplay display(scope);

    std::mt19937 rng(3);
    std::uniform_real_distribution<float> dist(-2e5f, 2e5f);
    std::array<float, 1024> spectrum{};
    for (float& v : spectrum)
        v = dist(rng);

    for (auto _ : state) {
        display.DrawScopeFrame(spectrum.data());
        benchmark::DoNotOptimize(scope.picture().constBits());
    }
}
BENCHMARK(BM_DrawScopeFrame);

} // namespace
