// The resource list of a bank of 20,000 resources, offscreen: filling the
// list (view made, rows added, first paint), sorting one column, and each
// keystroke typed into the filter box (the rows kept, the count and the list
// drawn again; target: under 20 ms), each also as a ratio to building the
// same cell texts into a vector of strings.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/core/link_table.h"
#include "editor/core/resource_list.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/resource_list_model.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"
#include "offscreen_benchmarks.h"

namespace {

using namespace calyx;
using Clock = std::chrono::steady_clock;

constexpr int resourceCount = 20000;

struct Bank {
    fixtures::TempDir dir;
    editor::LinkTable links;
    editor::GameStrings strings;
    std::unique_ptr<editor::CCalyxDoc> doc;

    Bank() {
        fixtures::BankSpec spec;
        std::vector<fixtures::NameEntry> names;
        for (int i = 0; i < resourceCount; ++i) {
            fixtures::ResourceSpec r;
            r.id = static_cast<std::uint32_t>(i + 1);
            r.kind = i % 50 == 7 ? 0 : 1;
            r.data = {static_cast<std::uint8_t>(i), 1, 2, 3};
            r.volume = static_cast<std::uint8_t>((i * 37) % 128);
            r.fileName = "S" + std::to_string((i * 7919) % resourceCount) + ".WAV";
            spec.resources.push_back(r);
            const std::string n = std::to_string((i * 104729) % resourceCount);
            names.push_back({i + 1, (i % 2 ? "Engine_" : "crowd ") + n, "Lap " + n + ": grandstand"});
        }
        const std::string path = dir / "big.bnm";
        fixtures::writeBytes(path, fixtures::buildBank(spec));
        fixtures::writeFile(dir / "big.bns", fixtures::companionText(names));
        doc = std::make_unique<editor::CCalyxDoc>(links, strings);
        if (!doc->openDocument(QString::fromStdString(path), {})) std::abort();
    }
};

Bank& bigBank() {
    static Bank b;
    return b;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The plain work the list is measured against: every cell's text, once.
std::vector<std::string> buildCellTexts(const bank::SoundBank& b) {
    std::vector<std::string> texts;
    texts.reserve(b.resourceCount() * editor::listColumnCount);
    for (std::size_t i = 0; i < b.resourceCount(); ++i)
        for (int c = 0; c < editor::listColumnCount; ++c) texts.push_back(editor::cellText(b, i, c).utf8());
    return texts;
}

double baselineSeconds() {
    static const double median = [] {
        std::vector<double> runs;
        for (int i = 0; i < 7; ++i) {
            const auto start = Clock::now();
            benchmark::DoNotOptimize(buildCellTexts(bigBank().doc->bank()));
            runs.push_back(seconds(Clock::now() - start));
        }
        std::sort(runs.begin(), runs.end());
        return runs[runs.size() / 2];
    }();
    return median;
}

void reportRatio(benchmark::State& state, double total) {
    const double perRun = total / static_cast<double>(state.iterations());
    state.counters["ms"] = perRun * 1e3;
    state.counters["x_cell_texts"] = perRun / baselineSeconds();
}

void BM_CellTextsIntoStrings(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(buildCellTexts(bigBank().doc->bank()));
        total += seconds(Clock::now() - start);
    }
    reportRatio(state, total);
}

void BM_ListFilled(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto view = std::make_unique<editor::CCalyxView>(*bigBank().doc, bigBank().strings, audio::WaveDeviceLink{});
        view->resize(800, 600);
        view->show();
        view->repaint();
        QCoreApplication::processEvents();
        total += seconds(Clock::now() - start);
        state.PauseTiming();
        view.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    reportRatio(state, total);
}

void BM_ColumnSorted(benchmark::State& state) {
    auto view = std::make_unique<editor::CCalyxView>(*bigBank().doc, bigBank().strings, audio::WaveDeviceLink{});
    view->resize(800, 600);
    view->show();
    QCoreApplication::processEvents();
    const int column = static_cast<int>(state.range(0));
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        view->model().sortByColumn(column);
        view->repaint();
        total += seconds(Clock::now() - start);
    }
    reportRatio(state, total);
}

// A name typed letter by letter into the filter box of a fresh window, then
// cleared: the time of one keystroke, the first (which reads every
// resource's texts once) included; the slowest keystroke beside it.
void BM_FilterKeystroke(benchmark::State& state) {
    const QString typed = QStringLiteral("engine_1234");
    double total = 0, slowest = 0;
    std::int64_t keystrokes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<editor::CCalyxView>(*bigBank().doc, bigBank().strings, audio::WaveDeviceLink{});
        view->resize(800, 600);
        view->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        for (qsizetype length = 1; length <= typed.size() + 1; ++length) {
            const auto start = Clock::now();
            view->filterBox()->setText(length <= typed.size() ? typed.left(length) : QString());
            view->repaint();
            const double took = seconds(Clock::now() - start);
            total += took;
            slowest = std::max(slowest, took);
            ++keystrokes;
        }
        state.PauseTiming();
        view.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    const double perKeystroke = total / static_cast<double>(keystrokes);
    state.counters["ms_per_keystroke"] = perKeystroke * 1e3;
    state.counters["slowest_ms"] = slowest * 1e3;
    state.counters["x_cell_texts"] = perKeystroke / baselineSeconds();
}

BENCHMARK(BM_CellTextsIntoStrings)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ListFilled)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ColumnSorted)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
    return calyx::bench::runOffscreenBenchmarks(argc, argv, [] { bigBank().doc.reset(); });
}
