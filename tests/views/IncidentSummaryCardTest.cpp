// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/incident/IncidentSummaryCard.h"

#include "base/Translate.h"
#include "state/IncidentFacts.h"
#include "tests/views/support/ViewTestSupport.h"
#include "views/detail/IncidentTimelineList.h"
#include "views/kit/ActionCapsuleButton.h"
#include "views/kit/IncidentCardRules.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::widgetCount;

QString textOf(const QWidget& parent, const char* name) {
    const auto* text = parent.findChild<VelmoraText*>(name);
    return text != nullptr ? text->displayText() : QStringLiteral("<missing %1>").arg(name);
}

IncidentSnapshot strongIncident() {
    IncidentSnapshot incident;
    incident.stage = IncidentStage::strongSignal;
    incident.stageLabel = "Strong signal";
    incident.headline = "Browser helpers keep growing";
    incident.decisionLine = "Decision: restart the helper";
    incident.causeLine = "Cause: tab renderer";
    incident.primaryMetrics = {{"Footprint", "2.1 GB"}, {"Growth", "+40 MB/min"}};
    incident.confidenceSteps = {{"Trend", "Sustained", IncidentConfidenceTone::strong}};
    incident.nextAction = ActionDescriptor{"restart", "Restart helper", ActionStyle::warning, "k"};
    incident.actionRationale = "Safe next move: restart the helper process";
    incident.outcomeLine = "Last action: none yet";
    return incident;
}

TEST(IncidentCardRules, StatusLineOnlyWithoutANextAction) {
    IncidentSnapshot incident;
    incident.actionRationale = "Safe next move:  wait for the next sample";
    EXPECT_EQ(actionStatusLine(incident), "Wait for the next sample");
    incident.actionRationale.reset();
    incident.outcomeLine = "Last action: restarted";
    EXPECT_EQ(actionStatusLine(incident), "Restarted");
    incident.outcomeLine = "Last action:";
    EXPECT_EQ(actionStatusLine(incident), "Last action:");
    incident.outcomeLine.reset();
    EXPECT_EQ(actionStatusLine(incident), std::nullopt);
    incident.actionRationale = "Next proof step: capture";
    incident.nextAction = ActionDescriptor{"capture", "Capture", ActionStyle::primary, "k"};
    EXPECT_EQ(actionStatusLine(incident), std::nullopt);
    EXPECT_EQ(nextActionLine(incident), "Capture");
}

TEST(IncidentCardRules, StageTintFollowsTheStageThenTheTone) {
    EXPECT_EQ(stageTint(IncidentStage::normal, SnapshotTone::critical), PaletteColor::allClearText);
    EXPECT_EQ(stageTint(IncidentStage::actionTaken, SnapshotTone::critical),
              PaletteColor::allClearText);
    EXPECT_EQ(stageTint(IncidentStage::watch, SnapshotTone::critical), PaletteColor::watchText);
    EXPECT_EQ(stageTint(IncidentStage::evidenceRunning, SnapshotTone::suspect),
              PaletteColor::suspectText);
    EXPECT_EQ(stageTint(IncidentStage::suspicious, SnapshotTone::critical),
              PaletteColor::criticalText);
}

TEST(IncidentSummaryCard, ShowsTheIncidentWithTheNextAction) {
    IncidentSummaryCard card;
    card.setIncident(strongIncident(), SnapshotTone::critical);
    EXPECT_EQ(card.findChild<CapsuleLabel*>("stagePill")->displayText(), "STRONG SIGNAL");
    EXPECT_EQ(card.stageTintRef().name, PaletteColor::criticalText);
    EXPECT_EQ(textOf(card, "headline"), "Browser helpers keep growing");

    const auto metrics = card.metrics();
    ASSERT_EQ(metrics.size(), 2u);
    EXPECT_EQ(textOf(*metrics[0], "metricLabel"), "FOOTPRINT");
    EXPECT_FALSE(metrics[0]->hasLeadingDivider());
    EXPECT_TRUE(metrics[1]->hasLeadingDivider());
    EXPECT_FALSE(card.findChild<QWidget*>("confidenceLadder")->isHidden());

    QStringList factLabels;
    for (auto* label :
         card.findChild<QWidget*>("primaryFacts")->findChildren<VelmoraText*>("factLabel")) {
        factLabels << label->displayText();
    }
    EXPECT_EQ(factLabels, (QStringList{"DECISION", "CAUSE"}));
    // The labels of the narrow fact column shrink rather than truncate.
    for (auto* label :
         card.findChildren<VelmoraText*>(QRegularExpression("^(fact|safest)Label$"))) {
        EXPECT_FALSE(label->fitSingleLine(label->width()).truncated)
            << label->displayText().toStdString();
    }
    EXPECT_EQ(textOf(card, "nextActionLine"), "Restart the helper process");
    EXPECT_EQ(textOf(card, "safestLabel"), "SAFEST");
    EXPECT_TRUE(card.findChild<QWidget*>("actionStatusLine")->isHidden());
    auto* button = card.findChild<ActionCapsuleButton*>("nextActionButton");
    EXPECT_EQ(button->labelText(), "Restart");
}

