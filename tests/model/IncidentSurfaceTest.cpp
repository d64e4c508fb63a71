// SPDX-License-Identifier: GPL-3.0-or-later
// How an incident is condensed for the first screen of the incident card, and action captions.
#include "model/ActionDescriptor.h"
#include "model/IncidentSnapshot.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

IncidentSnapshot bare() {
    IncidentSnapshot incident;
    incident.whyLines = {};
    return incident;
}

std::vector<std::pair<std::string, std::string>>
labelsAndTexts(const std::vector<IncidentPrimarySurfaceFact>& facts) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& fact : facts) {
        out.emplace_back(fact.label, fact.text);
    }
    return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

} // namespace

TEST(IncidentSurfaceFacts, PicksOneFactPerSlotWithItsPrefixStripped) {
    auto incident = bare();
    incident.decisionLine = "Decision: restart the helper";
    incident.responsibilityLine = "  likely owner: the build daemon ";
    incident.changeLine = "Changed: grew 2 GB in 10 min";
    incident.actionRationale = "safe next move: capture a heap profile";
    const auto facts = primarySurfaceFacts(incident);
    EXPECT_EQ(labelsAndTexts(facts), (Pairs{{"Decision", "Restart the helper"},
                                            {"Owner", "The build daemon"},
                                            {"Change", "Grew 2 GB in 10 min"}}));
    EXPECT_TRUE(facts[0].isPrimary);
    EXPECT_FALSE(facts[1].isPrimary || facts[2].isPrimary);
}

TEST(IncidentSurfaceFacts, CauseWinsOverOwnerAndHistoryOverChange) {
    auto incident = bare();
    incident.causeLine = "Cause: a cache that never evicts";
    incident.responsibilityLine = "Likely owner: the IDE";
    incident.memoryLine = "History: third time this week";
    incident.changeLine = "Changed: +1 GB";
    EXPECT_EQ(labelsAndTexts(primarySurfaceFacts(incident)),
              (Pairs{{"Cause", "A cache that never evicts"}, {"History", "Third time this week"}}));
}

TEST(IncidentSurfaceFacts, NextActionSuppressesNextAndOutcome) {
    auto incident = bare();
    incident.actionRationale = "Safe next move: restart";
    incident.outcomeLine = "Last action: restarted";
    EXPECT_EQ(labelsAndTexts(primarySurfaceFacts(incident)), (Pairs{{"Next", "Restart"}}));
    incident.actionRationale.reset();
    EXPECT_EQ(labelsAndTexts(primarySurfaceFacts(incident)), (Pairs{{"Outcome", "Restarted"}}));
    incident.nextAction = ActionDescriptor{"restart", "Restart", ActionStyle::primary, "k"};
    incident.actionRationale = "Safe next move: restart";
    incident.decisionLine = "Decision: act";
    EXPECT_EQ(labelsAndTexts(primarySurfaceFacts(incident)), (Pairs{{"Decision", "Act"}}));
}

TEST(IncidentSurfaceFacts, SameSentenceInOtherCaseIsKeptOnce) {
    auto incident = bare();
    incident.decisionLine = "Memory grows without bound";
    incident.causeLine = "MEMORY GROWS WITHOUT BOUND";
    const auto facts = primarySurfaceFacts(incident);
    ASSERT_EQ(facts.size(), 1u);
    EXPECT_EQ(facts[0].label, "Decision");
    EXPECT_TRUE(facts[0].isPrimary);
}

TEST(IncidentSurfaceFacts, FallsBackToWhyLines) {
    auto incident = bare();
    incident.whyLines = {"  steady growth",       "Steady growth", "",
                         "no release after idle", "swap rising",   "fifth"};
    EXPECT_EQ(labelsAndTexts(primarySurfaceFacts(incident)),
              (Pairs{{"Why", "Steady growth"},
                     {"Why", "No release after idle"},
                     {"Why", "Swap rising"}}));
    // A blank decision line does not count as a fact.
    incident.decisionLine = "Decision:   ";
    EXPECT_EQ(primarySurfaceFacts(incident).at(0).label, "Why");
    EXPECT_EQ(primarySurfaceFacts(IncidentSnapshot::fallback()).size(), 2u);
}

