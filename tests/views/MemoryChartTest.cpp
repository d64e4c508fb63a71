// SPDX-License-Identifier: GPL-3.0-or-later
// The detail's memory chart, read from the widget: its data, marks, trend and level, its axes
// and readout, its keyboard, when it repaints, and its place in the detail at the popover's
// width. Pictures in light and dark come from the gallery.
#include "demo/SavedDetail.h"
#include "demo/ScenarioLibrary.h"
#include "tests/views/support/ViewTestSupport.h"
#include "views/detail/DetailView.h"
#include "views/detail/MemoryChartBlock.h"
#include "views/history/AdvancedHistoryDetailView.h"
#include "views/history/OffenderMemoryBlock.h"
#include "views/kit/ChartScale.h"
#include "views/kit/ChartTexts.h"
#include "views/kit/MemorySeriesChart.h"
#include "views/kit/PlainTextButton.h"
#include "views/kit/VelmoraText.h"

#include <QFile>
#include <QLocale>
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

TEST(ChartTexts, ClockTimesAreToTheMinuteInTheDesktopsFormat) {
    const QLocale before;
    QLocale::setDefault(QLocale::c()); // its short format carries seconds
    EXPECT_EQ(ChartTexts::clockTime(QTime(14, 5, 31)), "14:05");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(ChartTexts::clockTime(QTime(14, 5, 31)), "2:05 PM");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ChartTexts::clockTime(QTime(14, 5)), "14:05");
    EXPECT_EQ(ChartTexts::dayAndMonth(QDate(2026, 12, 8)), "08.12.");
    EXPECT_EQ(ChartTexts::sizeTick(1.5 * 1024 * 1024, SizeUnit::gigabytes, 512 * 1024), "1,5 GB");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(ChartTexts::dayAndMonth(QDate(2026, 12, 8)), "08/12");
    QLocale::setDefault(before);
}

