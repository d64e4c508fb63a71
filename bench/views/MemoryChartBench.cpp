// SPDX-License-Identifier: GPL-3.0-or-later
// The detail's memory chart: drawing 360 points at the popover's width, what the popover's
// memory grows by once the chart is open, and what the series adds to an answer.
//
//   build/bench/views_MemoryChartBench
//
// Counters: "growthKiB" is the anonymous memory the process gained between the detail drawn
// without a series and the same detail drawn with its chart (after 20 more open-and-close
// rounds, "roundsKiB" is what those rounds added); "pollBytes" is a poll's answer without an
// open detail, "detailBytes" and "seriesBytes" one with the detail open and what the series
// adds to it.

#include "demo/ScenarioLibrary.h"
#include "model/Codec.h"
#include "views/kit/MemorySeriesChart.h"
#include "views/popover/PopoverRootView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

using namespace velmora;

// A leak sampled every 10 s for an hour: 360 points, with all three parts of each (the most
// bands there are to draw), a growing member and a clock.
MemorySeries hourAtTenSeconds() {
    MemorySeries series;
    series.stepSeconds = 10;
    series.nowWallSeconds = 1767276300;
    series.kinds.emplace();
    series.growingMember = MemberMemorySeries{4242, "worker", {}, std::nullopt};
    for (int i = 0; i < 360; ++i) {
        const auto kib = static_cast<uint64_t>(400 * 1024 + i * 140 +
                                               (i * 7919 % 97) * 40); // a rising, noisy line
        series.footprintKiB.push_back(kib);
        series.kinds->swapKiB.push_back(kib / 20);
        series.kinds->sharedKiB.push_back(kib / 10);
        series.kinds->anonKiB.push_back(kib - kib / 20 - kib / 10);
        series.growingMember->footprintKiB.push_back(kib / 2);
    }
    series.trend = MemoryTrendLine{900, 400 * 1024 + 270 * 140, 14};
    series.marks = {{2400, FindingVerdict::watch}, {1200, FindingVerdict::suspect}};
    series.runsOut = RunsOutLevel{1800, 900 * 1024};
    return series;
}

void BM_DrawChart360Points(benchmark::State& bench) {
    const qreal dpr = static_cast<qreal>(bench.range(0));
    MemoryChart chart;
    chart.resize(382, MemoryChart::chartHeight); // its width inside the 448 px popover
    chart.setData(chartDataOf(hourAtTenSeconds()));
    QImage image(chart.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    for (auto _ : bench) {
        image.fill(Qt::transparent);
        chart.render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    bench.counters["points"] = static_cast<double>(chart.data().points.size());
}
BENCHMARK(BM_DrawChart360Points)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

long anonKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("RssAnon:", 0) == 0) {
            return std::stol(line.substr(8));
        }
    }
    return 0;
}

void present(PopoverRootView& root, const PopoverSnapshot& snapshot) {
    PopoverRenderState state;
    state.snapshot = snapshot;
    root.render(state);
    QApplication::processEvents();
    (void)root.grab();
    QApplication::processEvents();
}

long settledAnonKiB() {
    malloc_trim(0);
    return anonKiB();
}

void BM_PopoverGrowthWithTheChartOpen(benchmark::State& bench) {
    PopoverSnapshot withChart = ScenarioLibrary::detailOpened();
    withChart.selectedDetail->memorySeries = hourAtTenSeconds();
    PopoverSnapshot without = withChart;
    without.selectedDetail->memorySeries.reset();
    long growth = 0;
    long rounds = 0;
    for (auto _ : bench) {
        PopoverRootView root;
        root.show();
        present(root, without);
        const long before = settledAnonKiB();
        present(root, withChart);
        growth = settledAnonKiB() - before;
        for (int i = 0; i < 20; ++i) {
            present(root, ScenarioLibrary::suspect());
            present(root, withChart);
        }
        rounds = settledAnonKiB() - before - growth;
    }
    bench.counters["growthKiB"] = static_cast<double>(growth);
    bench.counters["roundsKiB"] = static_cast<double>(rounds);
}
BENCHMARK(BM_PopoverGrowthWithTheChartOpen)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_AnswerSizes(benchmark::State& bench) {
    PopoverSnapshot detail = ScenarioLibrary::detailOpened();
    detail.selectedDetail->memorySeries = hourAtTenSeconds();
    PopoverSnapshot bare = detail;
    bare.selectedDetail->memorySeries.reset();
    std::size_t poll = 0;
    std::size_t withSeries = 0;
    std::size_t withoutSeries = 0;
    for (auto _ : bench) {
        poll = dumpJsonText(encode(ScenarioLibrary::suspect())).size();
        withSeries = dumpJsonText(encode(detail)).size();
        withoutSeries = dumpJsonText(encode(bare)).size();
    }
    bench.counters["pollBytes"] = static_cast<double>(poll);
    bench.counters["detailBytes"] = static_cast<double>(withSeries);
    bench.counters["seriesBytes"] = static_cast<double>(withSeries - withoutSeries);
}
BENCHMARK(BM_AnswerSizes)->Unit(benchmark::kMicrosecond);

} // namespace
