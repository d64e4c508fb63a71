// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/AdvancedHistoryView.h"

#include "demo/ScenarioLibrary.h"
#include "tests/views/support/LayoutAudit.h"
#include "tests/views/support/ViewTestSupport.h"
#include "views/history/AdvancedHistoryDetailView.h"
#include "views/history/AdvancedHistoryEmptyState.h"
#include "views/history/AdvancedHistoryListView.h"
#include "views/history/FlexibleTags.h"
#include "views/history/OffenderTint.h"
#include "views/popover/PopoverRootView.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Screen = AdvancedHistoryView::Screen;

QString textOf(const QWidget& parent, const char* name) {
    const auto* text = parent.findChild<VelmoraText*>(name);
    return text != nullptr ? text->displayText() : QStringLiteral("<missing %1>").arg(name);
}

HistoricalOffenderSummarySnapshot offender(std::string key, uint32_t incidents, uint32_t critical,
                                           uint32_t peak) {
    HistoricalOffenderSummarySnapshot summary;
    summary.key = key;
    summary.title = "Offender " + key;
    summary.lastSeenText = "2h ago";
    summary.incidentCount30d = incidents;
    summary.criticalIncidentCount30d = critical;
    summary.peakScore30d = peak;
    summary.riskLabel = "Recurring";
    summary.typicalityLabel = "Unusual";
    return summary;
}

AdvancedHistorySnapshot historyOf(std::vector<HistoricalOffenderSummarySnapshot> offenders) {
    AdvancedHistorySnapshot history;
    history.offenders = std::move(offenders);
    return history;
}

TEST(OffenderTint, CountsDecideTheColour) {
    EXPECT_EQ(offenderTint(offender("a", 1, 0, 84)), PaletteColor::suspectText);
    EXPECT_EQ(offenderTint(offender("a", 1, 0, 69)), PaletteColor::watchText);
    EXPECT_EQ(offenderTint(offender("a", 1, 1, 10)), PaletteColor::criticalText);
    EXPECT_EQ(offenderTint(offender("a", 1, 0, 85)), PaletteColor::criticalText);
    EXPECT_EQ(offenderTint(offender("a", 2, 0, 10)), PaletteColor::suspectText);
}

TEST(AdvancedHistoryView, ChoosesItsScreenFromHistoryLoadingAndError) {
    AdvancedHistoryView view;
    view.setState(std::nullopt, true, std::nullopt);
    EXPECT_EQ(view.screen(), Screen::loading);
    auto* loading = view.findChild<AdvancedHistoryLoadingView*>("advancedHistoryLoading");
    EXPECT_FALSE(loading->isHidden());
    EXPECT_EQ(loading->titleText(), "Loading advanced history");
    EXPECT_NE(loading->spinner(), nullptr);

    view.setState(std::nullopt, false, std::nullopt);
    EXPECT_EQ(view.screen(), Screen::unavailable);
    auto* unavailable = view.findChild<AdvancedHistoryEmptyState*>("advancedHistoryUnavailable");
    EXPECT_EQ(unavailable->titleText(), "Advanced history unavailable");
    EXPECT_EQ(unavailable->messageText(),
              "Velmora has not built enough history yet to rank recurring offenders.");
    view.setState(std::nullopt, false, std::string("backend timed out"));
    EXPECT_EQ(unavailable->messageText(), "backend timed out");

    auto withDetail = historyOf({offender("a", 1, 0, 10)});
    withDetail.selectedDetail = HistoricalOffenderDetailSnapshot{
        "a", "Offender a", "High", "Rare", "1h ago", {}, "Grows", {}, {}, std::nullopt};
    view.setState(withDetail, true, std::string("stale"));
    EXPECT_EQ(view.screen(), Screen::detail);
    EXPECT_TRUE(view.listView()->isHidden());
}

TEST(AdvancedHistoryView, ListShowsTheHeaderAndTheRightEmptyState) {
    AdvancedHistoryView view;
    auto* list = view.listView();
    view.setState(historyOf({}), false, std::nullopt);
    EXPECT_EQ(view.screen(), Screen::list);
    EXPECT_FALSE(list->emptyState()->isHidden());
    EXPECT_EQ(list->emptyState()->titleText(), "No recurring offenders yet");

    view.setState(historyOf({}), true, std::nullopt);
    EXPECT_TRUE(list->emptyState()->isHidden());
    EXPECT_TRUE(list->cards().empty());
    EXPECT_FALSE(list->findChild<QWidget*>("listHeader")->isHidden());

    view.setState(historyOf({offender("a", 1, 0, 10)}), false, std::string("socket closed"));
    EXPECT_EQ(list->emptyState()->titleText(), "History fetch failed");
    EXPECT_EQ(list->emptyState()->messageText(), "socket closed");
    EXPECT_TRUE(list->cards().empty());
}