TEST(ChartScale, TicksAreRoundAndUnitsFitTheRange) {
    const AxisTicks mb = niceTicks(102400, 163840, 4, 1024); // 100 MB to 160 MB
    EXPECT_EQ(mb.step, 20 * 1024);
    EXPECT_EQ(mb.ticks.front(), 100 * 1024);
    EXPECT_EQ(mb.ticks.back(), 160 * 1024);
    EXPECT_EQ(ChartTexts::sizeTick(120 * 1024, SizeUnit::megabytes, mb.step), "120 MB");

    const double gb = 1024 * 1024;
    EXPECT_EQ(sizeUnitFor(0.9 * gb), SizeUnit::megabytes);
    EXPECT_EQ(sizeUnitFor(1.2 * gb), SizeUnit::gigabytes);
    const AxisTicks big = niceTicks(3.7 * gb, 4.1 * gb, 4, gb);
    EXPECT_EQ(ChartTexts::sizeTick(big.ticks[1], SizeUnit::gigabytes, big.step), "3.8 GB");
    EXPECT_EQ(ChartTexts::sizeReadout(4.1 * gb), "4.10 GB");
    EXPECT_EQ(ChartTexts::sizeReadout(1536), "1.5 MB");
    EXPECT_EQ(ChartTexts::sizeTick(1200 * gb, SizeUnit::gigabytes, gb), "1200 GB"); // one word

    // A flat, an inverted and a broken range still give a usable axis.
    EXPECT_GE(niceTicks(5, 5, 4).ticks.size(), 2u);
    EXPECT_EQ(niceTicks(10, 0, 4).low, 0);
    EXPECT_GE(niceTicks(std::nan(""), 1e300 * 1e300, 4).ticks.size(), 2u);

    EXPECT_EQ(ChartTexts::spanTick(0, TimeUnit::minutes), "now");
    EXPECT_EQ(ChartTexts::spanTick(1800, TimeUnit::minutes), "30 min ago");
    EXPECT_EQ(ChartTexts::spanTick(1800, TimeUnit::minutes, true), "30 min");
    EXPECT_EQ(ChartTexts::spanTick(-1200, TimeUnit::minutes), "in 20 min");
    EXPECT_EQ(ChartTexts::spanTick(7 * 86400, TimeUnit::days), "7 d ago");
    EXPECT_EQ(timeAxisTicks(-1500, 3600, 5), (std::vector<double>{3600, 2400, 1200, 0, -1200}));
    EXPECT_EQ(timeAxisTicks(0, 7 * 86400, 5),
              (std::vector<double>{6 * 86400, 4 * 86400, 2 * 86400, 0}));
    EXPECT_EQ(timeAxisTicks(0, 0, 5), std::vector<double>{0});
    // On the clock at 14:05, an hour's ticks fall on the quarter hours: 13:15 ... 14:00.
    EXPECT_EQ(timeAxisTicks(0, 3600, 5, 14 * 3600 + 5 * 60),
              (std::vector<double>{3000, 2100, 1200, 300}));
    // Over a week at 06:00, on each second midnight.
    EXPECT_EQ(timeAxisTicks(0, 7 * 86400, 5, 6 * 3600),
              (std::vector<double>{6 * 86400 + 6 * 3600, 4 * 86400 + 6 * 3600, 2 * 86400 + 6 * 3600,
                                   6 * 3600}));
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

    // The time axis reads the clock, on whole 20 minutes, and reaches past now to the moment
    // memory runs out; the size axis covers the level, in GB.
    ASSERT_TRUE(data.now);
    const std::vector<double> ticks = chart.timeTicks();
    ASSERT_EQ(static_cast<qsizetype>(ticks.size()), chart.timeLabels().size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const QDateTime at = data.now->addSecs(-static_cast<qint64>(ticks[i]));
        EXPECT_EQ(at.time().minute() % 20, 0) << ticks[i];
        EXPECT_EQ(chart.timeLabels()[static_cast<qsizetype>(i)], ChartTexts::clockTime(at.time()));
    }
    EXPECT_LT(ticks.back(), 0);
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
    // Dates over the month, weekdays over the week.
    ASSERT_TRUE(chart.data().now);
    const QDateTime now = *chart.data().now;
    EXPECT_EQ(
        chart.timeLabels().front(),
        ChartTexts::dayAndMonth(now.addSecs(-static_cast<qint64>(chart.timeTicks()[0])).date()));

    block->findChild<PlainTextButton*>("range7d")->click();
    EXPECT_EQ(block->rangeDays(), 7);
    EXPECT_EQ(chart.data().points.size(), 7u * 12 + 1); // every two hours, both ends
    EXPECT_EQ(markLabels(chart), (QStringList{"incident"}));
    const double firstTick = chart.timeTicks()[0];
    EXPECT_EQ(chart.timeLabels().front(),
              QLocale().dayName(now.addSecs(-static_cast<qint64>(firstTick)).date().dayOfWeek(),
                                QLocale::ShortFormat));
    EXPECT_EQ(now.addSecs(-static_cast<qint64>(firstTick)).time(), QTime(0, 0)); // midnight
    block->findChild<PlainTextButton*>("range30d")->click();
    EXPECT_EQ(chart.data().points.size(), 360u);

    detail.memorySeries.reset(); // an older monitor
    view.setDetail(detail);
    EXPECT_TRUE(block->isHidden());
}