TEST(IncidentSummaryCard, NextActionTapsPendingAndStatusLine) {
    IncidentSummaryCard card;
    std::vector<std::string> sent;
    bool pending = false;
    card.setOnDispatchAction([&](const ActionDescriptor& a) { sent.push_back(a.id); });
    card.setIsActionPending([&](const ActionDescriptor&) { return pending; });
    card.setIncident(strongIncident(), SnapshotTone::critical);
    auto* button = card.findChild<ActionCapsuleButton*>("nextActionButton");
    button->click();
    EXPECT_EQ(sent, (std::vector<std::string>{"restart"}));
    pending = true;
    card.refreshPending();
    EXPECT_TRUE(button->isPending());
    EXPECT_FALSE(button->isEnabled());

    auto taken = strongIncident();
    taken.stage = IncidentStage::actionTaken;
    taken.nextAction.reset();
    taken.actionRationale.reset();
    taken.outcomeLine = "Last action: helper restarted";
    card.setIncident(taken, SnapshotTone::critical);
    EXPECT_EQ(card.stageTintRef().name, PaletteColor::allClearText);
    EXPECT_TRUE(card.findChild<QWidget*>("nextActionRow")->isHidden());
    EXPECT_FALSE(card.findChild<QWidget*>("actionStatusLine")->isHidden());
    EXPECT_EQ(textOf(card, "actionStatusLine"), "Helper restarted");
}

TEST(IncidentSummaryCard, RefreshKeepsWidgetsAndAnUnchangedIncidentBuildsNothing) {
    IncidentSummaryCard card;
    card.setIncident(strongIncident(), SnapshotTone::critical);
    testing::settle();
    auto* growth = card.findChild<QWidget*>("metric:Growth");
    const int widgets = widgetCount(&card);
    card.setIncident(strongIncident(), SnapshotTone::critical);
    EXPECT_EQ(widgetCount(&card), widgets);

    auto reordered = strongIncident();
    std::swap(reordered.primaryMetrics[0], reordered.primaryMetrics[1]);
    card.setIncident(reordered, SnapshotTone::critical);
    testing::settle();
    EXPECT_EQ(card.metrics().front(), growth);
    EXPECT_EQ(widgetCount(&card), widgets);
}

TEST(IncidentSummaryCard, CalmIncidentShowsConfidenceMetricAndNoLadder) {
    IncidentSummaryCard card;
    card.setIncident(IncidentSnapshot::fallback(), SnapshotTone::allClear);
    const auto metrics = card.metrics();
    ASSERT_EQ(metrics.size(), 2u);
    EXPECT_EQ(textOf(*metrics[0], "metricLabel"), "CONFIDENCE");
    EXPECT_EQ(textOf(*metrics[1], "metricLabel"), "METRICS");
    EXPECT_TRUE(card.findChild<QWidget*>("confidenceLadder")->isHidden());
    EXPECT_TRUE(card.findChild<QWidget*>("nextActionRow")->isHidden());
}

// The calm card reads from its codes, so it follows the catalogue wherever it came from.
TEST(IncidentSummaryCard, CalmCardIsComposedFromItsCodes) {
    setTranslator([](const char*, const char* source, const char*, int) {
        return std::string("[") + source + "]";
    });
    IncidentSummaryCard card;
    card.setIncident(IncidentSnapshot::fallback(), SnapshotTone::allClear);
    setTranslator(nullptr);
    EXPECT_EQ(textOf(card, "headline"), "[No active memory incident]");
    EXPECT_EQ(textOf(card, "attributionLine"), "[Waiting for the next local sampling pass]");
    EXPECT_EQ(textOf(card, "evidenceLabel"), "[No stronger evidence needed right now]");
    EXPECT_EQ(textOf(card, "stageLabel"), "[NORMAL]");
    const auto metrics = card.metrics();
    ASSERT_EQ(metrics.size(), 2u);
    EXPECT_EQ(textOf(*metrics[0], "metricValue"), "[Local passive monitor]");
    EXPECT_EQ(textOf(*metrics[1], "metricValue"), "[Memory totals unavailable]");
    const auto facts = card.findChild<IncidentPrimaryFactList*>()->rows();
    ASSERT_EQ(facts.size(), 2u);
    EXPECT_TRUE(textOf(*facts[0], "factText").startsWith("[No ranked process family"));
}

// The metrics and the confidence steps are at least 36 and 34 pixels high with their texts at
// the top, and no taller: a card given more height than it asked for opens no band under them.
TEST(IncidentSummaryCard, MetricRowAndLadderKeepTheirHeightInATallerCard) {
    IncidentSummaryCard card;
    card.setIncident(strongIncident(), SnapshotTone::suspect);
    card.resize(388, card.heightForWidth(388) + 15);
    card.show();
    testing::settle();
    const auto* metrics = card.findChild<QWidget*>("metricRow");
    const auto* ladder = card.findChild<QWidget*>("confidenceLadder");
    ASSERT_NE(metrics, nullptr);
    ASSERT_NE(ladder, nullptr);
    EXPECT_EQ(metrics->height(), 36);
    EXPECT_EQ(ladder->height(), 34);
    for (const auto* metric : card.metrics()) {
        EXPECT_EQ(metric->height(), 36) << metric->objectName().toStdString();
        EXPECT_EQ(metric->findChild<QWidget*>("metricLabel")->y(), 0);
    }
}

TEST(IncidentTimelineList, ConnectsEveryRowButTheLast) {
    IncidentTimelineList list;
    list.setItems({{"Seen", "First growth", "At 10:02", TimelineTone::watch}});
    auto rows = list.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0]->hasConnector());
    EXPECT_EQ(rows[0]->layout()->contentsMargins().bottom(), 0);
    EXPECT_EQ(textOf(*rows[0], "label"), "SEEN");

    list.setItems({{"Seen", "First growth", "At 10:02", TimelineTone::watch},
                   {"Now", "Still growing", "At 10:30", TimelineTone::action}});
    rows = list.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0]->hasConnector());
    EXPECT_EQ(rows[0]->layout()->contentsMargins().bottom(), 8);
    EXPECT_FALSE(rows[1]->hasConnector());
    list.setDetailLineLimit(2);
    EXPECT_EQ(rows[1]->findChild<VelmoraText*>("detail")->lineLimit(), 2);
}

} // namespace
} // namespace velmora
