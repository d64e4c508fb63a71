// SPDX-License-Identifier: GPL-3.0-or-later
// The detail's memory chart, read from the widget: its data, marks, trend and level, its axes
// and readout, its keyboard, when it repaints, and its place in the detail at the popover's
// width. Pictures in light and dark come from the gallery.
#include "demo/ScenarioLibrary.h"
#include "tests/views/support/ViewTestSupport.h"
#include "views/detail/DetailView.h"
#include "views/detail/MemoryChartBlock.h"
#include "views/history/AdvancedHistoryDetailView.h"
#include "views/history/OffenderMemoryBlock.h"
#include "views/kit/ChartScale.h"
#include "views/kit/MemorySeriesChart.h"
#include "views/kit/PlainTextButton.h"
#include "views/kit/VelmoraText.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora {
namespace {

MemorySeries series(std::vector<uint64_t> points) {
    MemorySeries value;
    value.stepSeconds = 60;
    value.footprintKiB = std::move(points);
    return value;
}

QStringList markLabels(const MemoryChart& chart) {
    QStringList labels;
    for (const ChartMark& mark : chart.data().marks) {
        labels << mark.label;
    }
    return labels;
}

TEST(ChartScale, TicksAreRoundAndUnitsFitTheRange) {
    const AxisTicks mb = niceTicks(102400, 163840, 4, 1024); // 100 MB to 160 MB
    EXPECT_EQ(mb.step, 20 * 1024);
    EXPECT_EQ(mb.ticks.front(), 100 * 1024);
    EXPECT_EQ(mb.ticks.back(), 160 * 1024);
    EXPECT_EQ(sizeTickLabel(120 * 1024, SizeUnit::megabytes, mb.step), "120 MB");

    const double gb = 1024 * 1024;
    EXPECT_EQ(sizeUnitFor(0.9 * gb), SizeUnit::megabytes);
    EXPECT_EQ(sizeUnitFor(1.2 * gb), SizeUnit::gigabytes);
    const AxisTicks big = niceTicks(3.7 * gb, 4.1 * gb, 4, gb);
    EXPECT_EQ(sizeTickLabel(big.ticks[1], SizeUnit::gigabytes, big.step), "3.8 GB");
    EXPECT_EQ(sizeReadout(4.1 * gb), "4.10 GB");
    EXPECT_EQ(sizeReadout(1536), "1.5 MB");

    // A flat, an inverted and a broken range still give a usable axis.
    EXPECT_GE(niceTicks(5, 5, 4).ticks.size(), 2u);
    EXPECT_EQ(niceTicks(10, 0, 4).low, 0);
    EXPECT_GE(niceTicks(std::nan(""), 1e300 * 1e300, 4).ticks.size(), 2u);

    EXPECT_EQ(timeTickLabel(0, TimeUnit::minutes), "now");
    EXPECT_EQ(timeTickLabel(1800, TimeUnit::minutes), "30 min ago");
    EXPECT_EQ(timeTickLabel(-1200, TimeUnit::minutes), "in 20 min");
    EXPECT_EQ(timeTickLabel(7 * 86400, TimeUnit::days), "7 d ago");
    EXPECT_EQ(timeAxisTicks(-1500, 3600, 5), (std::vector<double>{3600, 2400, 1200, 0, -1200}));
    EXPECT_EQ(timeAxisTicks(0, 7 * 86400, 5),
              (std::vector<double>{6 * 86400, 4 * 86400, 2 * 86400, 0}));
    EXPECT_EQ(timeAxisTicks(0, 0, 5), std::vector<double>{0});
    EXPECT_EQ(timeUnitFor(3600), TimeUnit::minutes);
    EXPECT_EQ(timeUnitFor(7 * 86400), TimeUnit::days);
}

TEST(MemoryChart, ShowsTheSeriesTrendMarksAndRunsOutLevelOfTheDetail) {
    const MemorySeries leak = ScenarioLibrary::leakingSeries(FindingSeverity::critical);
    MemoryChartBlock block(8);
    block.resize(416, 260);
    block.setSeries(leak);
    const MemoryChart& chart = *block.chart();
    const MemoryChartData& data = chart.data();

    ASSERT_EQ(data.points.size(), leak.footprintKiB.size());
    EXPECT_EQ(data.points.front().agoSeconds, 3600);
    EXPECT_EQ(data.points.back().agoSeconds, 0);
    EXPECT_EQ(data.points.back().kib, static_cast<double>(leak.footprintKiB.back()));
    EXPECT_EQ(markLabels(chart), (QStringList{"watch", "suspect", "critical"}));
    EXPECT_EQ(data.marks.back().tint.name, PaletteColor::criticalText);
    EXPECT_EQ(data.tint.name, PaletteColor::criticalText);

    // The trend starts where the rate window did and runs on, dotted, to where memory runs out.
    ASSERT_TRUE(data.trend);
    EXPECT_EQ(data.trend->from.agoSeconds, 900);
    EXPECT_EQ(data.trend->to.agoSeconds, -1500);
    EXPECT_NEAR(data.trend->to.kib, static_cast<double>(leak.runsOut->levelKiB), 2);
    ASSERT_TRUE(data.level);
    EXPECT_EQ(data.level->label, "Memory runs out in 25 min at 7.2 GB");

    // The time axis reaches past now to that moment; the size axis covers the level, in GB.
    EXPECT_TRUE(chart.timeLabels().contains("now"));
    EXPECT_TRUE(chart.timeLabels().front().endsWith("ago"));
    EXPECT_TRUE(chart.timeLabels().back().startsWith("in "));
    EXPECT_GE(chart.valueAxis().high, static_cast<double>(leak.runsOut->levelKiB));
    EXPECT_TRUE(chart.valueLabels().back().endsWith(" GB"));
    // Everything drawn lies inside the plot's horizontal extent, the future right of now.
    const QRectF plot = chart.plotRect();
    EXPECT_NEAR(chart.positionOf(data.points.front()).x(), plot.left(), 0.01);
    EXPECT_LT(chart.positionOf(data.points.back()).x(), plot.right());
    EXPECT_NEAR(chart.positionOf(data.level->at).x(), plot.right(), 0.01);
}

TEST(MemoryChart, AWarmUpThatLevelledOffHasNoTrendAndEndsCalm) {
    MemoryChartBlock block(8);
    block.setSeries(ScenarioLibrary::warmUpSeries());
    const MemoryChartData& data = block.chart()->data();
    EXPECT_FALSE(data.trend);
    EXPECT_FALSE(data.level);
    EXPECT_EQ(markLabels(*block.chart()), (QStringList{"watch", "calm"}));
    EXPECT_EQ(data.tint.name, PaletteColor::allClearText);
    EXPECT_TRUE(block.chart()->valueLabels().back().endsWith(" MB"));
    EXPECT_EQ(block.findChild<VelmoraText*>("memoryMakeUp")->displayText().toStdString(),
              "Now 619.1\u00A0MB: 595.1\u00A0MB anonymous, no swap, 24.0\u00A0MB shared.");
}

TEST(MemoryChart, TheReadoutFollowsThePointerAndTheKeys) {
    MemoryChart chart;
    MemorySeries value = series({102400, 112640, 122880, 133120});
    chart.setData(chartDataOf(value));
    chart.resize(400, MemoryChart::chartHeight);
    EXPECT_FALSE(chart.cursor());
    EXPECT_TRUE(chart.readoutText().isEmpty());

    // The pointer picks the nearest point.
    const QPointF second = chart.positionOf(chart.data().points[1]);
    QMouseEvent move(QEvent::MouseMove, second + QPointF(3, 0), chart.mapToGlobal(second),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    ASSERT_TRUE(chart.cursor());
    EXPECT_EQ(*chart.cursor(), 1u);
    EXPECT_EQ(chart.readoutText(), "2 min ago \u00B7 110.0 MB");

    // The keys: Left from the newest, Home, End; Escape is left to the surface.
    chart.setCursor(std::nullopt);
    QTest::keyClick(&chart, Qt::Key_Left);
    EXPECT_EQ(*chart.cursor(), 3u);
    EXPECT_EQ(chart.readoutText(), "now \u00B7 130.0 MB");
    QTest::keyClick(&chart, Qt::Key_Left);
    EXPECT_EQ(*chart.cursor(), 2u);
    QTest::keyClick(&chart, Qt::Key_Home);
    EXPECT_EQ(*chart.cursor(), 0u);
    QTest::keyClick(&chart, Qt::Key_Left);
    EXPECT_EQ(*chart.cursor(), 0u);
    QTest::keyClick(&chart, Qt::Key_End);
    EXPECT_EQ(*chart.cursor(), 3u);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&chart, &escape);
    EXPECT_FALSE(escape.isAccepted());
    EXPECT_EQ(chart.accessibleDescription(), "Memory over the last 3 min: 100.0 MB to 130.0 MB.");

    // A shorter series drops a readout that no longer has its point.
    chart.setData(chartDataOf(series({1024, 2048})));
    EXPECT_FALSE(chart.cursor());
}

TEST(MemoryChart, RepaintsOnlyWhenItsDataChanges) {
    MemoryChart chart;
    chart.resize(400, MemoryChart::chartHeight);
    chart.show();
    testing::settle();
    const MemoryChartData data =
        chartDataOf(ScenarioLibrary::leakingSeries(FindingSeverity::suspect));
    chart.setData(data);
    testing::settle();
    const uint64_t revision = chart.revision();
    testing::PaintCounter paints(&chart);
    chart.setData(data);
    testing::settle();
    EXPECT_EQ(chart.revision(), revision);
    EXPECT_EQ(paints.count(), 0);

    MemoryChartData grown = data;
    grown.points.push_back({0, grown.points.back().kib + 1024});
    chart.setData(grown);
    testing::settle();
    EXPECT_EQ(chart.revision(), revision + 1);
    EXPECT_EQ(paints.count(), 1);
}

TEST(MemoryChart, BadSeriesAreDrawnBoundedAndNeverCrash) {
    MemoryChart chart;
    chart.resize(400, MemoryChart::chartHeight);
    MemoryChartData data;
    for (int i = 0; i < 5000; ++i) {
        data.points.push_back({5000.0 - i, 1024.0 * i});
    }
    data.points.push_back({std::nan(""), 1});
    data.points.push_back({1, 1e300});
    data.trend = ChartLine{{1e300, 0}, {0, 1}};
    data.marks = {{std::nan(""), "watch", {}}};
    chart.setData(data);
    EXPECT_EQ(chart.data().points.size(), MemoryChart::maxPoints);
    EXPECT_FALSE(chart.data().trend);
    EXPECT_TRUE(chart.data().marks.empty());
    (void)testing::renderToImage(chart);

    // An empty series and a single point draw too.
    chart.setData({});
    (void)testing::renderToImage(chart);
    chart.setData(chartDataOf(series({4096})));
    (void)testing::renderToImage(chart);
    EXPECT_EQ(chart.data().points.size(), 1u);
}

TEST(MemoryChart, TheDetailShowsItUnderTheVerdictOnlyWhenTheMonitorSendsASeries) {
    DetailView view;
    DetailSnapshot detail = *ScenarioLibrary::detailOpened().selectedDetail;
    view.setDetail(detail);
    view.resize(416, 1600);
    view.show();
    testing::settle();
    const auto* memory = view.findChild<QWidget*>("memoryBlock");
    ASSERT_TRUE(memory);
    EXPECT_FALSE(memory->isHidden());
    EXPECT_LT(view.findChild<QWidget*>("verdictBlock")->y(), memory->y());
    EXPECT_LT(memory->y(), view.findChild<QWidget*>("whyBlock")->y());
    EXPECT_GT(view.findChild<MemoryChart*>("memoryChart")->width(), 300);

    detail.memorySeries.reset(); // an older monitor
    view.setDetail(detail);
    EXPECT_TRUE(memory->isHidden());
}

TEST(MemoryChart, TheHistoryChartsAMonthOrAWeekWithIncidentsAndKills) {
    AdvancedHistoryDetailView view;
    HistoricalOffenderDetailSnapshot detail =
        *ScenarioLibrary::advancedHistoryDetail(
             ScenarioLibrary::advancedHistory().offenders.front().key)
             .selectedDetail;
    view.setDetail(detail);
    auto* block = view.findChild<OffenderMemoryBlock*>("offenderMemoryBlock");
    ASSERT_TRUE(block);
    EXPECT_FALSE(block->isHidden());
    const MemoryChart& chart = *block->chart();
    EXPECT_EQ(block->rangeDays(), 30);
    EXPECT_EQ(chart.data().points.size(), 360u);
    EXPECT_EQ(markLabels(chart), (QStringList{"incident", "critical", "OOM kill", "incident"}));
    EXPECT_EQ(chart.data().marks[2].tint.name, PaletteColor::criticalText);
    EXPECT_TRUE(chart.timeLabels().front().endsWith(" d ago"));

    block->findChild<PlainTextButton*>("range7d")->click();
    EXPECT_EQ(block->rangeDays(), 7);
    EXPECT_EQ(chart.data().points.size(), 7u * 12 + 1); // every two hours, both ends
    EXPECT_EQ(markLabels(chart), (QStringList{"incident"}));
    block->findChild<PlainTextButton*>("range30d")->click();
    EXPECT_EQ(chart.data().points.size(), 360u);

    detail.memorySeries.reset(); // an older monitor
    view.setDetail(detail);
    EXPECT_TRUE(block->isHidden());
}

} // namespace
} // namespace velmora