TEST(MemoryChart, StacksTheFootprintsPartsUnderItsLineWithALegend) {
    MemoryChartBlock block(8);
    block.resize(416, 300);
    block.show();
    const MemorySeries leak = ScenarioLibrary::leakingSeries(FindingSeverity::suspect);
    block.setSeries(leak);
    testing::settle();
    const MemoryChart& chart = *block.chart();
    const MemoryChartData& data = chart.data();
    ASSERT_EQ(data.bands.size(), 3u);
    EXPECT_EQ(chart.legendLabels(), (QStringList{"footprint", "anonymous", "swapped", "shared"}));
    EXPECT_EQ(chart.height(), MemoryChart::chartHeight + MemoryChart::legendHeight);
    // Bottom up, each band's top above the one under it; together they reach the line.
    for (std::size_t i = 0; i < data.points.size(); ++i) {
        ASSERT_EQ(data.bands[0].topKiB.size(), data.points.size());
        EXPECT_LE(data.bands[0].topKiB[i], data.bands[1].topKiB[i]);
        EXPECT_LE(data.bands[1].topKiB[i], data.bands[2].topKiB[i]);
        EXPECT_NEAR(data.bands[2].topKiB[i], data.points[i].kib, 1);
    }
    // The swap came in over the last 20 minutes: none before.
    EXPECT_EQ(data.bands[1].topKiB.front(), data.bands[0].topKiB.front());
    EXPECT_GT(data.bands[1].topKiB.back(), data.bands[0].topKiB.back());
    // The legend is drawn, and so audited, with the chart's texts.
    QStringList drawn;
    for (const DrawnText& text : chart.drawnTexts()) {
        drawn << text.text;
    }
    EXPECT_TRUE(drawn.contains("anonymous"));

    // A family without swap has no swap band; parts for fewer points cover the newest ones.
    MemorySeries calm = ScenarioLibrary::warmUpSeries();
    calm.kinds->anonKiB.erase(calm.kinds->anonKiB.begin(), calm.kinds->anonKiB.begin() + 40);
    calm.kinds->sharedKiB.erase(calm.kinds->sharedKiB.begin(), calm.kinds->sharedKiB.begin() + 40);
    block.setSeries(calm);
    EXPECT_EQ(chart.legendLabels(), (QStringList{"footprint", "anonymous", "shared"}));
    // Too narrow for every entry: those that fit, in order.
    MemoryChart narrow;
    narrow.resize(150, MemoryChart::chartHeight);
    narrow.setData(data);
    EXPECT_LT(narrow.legendLabels().size(), 3);
    EXPECT_EQ(data.bands[0].topKiB.size(), calm.footprintKiB.size() - 40);
    (void)testing::renderToImage(block);

    // An older monitor sends no parts: the line over its area, no legend, the old height.
    calm.kinds.reset();
    block.setSeries(calm);
    EXPECT_TRUE(data.bands.empty());
    EXPECT_TRUE(chart.legendLabels().isEmpty());
    EXPECT_EQ(chart.height(), MemoryChart::chartHeight);
}

TEST(MemoryChart, TheGrowingMemberCanBeShownOnItsOwnFromTheKeyboard) {
    MemoryChartBlock block(8);
    block.resize(416, 320);
    block.show();
    const MemorySeries series = ScenarioLibrary::growingMemberSeries();
    block.setSeries(series);
    testing::settle();
    auto* family = block.findChild<PlainTextButton*>("chartFamily");
    auto* member = block.findChild<PlainTextButton*>("chartMember");
    ASSERT_TRUE(family && member);
    EXPECT_TRUE(member->isVisible());
    EXPECT_EQ(memberLabel(*series.growingMember), "PID 4242 (worker)");
    EXPECT_EQ(block.subject(), ChartSubject::family);
    EXPECT_TRUE(family->isChecked());
    EXPECT_EQ(block.chart()->data().points.back().kib,
              static_cast<double>(series.footprintKiB.back()));

    member->setFocus();
    QTest::keyClick(member, Qt::Key_Space);
    EXPECT_EQ(block.subject(), ChartSubject::growingMember);
    EXPECT_TRUE(member->isChecked());
    const MemoryChartData& data = block.chart()->data();
    ASSERT_EQ(data.points.size(), series.growingMember->footprintKiB.size());
    EXPECT_EQ(data.points.back().kib,
              static_cast<double>(series.growingMember->footprintKiB.back()));
    EXPECT_TRUE(data.bands.empty()); // the parts are the family's
    ASSERT_TRUE(data.trend);
    EXPECT_EQ(data.trend->from.kib, series.growingMember->trend->startKiB);
    EXPECT_EQ(markLabels(*block.chart()), (QStringList{"watch", "suspect"}));

    // The next series has no growing member: the family again, and no switch.
    MemorySeries alone = series;
    alone.growingMember.reset();
    block.setSeries(alone);
    EXPECT_EQ(block.subject(), ChartSubject::family);
    EXPECT_FALSE(member->isVisible());
}

