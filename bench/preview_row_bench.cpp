// The preview pane following the keyboard down a bank of 2,000 samples of
// 10 MiB each, in the editor's own window (offscreen): one Down key press
// until the pane shows the new row's waveform, drawn. Reported in
// milliseconds and as a ratio to the 50 ms a row may take.
//
// The 2,000 records all point at one 10 MiB run of bytes, so that the bank
// file stays 10 MiB while every row still reads and summarises a whole
// 10 MiB sample.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <chrono>
#include <memory>
#include <string>

#include "audio/wave_out_device.h"
#include "editor/core/game_strings.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/preview_feed.h"
#include "editor/widgets/preview_pane.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"
#include "offscreen_benchmarks.h"

namespace {

using namespace calyx;
using Clock = std::chrono::steady_clock;

constexpr int sampleCount = 2000;
constexpr std::uint32_t sampleBytes = std::uint32_t{10} << 20;
constexpr double targetSecondsPerRow = 0.050;

struct EditorOnBigBank {
    fixtures::TempDir dir;
    editor::GameStrings strings;
    std::unique_ptr<editor::CMainFrame> frame;
    std::unique_ptr<editor::DocumentManager> documents;
    editor::CPreviewPane* pane = nullptr;
    editor::CResourceListCtrl* list = nullptr;

    EditorOnBigBank() {
        fixtures::BankSpec spec;
        std::vector<fixtures::NameEntry> names;
        for (int i = 0; i < sampleCount; ++i) {
            fixtures::ResourceSpec r;
            r.id = static_cast<std::uint32_t>(i + 1);
            r.fileName = "S" + std::to_string(i) + ".WAV";
            if (i == 0) {
                r.data = fixtures::patternBytes(sampleBytes, 7);
            } else {
                r.dataSize = sampleBytes;
                r.dataOffset = 0;
            }
            spec.resources.push_back(std::move(r));
            names.push_back({i + 1, "Sound " + std::to_string(i), ""});
        }
        const std::string path = dir / "big.bnm";
        fixtures::writeBytes(path, fixtures::buildBank(spec));
        fixtures::writeFile(dir / "big.bns", fixtures::companionText(names));

        editor::setMessageBoxHook([](const QString&, unsigned, unsigned) { return editor::MessageResult::Ok; });
        frame = std::make_unique<editor::CMainFrame>(strings, [] { return std::unique_ptr<audio::WaveOutDevice>(); });
        if (!frame->Create()) std::abort();
        documents = std::make_unique<editor::DocumentManager>(*frame, strings, nullptr);
        pane = new editor::CPreviewPane(documents->links(), strings, editor::InterfaceLanguage::English, frame.get());
        frame->setPreviewPane(pane);
        new editor::PreviewFeed(*frame, *pane, frame.get());
        frame->resize(1200, 800);
        frame->show();
        if (!documents->openDocumentFile(QString::fromStdString(path))) std::abort();
        list = &documents->activeDocument()->view().list();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 0));
        QCoreApplication::processEvents();
    }
    ~EditorOnBigBank() {
        documents.reset();
        frame.reset();
        editor::setMessageBoxHook({});
    }

    // One row down, until the pane has drawn that row's resource.
    void nextRow() {
        const int row = list->currentIndex().row() + 1;
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(list, &down);
        while (list->currentIndex().row() != row) QCoreApplication::processEvents();
        pane->repaint();
    }
};

// Made on first use, and gone before the application.
std::unique_ptr<EditorOnBigBank> theEditor;

EditorOnBigBank& editorOnBigBank() {
    if (!theEditor) theEditor = std::make_unique<EditorOnBigBank>();
    return *theEditor;
}

void BM_PreviewFollowsTheKeyboard(benchmark::State& state) {
    EditorOnBigBank& e = editorOnBigBank();
    double total = 0;
    for (auto _ : state) {
        if (e.list->currentIndex().row() + 1 >= sampleCount) {
            state.PauseTiming();
            e.list->setCurrentIndex(e.list->model()->index(0, 0));
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
        const auto start = Clock::now();
        e.nextRow();
        total += std::chrono::duration<double>(Clock::now() - start).count();
    }
    // What was measured is the whole sample read and drawn.
    const editor::SamplePreview& shown = e.pane->preview();
    if (shown.size != sampleBytes || shown.error != editor::WavError::None || shown.columns.empty())
        state.SkipWithError("the pane did not show the whole sample");
    const double perRow = total / static_cast<double>(state.iterations());
    state.counters["ms_per_row"] = perRow * 1e3;
    state.counters["x_50ms_target"] = perRow / targetSecondsPerRow;
}

BENCHMARK(BM_PreviewFollowsTheKeyboard)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
    return calyx::bench::runOffscreenBenchmarks(argc, argv, [] { theEditor.reset(); });
}
