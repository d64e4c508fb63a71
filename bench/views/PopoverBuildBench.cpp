// SPDX-License-Identifier: GPL-3.0-or-later
// Building the whole popover from a 50-row snapshot, and applying a snapshot that changes
// nothing visible to a popover already on screen.

#include "demo/ScenarioLibrary.h"
#include "views/popover/PopoverRootView.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace velmora;

PopoverRenderState fiftyRows() {
    PopoverRenderState state;
    state.snapshot = ScenarioLibrary::multiRowSuspect();
    const auto templateRow =
        state.snapshot.rows.empty() ? FindingSnapshot{} : state.snapshot.rows.back();
    state.snapshot.rows.clear();
    for (int i = 0; i < 50; ++i) {
        FindingSnapshot row = templateRow;
        row.key = "row-" + std::to_string(i);
        row.title = "Process family " + std::to_string(i);
        row.sparklineSamples = {100, 140, 180, static_cast<uint16_t>(200 + i), 260, 320};
        state.snapshot.rows.push_back(row);
    }
    return state;
}

void BM_BuildPopover(benchmark::State& bench) {
    const PopoverRenderState state = fiftyRows();
    for (auto _ : bench) {
        PopoverRootView root;
        root.render(state);
        root.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(root.popoverSize());
    }
}
BENCHMARK(BM_BuildPopover)->Unit(benchmark::kMillisecond);

void BM_ApplyUnchangedSnapshot(benchmark::State& bench) {
    const PopoverRenderState state = fiftyRows();
    PopoverRootView root;
    root.render(state);
    root.show();
    QApplication::processEvents();
    for (auto _ : bench) {
        root.render(state);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ApplyUnchangedSnapshot)->Unit(benchmark::kMicrosecond);

} // namespace
