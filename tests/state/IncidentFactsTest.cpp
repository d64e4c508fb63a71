// SPDX-License-Identifier: GPL-3.0-or-later
// What the incident card shows of an incident: composed from the monitor's codes when it sends
// them, else its lines without their lead-ins (older monitors, the demo scenarios).
#include "state/IncidentFacts.h"

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

TEST(IncidentCardCodes, LinesComeFromTheCodesWhateverTheirWords) {
    auto incident = bare();
    // Words the card could not take apart: the codes say what the lines mean.
    incident.stage = IncidentStage::evidenceCaptured;
    incident.stageLabel = "Beweise gesichert";
    incident.decisionLine = "Entscheidung: wahrscheinliches Leck";
    incident.causeLine = "Ursache: wächst im Leerlauf";
    incident.changeLine = "Geändert: 48 MB mehr";
    incident.actionRationale = "Sicherer nächster Schritt: neu starten";
    IncidentCodes codes;
    codes.decision = CodeFigures{.rateKiBPerSecond = 140.5, .verdict = FindingVerdict::probable};
    codes.cause = CauseCode::idleGrowth;
    codes.change = CodeFigures{.seconds = 900, .growthKiB = 49152};
    codes.nextStep = NextStepCode::restartGracefully;
    incident.codes = codes;
    EXPECT_EQ(stageLabelText(incident), "Evidence captured");
    EXPECT_EQ(labelsAndTexts(primarySurfaceFacts(incident)),
              (Pairs{{"Decision", "Probable leak at +8.2 MB/min"},
                     {"Cause", "Memory rises while the app is idle, typical of a leak"},
                     {"Change", "48.0 MB more over 15 min"}}));
    EXPECT_EQ(nextActionLine(incident), "Restart it gracefully to give the memory back");

    // The last action's outcome in its own words, once there is no next step.
    incident.actionRationale.reset();
    incident.codes->nextStep.reset();
    incident.outcomeLine = "Letzte Aktion: beendet";
    incident.codes->outcome = "editor was asked to quit.";
    EXPECT_EQ(actionStatusLine(incident), "Editor was asked to quit.");
}

TEST(IncidentCardCodes, UnknownCodesShowTheMonitorsLines) {
    auto incident = bare();
    incident.decisionLine = "Decision: meltdown at +9.0 MB/min";
    incident.causeLine = "Cause: fragmentation";
    incident.memoryLine = "History: 9 incidents this year";
    incident.actionRationale = "Safe next move: trim its caches";
    IncidentCodes codes;
    codes.decision = CodeFigures{.verdict = OpenCode<FindingVerdict>::unknown("meltdown")};
    codes.cause = OpenCode<CauseCode>::unknown("fragmentation");
    codes.history = Coded<HistoryCode>{OpenCode<HistoryCode>::unknown("incidentsThisYear"), {}};
    codes.nextStep = OpenCode<NextStepCode>::unknown("trimCaches");
    incident.codes = codes;
    EXPECT_EQ(labelsAndTexts(primarySurfaceFacts(incident)),
              (Pairs{{"Decision", "Meltdown at +9.0 MB/min"},
                     {"Cause", "Fragmentation"},
                     {"History", "9 incidents this year"}}));
    EXPECT_EQ(nextActionLine(incident), "Trim its caches");
}

TEST(IncidentCardCodes, WhyLinesFromTheirCodesOrAsSent) {
    auto incident = bare();
    incident.whyLines = {"Über die letzte Stunde: +4,0 MB/min.", "A reason this build cannot say."};
    IncidentCodes codes;
    codes.reasons = {{ReasonCode::hourRate, {.rateKiBPerSecond = 68.27}},
                     {OpenCode<ReasonCode>::unknown("newKind"), {}}};
    incident.codes = codes;
    EXPECT_EQ(labelsAndTexts(primarySurfaceFacts(incident)),
              (Pairs{{"Why", "Over the last hour: +4.0 MB/min."},
                     {"Why", "A reason this build cannot say."}}));
    // Figures missing for a known code: the monitor's line stands.
    incident.codes->reasons[0].figures = {};
    EXPECT_EQ(primarySurfaceFacts(incident).at(0).text, "Über die letzte Stunde: +4,0 MB/min.");
}
