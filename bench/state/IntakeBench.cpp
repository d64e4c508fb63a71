// SPDX-License-Identifier: GPL-3.0-or-later
// One snapshot intake of the view model: a 50-row snapshot with 60 sparkline samples per row,
// published by a backend and delivered through the scheduler, as the app does twice a second
// at most.
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"

#include <benchmark/benchmark.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;

class BenchBackend final : public VelmoraBackend {
public:
    explicit BenchBackend(PopoverSnapshot initial) : current_(std::move(initial)) {}

    PopoverSnapshot currentSnapshot() const override { return current_; }
    std::unique_ptr<Subscription> subscribe(SnapshotHandler handler) override {
        handler_ = std::move(handler);
        handler_(current_);
        return std::make_unique<Subscription>();
    }
    void dispatch(const std::string&, const std::string&) override {}
    void dispatch(ShellCommand) override {}
    void fetchAdvancedHistory(std::optional<std::string>, HistoryCompletion) override {}
    void updateRefreshInterval(double) override {}
    void updateStorageMode(SettingsStorageMode) override {}
    void updateEvidenceCaptureEnabled(bool) override {}

    void publish(const PopoverSnapshot& snapshot) {
        current_ = snapshot;
        handler_(snapshot);
    }

private:
    PopoverSnapshot current_;
    SnapshotHandler handler_;
};

PopoverSnapshot fiftyRows(std::uint16_t sampleBase) {
    PopoverSnapshot snapshot;
    snapshot.globalTone = SnapshotTone::suspect;
    snapshot.summaryText = "3 SUSPECTS";
    for (int i = 0; i < 50; ++i) {
        FindingSnapshot row;
        row.key = "family-" + std::to_string(i);
        row.title = "Process family " + std::to_string(i);
        row.rate = "+" + std::to_string(sampleBase % 97 + i) + " MB/min";
        row.explanation = "Resident memory has grown across the last sampling window.";
        row.confidencePillLabel = "likely";
        row.severity = i == 0 ? FindingSeverity::critical : FindingSeverity::suspect;
        row.verdict = FindingVerdict::suspect;
        for (int s = 0; s < 60; ++s) {
            row.sparklineSamples.push_back(static_cast<std::uint16_t>(sampleBase + s * 7 + i));
        }
        row.orderedActions.push_back(
            makeAction(ActionId::restart, "Restart", ActionStyle::primary, row.key));
        snapshot.rows.push_back(std::move(row));
    }
    return snapshot;
}

void runIntake(benchmark::State& state, bool changed) {
    const PopoverSnapshot first = fiftyRows(100);
    const PopoverSnapshot second = fiftyRows(101);
    auto scheduler = std::make_shared<ManualScheduler>();
    auto backend = std::make_shared<BenchBackend>(first);
    auto viewModel = PopoverViewModel::create(
        backend, scheduler, {}, std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    std::size_t notifications = 0;
    auto observation = viewModel->observe([&](const ViewModelChange&) { ++notifications; });
    scheduler->runPending();
    bool odd = false;
    for (auto _ : state) {
        odd = changed && !odd;
        backend->publish(odd ? second : first);
        scheduler->runPending();
        benchmark::DoNotOptimize(viewModel->snapshot().rows.size());
    }
    state.counters["notifications/intake"] =
        benchmark::Counter(static_cast<double>(notifications) / state.iterations());
}

void BM_IntakeChanged(benchmark::State& state) {
    runIntake(state, true);
}
void BM_IntakeUnchanged(benchmark::State& state) {
    runIntake(state, false);
}

BENCHMARK(BM_IntakeChanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IntakeUnchanged)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace velmora

BENCHMARK_MAIN();