TEST(AdvancedHistoryView, OffenderCardsShowTheirCountsTagsAndSelectByKey) {
    AdvancedHistoryView view;
    std::vector<std::string> selected;
    view.setOnSelectOffender([&](const std::string& key) { selected.push_back(key); });
    auto live = offender("a", 3, 1, 91);
    live.liveNow = true;
    live.evidenceTags = {"heap", "fd", "threads", "mmap", "gpu"};
    const auto quiet = offender("b", 1, 0, 69);
    view.setState(historyOf({live, quiet}), false, std::nullopt);
    auto cards = view.listView()->cards();
    ASSERT_EQ(cards.size(), 2u);
    OffenderCard& first = *cards[0];
    EXPECT_FALSE(first.findChild<QWidget*>("liveNowTag")->isHidden());
    EXPECT_EQ(first.findChild<AdvancedHistoryTag*>("liveNowTag")->displayText(), "LIVE NOW");
    EXPECT_EQ(textOf(first, "lastSeen"), "2H AGO");
    EXPECT_EQ(first.findChild<AdvancedHistoryTag*>("riskTag")->displayText(), "RECURRING");
    EXPECT_EQ(first.findChild<AdvancedHistoryTag*>("riskTag")->label()->color().name,
              PaletteColor::criticalText);
    EXPECT_EQ(textOf(first, "metric30dLabel"), "30D");
    EXPECT_EQ(textOf(first, "metric30d"), "3 incidents");
    EXPECT_EQ(textOf(first, "metricPeak"), "91");
    const auto tags = first.findChild<FlexibleTags*>("evidenceTags")->tags();
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[2]->displayText(), "threads");
    EXPECT_TRUE(cards[1]->findChild<QWidget*>("liveNowTag")->isHidden());
    EXPECT_TRUE(cards[1]->findChild<QWidget*>("evidenceTags")->isHidden());
    EXPECT_EQ(cards[1]->findChild<DotView*>("offenderDot")->color().name, PaletteColor::watchText);

    cards[1]->resize(cards[1]->sizeHint());
    cards[1]->click();
    EXPECT_EQ(selected, (std::vector<std::string>{"b"}));

    OffenderCard* b = cards[1];
    view.setState(historyOf({quiet, live}), false, std::nullopt);
    testing::settle();
    EXPECT_EQ(view.listView()->cards()[0], b);
    const int widgets = testing::widgetCount(&view);
    view.setState(historyOf({quiet, live}), false, std::nullopt);
    EXPECT_EQ(testing::widgetCount(&view), widgets);

    // Opening a detail and coming back shows the same list widgets again.
    auto opened = historyOf({quiet, live});
    opened.selectedDetail = HistoricalOffenderDetailSnapshot{
        "b", "Offender b", "Low", "Usual", "1h ago", {}, "Quiet", {}, {}, std::nullopt};
    view.setState(opened, false, std::nullopt);
    EXPECT_EQ(view.screen(), Screen::detail);
    view.setState(historyOf({quiet, live}), false, std::nullopt);
    EXPECT_EQ(view.screen(), Screen::list);
    EXPECT_EQ(view.listView()->cards()[0], b);
}

TEST(FlexibleTags, KeepsTagWidgetsByTextAndShowsAtMostThree) {
    FlexibleTags tags;
    tags.setTags({"heap", "fd"});
    AdvancedHistoryTag* fd = tags.tags()[1];
    tags.setTags({"fd", "heap", "gpu", "mmap"});
    testing::settle();
    ASSERT_EQ(tags.tags().size(), 3u);
    EXPECT_EQ(tags.tags()[0], fd);
    EXPECT_EQ(tags.tags()[2]->displayText(), "gpu");
}

// A row of tags longer than its width (as German makes them) continues on a new line, every tag
// whole; a row that fits stays one line from the leading edge.
TEST(FlexibleTags, ALongRowWrapsAndKeepsEveryTagWhole) {
    FlexibleTags tags;
    tags.setTags({"Wachstum im Leerlauf", "Hilfsprozesse des Renderers", "Externe Belege"});
    constexpr int width = 260;
    tags.resize(width, tags.heightForWidth(width));
    tags.show();
    testing::settle();
    const auto shown = tags.tags();
    ASSERT_EQ(shown.size(), 3u);
    for (const AdvancedHistoryTag* tag : shown) {
        EXPECT_FALSE(tag->label()->fitSingleLine(tag->label()->width()).truncated)
            << tag->displayText().toStdString();
        EXPECT_LE(tag->geometry().right() + 1, width);
        EXPECT_LE(tag->geometry().bottom() + 1, tags.height());
    }
    EXPECT_GT(shown.back()->y(), shown.front()->y()) << "the row wraps";

    tags.setTags({"heap", "fd"});
    tags.resize(width, tags.heightForWidth(width));
    testing::settle();
    const auto fitting = tags.tags();
    EXPECT_EQ(fitting[0]->pos(), QPoint(0, 0));
    EXPECT_EQ(fitting[1]->pos(), QPoint(fitting[0]->width() + 6, 0));
    EXPECT_EQ(tags.height(), fitting[0]->height());
}