TEST(MemoryChart, TheReadoutSaysTheClockTimeWhenTheMonitorSendsIt) {
    MemoryChart chart;
    MemorySeries value = series({102400, 112640, 122880, 133120});
    value.nowWallSeconds = 1767276300; // 1 January 2026, 14:05 UTC
    chart.setData(chartDataOf(value));
    chart.resize(400, MemoryChart::chartHeight);
    chart.setCursor(1);
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1767276300);
    EXPECT_EQ(chart.readoutText(),
              ChartTexts::clockTime(now.addSecs(-120).time()) + " \u00B7 110.0 MB");

    // On another day the readout names the weekday too.
    value.stepSeconds = 86400;
    chart.setData(chartDataOf(value));
    chart.setCursor(0);
    const QDateTime then = now.addDays(-3);
    EXPECT_EQ(chart.readoutText(),
              QLocale().dayName(then.date().dayOfWeek(), QLocale::ShortFormat) + " " +
                  ChartTexts::clockTime(then.time()) + " \u00B7 100.0 MB");

    // A clock far out of range is no clock.
    value.nowWallSeconds = 1e300;
    EXPECT_FALSE(chartDataOf(value).now);
}

QByteArray savedAnswer(const char* name) {
    QFile file(QStringLiteral(VELMORA_CHART_FIXTURES "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "the saved answer of the real monitor";
    return file.readAll();
}

TEST(MemoryChart, TheRealMonitorsAnswerAboutALeakRenders) {
    const QByteArray text = savedAnswer("vm-leak-20.json");
    auto snapshot = savedDetailSnapshot(std::string_view(text.constData(), text.size()));
    ASSERT_TRUE(snapshot) << snapshot.error().text();
    const DetailSnapshot& detail = *snapshot.value().selectedDetail;
    ASSERT_TRUE(detail.memorySeries);
    const MemorySeries& series = *detail.memorySeries;

    DetailView view;
    view.setDetail(detail);
    view.resize(416, 1600);
    view.show();
    testing::settle();
    auto* chart = view.findChild<MemoryChart*>("memoryChart");
    ASSERT_TRUE(chart);
    const MemoryChartData& data = chart->data();
    // Minutes of one-minute figures that climb, the verdict's moments, the trend and the
    // footprint's parts, on the clock of the moment it was saved.
    EXPECT_GE(data.points.size(), 5u);
    EXPECT_GT(data.points.back().kib, data.points.front().kib);
    EXPECT_TRUE(markLabels(*chart).contains("suspect"));
    EXPECT_TRUE(data.trend);
    EXPECT_FALSE(data.bands.empty());
    EXPECT_TRUE(data.now);
    EXPECT_EQ(data.points.size(), series.footprintKiB.size());
    (void)testing::renderToImage(*chart);

    // The same answer is refused with its path once its series is broken.
    QByteArray broken = text;
    broken.replace("\"footprintKiB\":[", "\"footprintKiB\":[\"x\",");
    auto refused = savedDetailSnapshot(std::string_view(broken.constData(), broken.size()));
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().path.find("selectedDetail.memorySeries"), std::string::npos)
        << refused.error().text();
    EXPECT_FALSE(savedDetailSnapshot("{}"));
}

TEST(MemoryChart, TheRealMonitorsGrowingMemberCanBeShownOnItsOwn) {
    const QByteArray text = savedAnswer("vm-child-grows.json");
    auto snapshot = savedDetailSnapshot(std::string_view(text.constData(), text.size()));
    ASSERT_TRUE(snapshot) << snapshot.error().text();
    const MemorySeries& series = *snapshot.value().selectedDetail->memorySeries;
    ASSERT_TRUE(series.growingMember);
    MemoryChartBlock block(8);
    block.resize(416, 320);
    block.show();
    block.setSeries(series);
    testing::settle();
    auto* member = block.findChild<PlainTextButton*>("chartMember");
    ASSERT_TRUE(member->isVisible());
    member->click();
    const MemoryChartData& data = block.chart()->data();
    ASSERT_EQ(data.points.size(), series.growingMember->footprintKiB.size());
    EXPECT_LT(data.points.back().kib, static_cast<double>(series.footprintKiB.back()));
    EXPECT_TRUE(data.trend);
}

} // namespace
} // namespace velmora
