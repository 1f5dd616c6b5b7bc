// The main of a benchmark program that measures the editor's widgets: Qt
// on its offscreen platform, quiet, around Google Benchmark's run.
#pragma once

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <QApplication>
#include <cstdio>
#include <functional>

namespace calyx::bench {

// Runs the registered benchmarks; `release` lets go of every widget before
// the application ends.
inline int runOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& release) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The offscreen platform's notes on window hints would drown the table.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg && type != QtWarningMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    release();
    return 0;
}

}  // namespace calyx::bench
