// SPDX-License-Identifier: GPL-3.0-or-later
// The incident card's own texts travel with their codes and figures: the calm card, who the
// card is about, its evidence, confidence and ladder, its figures and how it samples. The app
// composes, from the codes alone (through the wire and back), the very texts the monitor wrote;
// the calm card a snapshot carries when it sends no incident is composed the same way, an
// unknown code shows the monitor's text, and a figure of the wrong type fails with its path.
#include "ComposeFixture.h"
#include "SentOverWire.h"
#include "base/Translate.h"
#include "model/Codec.h"
#include "model/PopoverSnapshot.h"
#include "monitor/compose/IncidentBuilder.h"
#include "state/CardTexts.h"
#include "state/IncidentFacts.h"

#include <gtest/gtest.h>
#include <tuple>

namespace velmora {
namespace {

// Every text of the card that its codes stand for, one per line.
std::string cardTexts(const IncidentSnapshot& incident) {
    std::string text = "stage: " + incident.stageLabel + "\nheadline: " + incident.headline +
                       "\nattribution: " + incident.attributionLine +
                       "\nevidence: " + incident.evidenceLabel +
                       "\nconfidence: " + incident.confidenceLabel + "\n";
    for (const auto& step : incident.confidenceSteps) {
        text += "step: " + identity(step) + "\n";
    }
    for (const auto& metric : incident.primaryMetrics) {
        text += "metric: " + metric.label + " = " + metric.value + "\n";
    }
    for (const auto& fact : incident.attributionFacts) {
        text += "fact: " + identity(fact) + "\n";
    }
    for (const auto& line : incident.whyLines) {
        text += "why: " + line + "\n";
    }
    for (const auto& line : incident.contextLines) {
        text += "context: " + line + "\n";
    }
    return text;
}

// Every card code composes a text of its own, and the lists line up with their texts: none
// falls back to the monitor's.
void expectEveryCodeComposes(const IncidentSnapshot& incident) {
    ASSERT_TRUE(incident.cardCodes);
    const CardCodes& codes = *incident.cardCodes;
    ASSERT_TRUE(codes.attribution && codes.evidence && codes.confidence);
    EXPECT_EQ(codes.steps.size(), incident.confidenceSteps.size());
    EXPECT_EQ(codes.metrics.size(), incident.primaryMetrics.size());
    EXPECT_EQ(codes.largest.has_value(), incident.attributionFacts.size() == 2);
    EXPECT_TRUE(attributionText(*codes.attribution)) << codes.attribution->code.wire;
    EXPECT_TRUE(evidenceText(*codes.evidence)) << codes.evidence->code.wire;
    EXPECT_TRUE(cardConfidenceText(*codes.confidence)) << codes.confidence->code.wire;
    for (const auto& step : codes.steps) {
        EXPECT_TRUE(ladderStep(step, IncidentConfidenceTone::neutral)) << step.code.wire;
    }
    for (const auto& metric : codes.metrics) {
        EXPECT_TRUE(cardMetric(metric)) << metric.code.wire;
    }
    if (codes.largest) {
        EXPECT_TRUE(largestProcessText(*codes.largest));
    }
    if (codes.sampling) {
        EXPECT_TRUE(samplingText(*codes.sampling));
    }
}

// The card composed from the codes it was sent reads as the monitor's texts.
void expectCardComposesAsSent(const IncidentSnapshot& incident) {
    ASSERT_TRUE(incident.cardCodes);
    const IncidentSnapshot received = sent(incident);
    expectEveryCodeComposes(received);
    EXPECT_EQ(cardTexts(withCardTexts(received)), cardTexts(incident));
    EXPECT_EQ(stageLabelText(received), incident.stageLabel);
    EXPECT_EQ(headlineLine(received), incident.headline);
    EXPECT_EQ(attributionLineText(received), incident.attributionLine);
    EXPECT_EQ(evidenceLine(received), incident.evidenceLabel);
}

// The monitor's state on a December afternoon.
struct AfternoonFixture : ComposeFixture {
    AfternoonFixture() { wallNow = 1'765'200'000; }
};

TEST(CardCodes, TheCalmCardSaysWhatTheMonitorSays) {
    AfternoonFixture composer;
    composer.view.watchedProcesses = 214;
    composer.view.familyCount = 61;
    composer.view.machine.valid = true;
    composer.view.machine.memory.totalKiB = 16 << 20;
    composer.view.machine.memory.availableKiB = 9 << 20;
    const IncidentSnapshot calm = composer.incident(nullptr);
    EXPECT_EQ(knownCode(calm.cardCodes->kind), CardKindCode::calm);
    EXPECT_EQ(calm.cardCodes->attribution->figures.count, 214);
    EXPECT_EQ(calm.cardCodes->attribution->figures.familyCount, 61);
    expectCardComposesAsSent(calm);

    composer.view.watchedProcesses = 1;
    composer.view.familyCount = 1;
    composer.view.machine.valid = false; // the totals could not be read
    const IncidentSnapshot unread = composer.incident(nullptr);
    EXPECT_EQ(unread.primaryMetrics.front().value, "Headroom unavailable");
    EXPECT_EQ(unread.attributionLine, "Watching 1 process in 1 family");
    expectCardComposesAsSent(unread);
    // Each count reads in the singular on its own.
    for (auto [processes, families, line] :
         {std::tuple{1, 3, "Watching 1 process in 3 families"},
          std::tuple{5, 1, "Watching 5 processes in 1 family"},
          std::tuple{0, 0, "Watching 0 processes in 0 families"}}) {
        composer.view.watchedProcesses = processes;
        composer.view.familyCount = families;
        const IncidentSnapshot counted = composer.incident(nullptr);
        EXPECT_EQ(counted.attributionLine, line);
        expectCardComposesAsSent(counted);
    }
}

TEST(CardCodes, TheCalmCardOfASnapshotWithoutAnIncidentIsComposedToo) {
    // What the demo scenarios and older monitors leave out decodes to the calm card, codes and
    // all, so the app composes it like the monitor's own.
    const auto snapshot = decode<PopoverSnapshot>(Json::object());
    ASSERT_TRUE(snapshot) << snapshot.error().text();
    const IncidentSnapshot& calm = snapshot.value().incident;
    EXPECT_EQ(calm, IncidentSnapshot::fallback());
    expectCardComposesAsSent(calm);
    EXPECT_EQ(cardMetrics(calm).size(), 2u) << "confidence and the memory totals";

    // Recognised by its codes, not by its words: under a catalogue every text changes.
    setTranslator([](const char*, const char* source, const char*, int n) {
        std::string text = std::string("[") + source + "]";
        return n >= 0 ? withArguments(text, {std::to_string(n)}) : text;
    });
    const IncidentSnapshot translated = withCardTexts(calm);
    setTranslator(nullptr);
    EXPECT_EQ(translated.headline, "[No active memory incident]");
    EXPECT_EQ(translated.stageLabel, "[Normal]");
    EXPECT_EQ(translated.attributionLine, "[Waiting for the next local sampling pass]");
    EXPECT_EQ(translated.evidenceLabel, "[No stronger evidence needed right now]");
    EXPECT_EQ(translated.confidenceLabel, "[Local passive monitor]");
    EXPECT_EQ(translated.primaryMetrics.front().value, "[Memory totals unavailable]");
    ASSERT_EQ(translated.whyLines.size(), 2u);
    EXPECT_EQ(translated.whyLines.back().front(), '[');
}

TEST(CardCodes, TheIncidentCardSaysWhatTheMonitorSaysAtEveryStep) {
    AfternoonFixture composer;
    FamilyView family = leakingFamily();
    family.appId = "org.gnome.TextEditor";
    family.assessment.baselineKiB = 700 * kMiBInKiB;
    expectCardComposesAsSent(composer.incident(&family)); // before evidence, in an app scope

    composer.interaction.artifacts[family.key].wallTime = composer.wallNow - 600;
    const IncidentSnapshot captured = composer.incident(&family);
    EXPECT_EQ(captured.cardCodes->steps.size(), 4u) << "the evidence joins the ladder";
    EXPECT_EQ(captured.cardCodes->evidence->figures.today, true);
    expectCardComposesAsSent(captured);

    composer.interaction.artifacts[family.key].wallTime = composer.wallNow - 3 * 86'400;
    family.appId.clear();
    family.workspace = "/home/ada/src";
    family.assessment.score = 91;
    expectCardComposesAsSent(composer.incident(&family)); // another day, in a workspace

    family.workspace.clear();
    family.assessment.hasRate = false;
    family.assessment.baselineKiB = 0;
    for (int score : {10, 50, 65}) {
        family.assessment.score = score;
        expectCardComposesAsSent(composer.incident(&family)); // under a PID, no rate, no typical
    }

    family.members.resize(1);
    expectCardComposesAsSent(composer.incident(&family)); // one process
    family.members.clear();
    expectCardComposesAsSent(composer.incident(&family)); // its processes gone
}

TEST(CardCodes, TheCodesAreTheOnesOfTheTexts) {
    AfternoonFixture composer;
    FamilyView family = leakingFamily();
    const IncidentSnapshot incident = composer.incident(&family);
    const CardCodes& codes = *incident.cardCodes;
    EXPECT_FALSE(codes.kind) << "only the calm card says its stage by its kind";
    EXPECT_EQ(codes.attribution->code, OpenCode<AttributionCode>(AttributionCode::underPid));
    EXPECT_EQ(codes.attribution->figures.count, 3);
    EXPECT_EQ(codes.attribution->figures.pid, 4242);
    EXPECT_EQ(codes.evidence->code, OpenCode<EvidenceCode>(EvidenceCode::notYet));
    EXPECT_EQ(codes.confidence->figures.score, 72);
    ASSERT_EQ(codes.steps.size(), 3u);
    EXPECT_EQ(codes.steps[0].figures.rateKiBPerSecond, 137.3);
    EXPECT_EQ(codes.steps[1].figures.fraction, 0.826);
    EXPECT_EQ(codes.steps[2].figures.trend, 71);
    ASSERT_EQ(codes.metrics.size(), incident.primaryMetrics.size());
    EXPECT_EQ(codes.metrics[0].figures.footprintKiB, 1900.0 * kMiBInKiB);
    EXPECT_EQ(codes.largest->pid, 4242);
    EXPECT_EQ(codes.largest->footprintKiB, 1200.0 * kMiBInKiB);
    EXPECT_EQ(codes.sampling->name, "/proc");
}

TEST(CardCodes, WhatTheAppDoesNotKnowShowsTheMonitorsText) {
    AfternoonFixture composer;
    FamilyView family = leakingFamily();
    IncidentSnapshot incident = composer.incident(&family);
    Json json = encode(incident);
    json["cardCodes"]["attribution"]["code"] = "inAContainer";
    json["cardCodes"]["steps"][1]["code"] = "somethingNew";
    json["cardCodes"]["metrics"].erase(0); // lists that no longer line up stay as sent
    auto received = decode<IncidentSnapshot>(json);
    ASSERT_TRUE(received) << received.error().text();
    EXPECT_FALSE(received.value().cardCodes->attribution->code.known);
    setTranslator([](const char*, const char* source, const char*, int) {
        return std::string("[") + source + "]";
    });
    const IncidentSnapshot shown = withCardTexts(received.value());
    setTranslator(nullptr);
    EXPECT_EQ(shown.attributionLine, incident.attributionLine);
    EXPECT_EQ(shown.confidenceSteps[1], incident.confidenceSteps[1]);
    EXPECT_EQ(shown.confidenceSteps[0].label, "[Growth]");
    EXPECT_EQ(shown.primaryMetrics, incident.primaryMetrics);
    ASSERT_EQ(shown.attributionFacts.size(), 2u);
    EXPECT_EQ(shown.attributionFacts[0], incident.attributionFacts[0]) << "its line was unknown";
    EXPECT_EQ(shown.attributionFacts[1].label, "[Largest]");

    json = encode(incident);
    json["cardCodes"]["steps"][1]["fraction"] = "most";
    const auto wrong = decode<IncidentSnapshot>(json);
    ASSERT_FALSE(wrong);
    EXPECT_EQ(wrong.error().text(), "cardCodes.steps[1].fraction: expected number, got string");
}

} // namespace
} // namespace velmora