TEST(IncidentConfidenceSteps, BlankStepsAreDroppedAndAtMostThreeKept) {
    auto incident = bare();
    const auto tone = IncidentConfidenceTone::strong;
    incident.confidenceSteps = {{" ", "x", tone}, {"a", "1", tone}, {"b", "\n", tone},
                                {"c", "3", tone}, {"d", "4", tone}, {"e", "5", tone}};
    const auto steps = primaryConfidenceSteps(incident);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].label, "a");
    EXPECT_EQ(steps[2].label, "d");
}

TEST(IncidentSurfaceMetrics, ConfidenceLeadsWhenThereAreNoSteps) {
    auto incident = bare();
    incident.confidenceLabel = "High";
    incident.primaryMetrics = {
        {"RSS", "4 GB"}, {"RSS", "5 GB"}, {"Swap", " "}, {"Growth", "1 GB/h"}, {"Age", "2h"}};
    EXPECT_EQ(primarySurfaceMetrics(incident),
              (std::vector<DiagnosticMetric>{
                  {"Confidence", "High"}, {"RSS", "4 GB"}, {"Growth", "1 GB/h"}}));

    incident.confidenceSteps = {{"Trend", "up", IncidentConfidenceTone::watch}};
    EXPECT_EQ(
        primarySurfaceMetrics(incident),
        (std::vector<DiagnosticMetric>{{"RSS", "4 GB"}, {"Growth", "1 GB/h"}, {"Age", "2h"}}));

    incident.primaryMetrics.clear();
    incident.metricLine = "12 GB used";
    EXPECT_EQ(primarySurfaceMetrics(incident),
              (std::vector<DiagnosticMetric>{{"Metrics", "12 GB used"}}));
    // A metric named like the leading Confidence metric is not repeated.
    incident.confidenceSteps.clear();
    incident.primaryMetrics = {{"Confidence", "other"}};
    EXPECT_EQ(primarySurfaceMetrics(incident),
              (std::vector<DiagnosticMetric>{{"Confidence", "High"}}));
}

TEST(ActionLabels, WellKnownIdsHaveShortCaptions) {
    auto label = [](std::string id, std::string text) {
        return actionDisplayLabel(
            ActionDescriptor{std::move(id), std::move(text), ActionStyle::secondary, "k"});
    };
    EXPECT_EQ(label("select_detail", "Open details"), "Inspect");
    EXPECT_EQ(label("restart", "Restart Xcode"), "Restart");
    EXPECT_EQ(label("recover", "Quit Slack"), "Quit");
    EXPECT_EQ(label("recover", "Quitting"), "Recover");
    EXPECT_EQ(label("recover", "quit Slack"), "Recover");
    EXPECT_EQ(label("ignore", "Ignore for now"), "Ignore");
    EXPECT_EQ(label("request_force_quit", "Force quit"), "Shut Down");
    EXPECT_EQ(label("capture_evidence", "Capture heap"), "Capture heap");
}

TEST(Identities, JoinTheDocumentedFields) {
    EXPECT_EQ(identity(IncidentConfidenceStep{"a", "b", IncidentConfidenceTone::evidence}),
              "a|b|evidence");
    EXPECT_EQ(
        identity(IncidentAttributionFact{"a", "b", std::nullopt, IncidentConfidenceTone::neutral}),
        "a|b||neutral");
    EXPECT_EQ(identity(IncidentAttributionFact{"a", "b", "c", IncidentConfidenceTone::strong}),
              "a|b|c|strong");
    EXPECT_EQ(identity(IncidentTimelineItem{"a", "b", "c", TimelineTone::action}), "a|b|c");
    EXPECT_EQ(identity(DiagnosticMetric{"a", "b"}), "a");
    EXPECT_EQ(identity(IncidentPrimarySurfaceFact{"a", "b", true}), "a|b");
}
