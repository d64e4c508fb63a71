// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"
#include "demo/ScenarioParts.h"

namespace velmora::ScenarioLibrary {

using namespace parts;

namespace {

struct DetailVariant {
    const char* verdict;
    const char* confidence;
    const char* metricLine;
    const char* footprint;
    const char* growth;
    const char* score;
};

const DetailVariant& variantFor(FindingSeverity severity) {
    static const DetailVariant critical{"Critical runaway",
                                        "critical confidence · score 91",
                                        "6.8 GB footprint; +14.7 MB/min over 15m; score 91.",
                                        "6.8 GB",
                                        "+14.7 MB/min",
                                        "91"};
    static const DetailVariant probable{"Probable leak",
                                        "high confidence · score 76",
                                        "4.1 GB footprint; +8.2 MB/min over 15m; score 76.",
                                        "4.1 GB",
                                        "+8.2 MB/min",
                                        "76"};
    return severity == FindingSeverity::critical ? critical : probable;
}

ArtifactBoundaryBlock artifactBoundary(const std::string& key) {
    return ArtifactBoundaryBlock{
        "Artifact preview unavailable",
        "The captured evidence is kept on disk; open it with the tool that made it.",
        "Reason: inline renderer unavailable",
        {"artifact type: external tool evidence", "artifact size: 4.1 MB",
         "artifact path: /tmp/velmora/artifact"},
        {action(ActionId::openArtifactExternal, "Open externally", ActionStyle::secondary, key),
         action(ActionId::revealArtifact, "Show in Folder", ActionStyle::secondary, key),
         action(ActionId::copyArtifactPath, "Copy path", ActionStyle::secondary, key),
         action(ActionId::exportReport, "Export evidence", ActionStyle::primary, key)}};
}

} // namespace

DetailSnapshot detail(const std::string& key, FindingSeverity severity) {
    const DetailVariant& variant = variantFor(severity);
    DetailSnapshot value;
    value.key = key;
    value.title = key == chromeKey ? "Chrome" : key;
    value.verdictBlock = VerdictBlock{variant.verdict, variant.confidence, variant.metricLine};
    value.whyBlock = WhyBlock{{"Footprint grew for 15 minutes without a drop.",
                               "Growth continued while the machine was idle.",
                               "The family stays well above its healthy baseline."}};
    value.actBlock.actions = {
        action(ActionId::recover, "Recover", ActionStyle::primary, key),
        action(ActionId::restart, "Restart", ActionStyle::warning, key),
        action(ActionId::requestForceQuit, "Force Quit", ActionStyle::destructive, key)};
    value.actBlock.nextCommands = {NextCommandDescriptor{
        "velmora capture --target " + key, "Capture a heap profile with the external tool.",
        ActionDescriptor{"copy_next_command", "Copy command", ActionStyle::secondary, key}}};
    value.actBlock.requiresDestructiveConfirmation = true;
    value.timeline = {
        {"Now", variant.verdict, variant.metricLine, TimelineTone::watch},
        {"2m ago", "Outcome recorded", "Footprint fell from 4.1 GB to 1.8 GB after Restart app.",
         TimelineTone::outcome},
        {"4m ago", "Evidence captured", "external tool evidence · high confidence · 4.1 MB",
         TimelineTone::evidence},
    };
    value.diagnosticsBlock = DiagnosticsBlock{
        {"Key: " + key, "Processes: 14 in the family", "Owner: the desktop session"},
        {"15m slope stayed positive in every window.", "Idle growth: yes",
         "External tool evidence captured 4m ago."},
        {{"Footprint", variant.footprint}, {"Growth", variant.growth}, {"Score", variant.score}}};
    value.artifactBoundary = artifactBoundary(key);
    value.memorySeries = leakingSeries(severity);
    return value;
}

const AdvancedHistorySnapshot& advancedHistory() {
    static const AdvancedHistorySnapshot history = [] {
        AdvancedHistorySnapshot value;
        value.generatedAtMs = 1767225600000;
        value.offenders = {
            HistoricalOffenderSummarySnapshot{
                chromeKey,
                "Chrome",
                true,
                1767225600000,
                "Live now",
                2,
                2,
                1,
                92,
                "Historical critical",
                "Recurring above baseline",
                {"idle growth", "renderer helpers", "external evidence"},
                "Recurring issue pattern that is active again right now."},
            HistoricalOffenderSummarySnapshot{windowServerKey,
                                              "WindowServer",
                                              false,
                                              1766707200000,
                                              "6d ago",
                                              0,
                                              1,
                                              0,
                                              48,
                                              "Historical watch",
                                              "Usually healthy",
                                              {"pressure spike"},
                                              "Mostly normal. Recent pressure looks atypical."},
        };
        return value;
    }();
    return history;
}

AdvancedHistorySnapshot advancedHistoryDetail(const std::string& key) {
    AdvancedHistorySnapshot value = advancedHistory();
    if (key == chromeKey) {
        value.selectedDetail = HistoricalOffenderDetailSnapshot{
            chromeKey,
            "Chrome",
            "Historical critical",
            "Recurring above baseline",
            "Live now",
            {"idle growth", "renderer helpers", "external evidence"},
            "Recurring issue pattern that is active again right now.",
            {{"Incidents (30d)", "2"}, {"Critical (30d)", "1"}, {"Peak score", "92"}},
            {"The last incident ended with a restart 9 days ago.",
             "Growth resumes within a day of each restart."},
            offenderMonthSeries()};
    } else {
        value.selectedDetail = HistoricalOffenderDetailSnapshot{
            key,
            "WindowServer",
            "Historical watch",
            "Usually healthy",
            "6d ago",
            {"pressure spike"},
            "Mostly normal. Recent pressure looks atypical.",
            {{"Incidents (30d)", "1"}, {"Critical (30d)", "0"}, {"Peak score", "48"}},
            {"One watch-level spike during a display reconfiguration.",
             "No growth pattern across restarts."},
            std::nullopt};
    }
    return value;
}

} // namespace velmora::ScenarioLibrary
