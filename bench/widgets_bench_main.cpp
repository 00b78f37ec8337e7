// The main of the benchmarks that draw widgets: an application on the platform that
// QT_QPA_PLATFORM names (offscreen when unset, so no display is needed), then the benchmarks.

#include "benchmark_run.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