TEST(AdvancedHistoryView, DetailShowsMetricsAlwaysAndReadOnlyWithInsights) {
    AdvancedHistoryView view;
    int back = 0;
    view.setOnBack([&] { ++back; });
    auto history = historyOf({});
    history.selectedDetail = HistoricalOffenderDetailSnapshot{
        "a",      "Offender a",     "High risk", "Rare", "1h ago",
        {"heap"}, "Grows at night", {},          {},     std::nullopt};
    view.setState(history, false, std::nullopt);
    auto* detail = view.detailView();
    EXPECT_EQ(textOf(*detail, "backLabel"), "Back to History");
    EXPECT_EQ(textOf(*detail, "eyebrow"), "ADVANCED");
    EXPECT_EQ(textOf(*detail->findChild<QWidget*>("offenderBlock"), "blockTitle"), "Offender a");
    EXPECT_FALSE(detail->findChild<QWidget*>("metricsBlock")->isHidden());
    EXPECT_TRUE(detail->findChild<QWidget*>("readBlock")->isHidden());

    history.selectedDetail->insightLines = {"Peaks after sleep", "Returns weekly"};
    history.selectedDetail->metrics = {{"Incidents", "4"}};
    view.setState(history, false, std::nullopt);
    EXPECT_FALSE(detail->findChild<QWidget*>("readBlock")->isHidden());
    EXPECT_EQ(textOf(*detail, "insightLine:0"), QString::fromUtf8("\u2022 Peaks after sleep"));
    EXPECT_EQ(textOf(*detail->findChild<QWidget*>("historyMetric:Incidents"), "metricValue"), "4");

    auto* button = detail->findChild<QAbstractButton*>("backButton");
    button->resize(button->sizeHint());
    button->click();
    EXPECT_EQ(back, 1);
}

// The right edge of `widget` in the coordinates of `ancestor`.
int rightEdgeIn(const QWidget& widget, const QWidget* ancestor) {
    return widget.mapTo(ancestor, QPoint(widget.width(), 0)).x();
}

TEST(AdvancedHistoryView, FitsTheCardOfThePopoverWithLongTitlesAndTags) {
    auto wide = offender("wide", 4, 2, 97);
    wide.title = "Chrome Helper (Renderer) with a very long process family title";
    wide.liveNow = true;
    wide.lastSeenText = "Live now";
    wide.riskLabel = "Historical critical";
    wide.typicalityLabel = "Recurring above baseline";
    wide.evidenceTags = {"idle growth", "renderer helpers", "external evidence"};
    PopoverRenderState state;
    state.snapshot = ScenarioLibrary::suspect();
    state.surface = PopoverSurface::advanced;
    AdvancedHistorySnapshot history = ScenarioLibrary::advancedHistory();
    history.offenders.insert(history.offenders.begin(), wide);
    state.advancedHistory = history;

    PopoverRootView root;
    root.renderStandalone(state);
    testing::settle();
    ASSERT_EQ(root.width(), 448);

    auto* view = root.findChild<AdvancedHistoryView*>("advancedHistoryView");
    ASSERT_NE(view, nullptr);
    const QWidget* card = root.findChild<QWidget*>("popoverCard");
    const QMargins margins = card->layout()->contentsMargins();
    const int cardContentWidth = card->width() - margins.left() - margins.right();
    EXPECT_LE(view->width(), cardContentWidth);
    EXPECT_LE(view->widget()->width(), view->viewport()->width());
    EXPECT_LE(rightEdgeIn(*view, card), card->width() - margins.right());

    const QWidget* viewport = view->viewport();
    for (const OffenderCard* offenderCard : view->listView()->cards()) {
        EXPECT_LE(rightEdgeIn(*offenderCard, viewport), viewport->width())
            << offenderCard->objectName().toStdString();
        for (const char* name : {"liveNowTag", "lastSeen", "typicalityTag", "evidenceTags"}) {
            const auto* part = offenderCard->findChild<QWidget*>(name);
            ASSERT_NE(part, nullptr) << name;
            EXPECT_LE(rightEdgeIn(*part, offenderCard), offenderCard->width()) << name;
        }
    }
    // The long title gives way first; the live tag keeps its whole text.
    const auto* live = view->listView()->cards()[0]->findChild<AdvancedHistoryTag*>("liveNowTag");
    EXPECT_FALSE(live->label()->fitSingleLine(live->label()->width()).truncated);

    // Its detail: the risk and typicality pills wrap rather than cut their labels short beside
    // the last-seen time.
    state.advancedHistory->selectedDetail =
        HistoricalOffenderDetailSnapshot{"wide",
                                         wide.title,
                                         wide.riskLabel,
                                         wide.typicalityLabel,
                                         wide.lastSeenText,
                                         wide.evidenceTags,
                                         "Recurring issue pattern that is active again right now.",
                                         {},
                                         {},
                                         std::nullopt};
    root.renderStandalone(state);
    testing::settle();
    const QWidget* detail = view->detailView();
    ASSERT_TRUE(testing::isShownUnder(detail, &root));
    for (const char* name : {"riskTag", "typicalityTag"}) {
        const auto* pill = detail->findChild<AdvancedHistoryTag*>(name);
        EXPECT_FALSE(pill->label()->fitSingleLine(pill->label()->width()).truncated) << name;
        EXPECT_LE(rightEdgeIn(*pill, detail), detail->width()) << name;
    }
}

} // namespace
} // namespace velmora
