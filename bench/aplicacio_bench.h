// The main of a benchmark program that needs a widget application: offscreen
// unless told otherwise, the program's own wiring in place, and `netejar` run
// before the application goes (no window may outlive it).
#pragma once

#include "app/connexions.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>

namespace lumi::bench {

inline int main_amb_finestres(int argc, char** argv, const std::function<void()>& netejar = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    QApplication app(argc, argv);
    connectar_ganxos();
    benchmark::RunSpecifiedBenchmarks();
    if (netejar) netejar();
    benchmark::Shutdown();
    return 0;
}

} // namespace lumi::bench
