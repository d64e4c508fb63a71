// SPDX-License-Identifier: GPL-3.0-or-later
// The incident card's confidence steps and metrics, action captions and identities.
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

} // namespace

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
    // A recover reads "Quit" by its label's code, never by its words.
    ActionDescriptor quit{"recover", "Quit Slack", ActionStyle::secondary, "k"};
    EXPECT_EQ(actionDisplayLabel(quit), "Recover");
    quit.labelCode = ActionLabelCodes{ActionLabel::quitApp, {.name = "Slack"}};
    EXPECT_EQ(actionDisplayLabel(quit), "Quit");
    EXPECT_EQ(label("ignore", "Ignore for now"), "Ignore");
    EXPECT_EQ(label("request_force_quit", "Force quit"), "Shut Down");
    EXPECT_EQ(label("capture_evidence", "Capture heap"), "Capture heap");
    EXPECT_EQ(actionShortLabel({"capture_evidence", "Capture heap", ActionStyle::primary, "k"}),
              std::nullopt);
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
