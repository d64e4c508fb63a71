// SPDX-License-Identifier: GPL-3.0-or-later
// The codes and figures the monitor sends beside its texts say what the texts say: the app
// composes, from the codes alone, the very texts the monitor wrote, for every kind of reason,
// for the rows' and the detail's summary sentence, for the incident card's lines, for a row's
// figures and for the forecast.
#include "ComposeFixture.h"
#include "model/Codec.h"
#include "monitor/compose/DetailBuilder.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/compose/ForecastTexts.h"
#include "monitor/compose/IncidentBuilder.h"
#include "monitor/compose/SnapshotComposer.h"
#include "state/ForecastTexts.h"
#include "state/IncidentFacts.h"
#include "state/ReasonTexts.h"
#include "state/SummaryTexts.h"
#include "state/TimelineTexts.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmora {
namespace {

FamilyAssessment growing() {
    FamilyAssessment a;
    a.hasRate = true;
    a.rising = true;
    a.rateKiBPerSecond = 137.3;
    a.tau = 0.713;
    a.steadiness = 0.826;
    a.consistency = 0.9;
    a.floorAgreement = 0.9;
    a.windowSeconds = 900;
    a.curvature = 1.7;
    a.footprintKiB = 1900 * kMiBInKiB;
    a.score = 72;
    a.verdict = FindingVerdict::probable;
    return a;
}

FamilyView familyWith(const FamilyAssessment& a) {
    FamilyView family;
    family.key = "app:editor";
    family.title = "editor";
    family.footprintKiB = a.footprintKiB;
    family.assessment = a;
    MemberView member;
    member.identity.pid = 4242;
    member.name = "editor";
    member.footprintKiB = a.footprintKiB;
    family.members.push_back(member);
    return family;
}

std::vector<ReasonCode> codesOf(const std::vector<ComposedReason>& reasons) {
    std::vector<ReasonCode> codes;
    for (const auto& reason : reasons) {
        codes.push_back(reason.code.code.known.value());
    }
    return codes;
}

// The summary sentence's code composes its text, through the wire and back.
void expectSummarySaysItsText(const FamilyView& family) {
    const ComposedExplanation summary = composedExplanationOf(family);
    ASSERT_TRUE(summary.code);
    const auto sent = decode<Coded<ReasonCode>>(encode(*summary.code));
    ASSERT_TRUE(sent) << sent.error().text();
    EXPECT_EQ(summaryText(sent.value()), summary.text) << toWire(*summary.code->code.known);
}

// Every reason's code composes its text, through the wire and back, and the codes are these;
// so does the summary sentence.
void expectCodesSayTheTexts(const FamilyView& family, const std::vector<ReasonCode>& expected) {
    expectSummarySaysItsText(family);
    const auto reasons = composedReasonsOf(family);
    EXPECT_EQ(codesOf(reasons), expected);
    for (const auto& reason : reasons) {
        const auto sent = decode<Coded<ReasonCode>>(encode(reason.code));
        ASSERT_TRUE(sent) << sent.error().text();
        EXPECT_EQ(reasonText(sent.value()), reason.text) << toWire(*reason.code.code.known);
    }
}

TEST(WireReasonCodes, SteadyClimbOfTheMedians) {
    FamilyAssessment a = growing();
    a.hourRateKiBPerSecond = 40.25;
    a.sixHourRateKiBPerSecond = 12.5;
    a.baselineKiB = 700 * kMiBInKiB;
    a.baselineMultiple = 2.714;
    a.idle = true;
    a.exhaustionSeconds = 2 * 3600 + 25 * 60;
    expectCodesSayTheTexts(familyWith(a),
                           {ReasonCode::medianRate, ReasonCode::medianSteadiness,
                            ReasonCode::hourRate, ReasonCode::sixHourRate, ReasonCode::baseline,
                            ReasonCode::idle, ReasonCode::exhaustion});
}

TEST(WireReasonCodes, SawtoothJudgedByItsFloorThatStopped) {
    FamilyAssessment a = growing();
    a.floorBased = true;
    a.stoppedSeconds = 7 * 60 + 12;
    a.floorAgreement = 0.3;
    expectCodesSayTheTexts(familyWith(a), {ReasonCode::sawtoothFloor, ReasonCode::floorSteadiness,
                                           ReasonCode::growthStopped, ReasonCode::allocateAndFree});
}

TEST(WireReasonCodes, StairsThatAreNeverGivenBack) {
    FamilyAssessment a = growing();
    a.stairs = true;
    a.stairSteps = 6;
    a.stairSeconds = 47 * 60;
    a.stoppedSeconds = 120; // a stair that rests is no stop
    expectCodesSayTheTexts(familyWith(a), {ReasonCode::stairs});
}

TEST(WireReasonCodes, WhatHoldsAGrowingFamilyBack) {
    FamilyAssessment a = growing();
    a.verdict = FindingVerdict::watch;
    a.young = true;
    a.revisited = true;
    a.decelerating = true;
    a.step = true;
    expectCodesSayTheTexts(familyWith(a),
                           {ReasonCode::medianRate, ReasonCode::medianSteadiness, ReasonCode::young,
                            ReasonCode::revisited, ReasonCode::decelerating, ReasonCode::oneStep});
    expectCodesSayTheTexts(familyWith(FamilyAssessment{}), {ReasonCode::notEnoughSamples});
}

TEST(WireReasonCodes, SharedMemory) {
    FamilyView family = familyWith(growing());
    family.sharedKiB = 600 * kMiBInKiB;
    family.members[0].growthKiB = 300 * kMiBInKiB;
    family.members[0].sharedGrowthKiB = 250 * kMiBInKiB;
    expectCodesSayTheTexts(
        family, {ReasonCode::medianRate, ReasonCode::medianSteadiness, ReasonCode::sharedGrowth});
    family.members[0].sharedGrowthKiB = 0;
    expectCodesSayTheTexts(
        family, {ReasonCode::medianRate, ReasonCode::medianSteadiness, ReasonCode::sharedPart});
}

TEST(WireReasonCodes, MemberJudgedOnItsOwnAndTheFamilyAsAWhole) {
    FamilyView family = familyWith(growing());
    MemberView helper = family.members[0];
    helper.identity.pid = 5151;
    helper.name = "";
    family.members.push_back(helper);
    family.members[0].growing = true;
    for (int shape = 0; shape < 3; ++shape) {
        FamilyAssessment whole = growing();
        whole.verdict = FindingVerdict::watch;
        whole.stairs = shape == 0;
        whole.stairSteps = 3;
        whole.stairSeconds = 1800;
        whole.floorBased = shape == 1;
        whole.stoppedSeconds = shape == 2 ? std::optional<double>(400) : std::nullopt;
        family.familyAssessment = whole;
        expectCodesSayTheTexts(family, {ReasonCode::growingMember, ReasonCode::medianRate,
                                        ReasonCode::medianSteadiness, ReasonCode::familyAsWhole});
    }
}

// Everything the card shows of an incident, one line each.
std::string cardShown(const IncidentSnapshot& incident) {
    std::string text = "stage: " + stageLabelText(incident) + "\n";
    text += "headline: " + headlineLine(incident) + "\n";
    text += "impact: " + impactLine(incident).value_or("-") + "\n";
    for (const auto& fact : primarySurfaceFacts(incident)) {
        text += fact.label + ": " + fact.text + (fact.isPrimary ? " (primary)\n" : "\n");
    }
    text += "next: " + nextActionLine(incident).value_or("-") + "\n";
    return text + "status: " + actionStatusLine(incident).value_or("-") + "\n";
}

// The card reads the same from the codes as from the lines alone, as an older app reads them.
void expectCodedCardReadsAsItsLines(const IncidentSnapshot& incident) {
    ASSERT_TRUE(incident.codes);
    IncidentSnapshot linesOnly = incident;
    linesOnly.codes.reset();
    const auto sent = decode<IncidentSnapshot>(encode(incident));
    ASSERT_TRUE(sent) << sent.error().text();
    EXPECT_EQ(cardShown(sent.value()), cardShown(linesOnly));
}

TEST(WireIncidentCodes, TheCardReadsAlikeAtEveryStep) {
    ComposeFixture composer;
    FamilyAssessment a = growing();
    a.baselineKiB = 800 * kMiBInKiB;
    FamilyView family = familyWith(a);
    expectCodedCardReadsAsItsLines(composer.incident(&family)); // before evidence

    composer.interaction.artifacts[family.key] = CapturedArtifact{};
    expectCodedCardReadsAsItsLines(composer.incident(&family)); // restart proposed

    family.isProtected = true;
    family.assessment.idle = true;
    family.assessment.baselineKiB = 0;
    family.assessment.hasRate = false;
    expectCodedCardReadsAsItsLines(
        composer.incident(&family)); // nothing to signal, no history, no rate

    family.assessment.verdict = FindingVerdict::criticalRunaway;
    family.assessment.exhaustionSeconds = 25 * 60 + 40;
    expectCodedCardReadsAsItsLines(composer.incident(&family)); // running away, memory runs out

    composer.interaction.outcomes[family.key] = "editor was asked to quit.";
    IncidentSnapshot after = composer.incident(&family);
    after.actionRationale.reset(); // the outcome speaks when there is no next step
    after.codes->nextStep.reset();
    expectCodedCardReadsAsItsLines(after);
    EXPECT_EQ(actionStatusLine(after), "Editor was asked to quit.");
}

TEST(WireIncidentCodes, TheCodesAreTheOnesOfTheLines) {
    ComposeFixture composer;
    FamilyAssessment a = growing();
    a.idle = true;
    const FamilyView family = familyWith(a);
    const IncidentSnapshot incident = composer.incident(&family);
    const IncidentCodes& codes = *incident.codes;
    EXPECT_EQ(codes.decision->verdict, OpenCode<FindingVerdict>(FindingVerdict::probable));
    EXPECT_EQ(codes.decision->rateKiBPerSecond, a.rateKiBPerSecond);
    EXPECT_EQ(codes.cause, OpenCode<CauseCode>(CauseCode::idleGrowth));
    EXPECT_EQ(codes.nextStep, OpenCode<NextStepCode>(NextStepCode::captureEvidence));
    EXPECT_EQ(codes.headline, OpenCode<HeadlineCode>(HeadlineCode::keepsGrowing));
    EXPECT_EQ(codes.impact->footprintKiB, 1900.0 * kMiBInKiB);
    EXPECT_FALSE(codes.impact->seconds) << "no estimate, none in the impact";
    EXPECT_EQ(codes.reasons.size(), incident.whyLines.size());
    EXPECT_EQ(reasonTexts(codes.reasons, {}), std::vector<std::string>{})
        << "lists that do not line up show the monitor's texts";
}

// The detail's reasons, through the wire, read the same from their codes.
void expectDetailReasonsReadAlike(const DetailSnapshot& detail) {
    const auto sent = decode<DetailSnapshot>(encode(detail));
    ASSERT_TRUE(sent) << sent.error().text();
    const WhyBlock& why = sent.value().whyBlock;
    ASSERT_EQ(why.reasonCodes.size(), why.reasons.size());
    for (std::size_t i = 0; i < why.reasons.size(); ++i) {
        EXPECT_EQ(reasonText(why.reasonCodes[i]), why.reasons[i]);
    }
}

TEST(WireDetailCodes, ReasonsOfTheDetailIncludingTheKernelsFirstVictim) {
    ComposeFixture composer;
    FamilyView family = familyWith(growing());
    composer.view.families.push_back(family);
    OomVictimView victim;
    victim.ours = true;
    victim.familyKey = family.key;
    victim.pid = 4242;
    victim.name = "editor";
    composer.view.forecast.firstVictim = victim;
    expectDetailReasonsReadAlike(composer.detail(family.key));
    composer.view.forecast.exhaustionSeconds = 1500;
    const DetailSnapshot detail = composer.detail(family.key);
    EXPECT_EQ(detail.whyBlock.reasonCodes.back().code.known, ReasonCode::endedFirst);
    expectDetailReasonsReadAlike(detail);
    EXPECT_EQ(summaryShown(detail.verdictBlock.explanationCode, "-"),
              detail.verdictBlock.explanation);
}

TEST(WireDetailCodes, TheTimelineFromItsCodesWithTheEventsAsSent) {
    ComposeFixture composer;
    FamilyView family = familyWith(growing());
    family.firstSeen = 100;
    composer.view.monotonicTime = 100 + 7 * 60 + 30;
    composer.view.families.push_back(family);
    composer.interaction.events[family.key].push_back(
        {"12:04", "Evidence captured", "smaps_rollup and status saved", TimelineTone::evidence});
    const auto sent = decode<DetailSnapshot>(encode(composer.detail(family.key)));
    ASSERT_TRUE(sent) << sent.error().text();
    const DetailSnapshot& detail = sent.value();
    ASSERT_EQ(detail.timelineCodes.size(), 3u);
    EXPECT_EQ(detail.timelineCodes[1].code.known, TimelineCode::now);
    EXPECT_EQ(timelineShown(detail), detail.timeline);
    DetailSnapshot unknown = detail;
    unknown.timelineCodes[0].code = OpenCode<TimelineCode>::unknown("restarted");
    unknown.timeline[0].title = "as the monitor says it";
    EXPECT_EQ(timelineShown(unknown)[0].title, "as the monitor says it");
    expectDetailReasonsReadAlike(composer.detail("app:gone"));
}

TEST(WireRowCodes, FiguresOfTheRowTexts) {
    ComposeFixture composer;
    FamilyAssessment a = growing();
    a.exhaustionSeconds = 1800;
    const FindingSnapshot row = composer.row(familyWith(a));
    ASSERT_TRUE(row.codes);
    EXPECT_EQ(row.codes->confidence, OpenCode<ConfidenceLevel>(ConfidenceLevel::high));
    EXPECT_EQ(row.codes->score, 72);
    EXPECT_EQ(row.confidencePillLabel, "High confidence \u00B7 score 72");
    EXPECT_EQ(row.codes->rateKiBPerSecond, a.rateKiBPerSecond);
    EXPECT_EQ(row.codes->curvature, OpenCode<CurvatureCode>(CurvatureCode::accelerating));
    EXPECT_EQ(row.curvatureLabel, "Accelerating growth");
    EXPECT_EQ(row.codes->exhaustionSeconds, 1800);
    EXPECT_EQ(row.codes->footprintKiB, static_cast<double>(a.footprintKiB));
    EXPECT_EQ(row.codes->explanation->code.known, ReasonCode::growthSummary);
    EXPECT_EQ(summaryShown(row.codes->explanation, "-"), row.explanation);

    FamilyView smoke = familyWith(a);
    smoke.smokeRole = SmokeRole::recovery;
    // A self-check row is not judged: its figures without a confidence or a score.
    FindingCodes measured = *row.codes;
    measured.confidence.reset();
    measured.score.reset();
    measured.rateMeasured = true;
    measured.explanation = Coded<ReasonCode>{ReasonCode::selfCheckTarget, {}};
    EXPECT_EQ(composer.row(smoke).codes, measured);
}

// The forecast through the wire: the app says who goes first and when memory runs out in the
// monitor's words, for one of our apps and for another user's process, named or not.
void expectForecastReadsAlike(const LiveView& view) {
    const auto forecast = memoryForecastOf(view);
    ASSERT_TRUE(forecast);
    const auto sent = decode<MemoryForecastSnapshot>(encode(*forecast));
    ASSERT_TRUE(sent) << sent.error().text();
    ASSERT_TRUE(sent.value().firstVictim);
    EXPECT_EQ(firstVictimText(*sent.value().firstVictim), forecast->firstVictimText);
    EXPECT_EQ(exhaustionLine(sent.value()), forecast->exhaustionText);
}

TEST(WireForecastCodes, WhoGoesFirstAndWhenMemoryRunsOut) {
    LiveView view;
    OomVictimView victim;
    victim.ours = true;
    victim.familyKey = "app:editor";
    victim.familyTitle = "Editor";
    victim.name = "editor";
    victim.pid = 4242;
    victim.footprintKiB = 3300 * kMiBInKiB;
    view.forecast.firstVictim = victim;
    for (double seconds : {30.0, 599.6, 2400.0, 3599.4}) {
        view.forecast.exhaustionSeconds = seconds;
        expectForecastReadsAlike(view);
    }
    view.forecast.firstVictim->ours = false;
    expectForecastReadsAlike(view);
    view.forecast.firstVictim->name.clear();
    expectForecastReadsAlike(view);

    MemoryForecastSnapshot unknown;
    unknown.firstVictim = Coded<VictimCode>{OpenCode<VictimCode>::unknown("aNewerKind"), {}};
    unknown.firstVictimText = "as the monitor says it";
    EXPECT_EQ(firstVictimLine(unknown), "as the monitor says it");
}

} // namespace
} // namespace velmora
