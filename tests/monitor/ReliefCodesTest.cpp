// SPDX-License-Identifier: GPL-3.0-or-later
// The relief plan's texts travel with their codes and figures: its headline, its summary, the
// pressure it answers, what it aims to free and gives back, and each candidate's footprint and
// detail. The app composes, from the codes alone (through the wire and back), the very texts the
// monitor wrote, in every situation the plan words differently; a code it does not know shows
// the monitor's text, and a figure of the wrong type fails with its path.
#include "ComposeFixture.h"
#include "SentOverWire.h"
#include "base/Translate.h"
#include "model/Codec.h"
#include "monitor/compose/ReliefPlanner.h"
#include "state/ReliefTexts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr uint64_t kGiBInKiB = 1024 * kMiBInKiB;

// Every text of the plan that its codes stand for, one per line.
std::string reliefTexts(const ReliefPlanSnapshot& plan) {
    std::string text = "headline: " + plan.headline + "\nsummary: " + plan.summary +
                       "\npressure: " + plan.pressureLabel + "\ntarget: " + plan.targetFreeLabel +
                       "\nreclaim: " + plan.projectedReclaimLabel + "\n";
    for (const auto& candidate : plan.candidates) {
        text += "candidate: " + candidate.footprintLabel + " | " + candidate.detail + "\n";
    }
    return text;
}

// Every code of the plan composes a text of its own: none falls back to the monitor's.
void expectEveryCodeComposes(const ReliefPlanSnapshot& plan) {
    ASSERT_TRUE(plan.codes);
    const ReliefCodes& codes = *plan.codes;
    EXPECT_TRUE(reliefHeadlineText(codes)) << codes.headline->wire;
    EXPECT_TRUE(reliefSummaryText(codes));
    EXPECT_TRUE(reliefPressureText(codes));
    EXPECT_TRUE(reliefTargetText(codes));
    EXPECT_TRUE(reliefReclaimText(codes));
    for (const auto& candidate : plan.candidates) {
        ASSERT_TRUE(candidate.codes) << candidate.key;
        EXPECT_TRUE(candidateFootprintText(*candidate.codes)) << candidate.key;
        EXPECT_TRUE(candidateDetailText(*candidate.codes)) << candidate.key;
    }
}

// The plan composed from the codes it was sent reads as the monitor's texts.
void expectReliefComposesAsSent(const std::optional<ReliefPlanSnapshot>& plan) {
    ASSERT_TRUE(plan);
    const ReliefPlanSnapshot received = sent(*plan);
    expectEveryCodeComposes(received);
    EXPECT_EQ(reliefTexts(withReliefTexts(received)), reliefTexts(*plan));
}

FamilyView familyOf(const std::string& key, uint64_t footprintKiB, FindingVerdict verdict,
                    double rateKiBPerSecond) {
    FamilyView family;
    family.key = "app:" + key;
    family.title = key;
    family.footprintKiB = footprintKiB;
    family.assessment.verdict = verdict;
    family.assessment.hasRate = rateKiBPerSecond > 0;
    family.assessment.rateKiBPerSecond = rateKiBPerSecond;
    return family;
}

// A 16 GiB machine with `availableKiB` left at `level`, running an editor that leaks, a browser
// suspected of it and a large chat app that holds still.
struct ReliefFixture : ComposeFixture {
    ReliefFixture(PressureLevel level, uint64_t availableKiB) {
        view.machine.valid = true;
        view.machine.level = level;
        view.machine.memory = {16 * kGiBInKiB, availableKiB, 2 * kGiBInKiB, kGiBInKiB};
        view.families = {
            familyOf("editor", 3 * kGiBInKiB, FindingVerdict::criticalRunaway, 256.0),
            familyOf("browser", 2 * kGiBInKiB, FindingVerdict::probable, 90.5),
            familyOf("chat", 4 * kGiBInKiB, FindingVerdict::normal, 0),
        };
    }
    std::optional<ReliefPlanSnapshot> plan() const { return planRelief(context()); }

    // Memory runs out in `seconds`; `victim` is ours (the editor) or another user's process.
    void runsOutIn(double seconds) { view.forecast.exhaustionSeconds = seconds; }
    void endedFirst(bool ours, std::string name = "editor") {
        OomVictimView victim;
        victim.pid = 4242;
        victim.oomScore = 812;
        victim.name = std::move(name);
        victim.ours = ours;
        if (ours) {
            victim.familyKey = "app:editor";
            victim.familyTitle = "editor";
            victim.footprintKiB = 3 * kGiBInKiB;
        }
        view.forecast.firstVictim = victim;
    }
    // Memory runs out in ten minutes: every sentence of the summary, the editor ended first.
    void withEverySentence() {
        runsOutIn(600);
        endedFirst(true);
        killerIs(OomDaemon::systemdOomd);
        view.machineOomKills = 2;
    }
    void killerIs(OomDaemon daemon) {
        OomKiller killer;
        killer.daemon = daemon;
        killer.earlyoom.memKiB = 512 * kMiBInKiB;
        view.forecast.killer = killer;
    }
};

TEST(ReliefCodes, UnderPressureThePlanSaysWhatTheMonitorSays) {
    for (PressureLevel level :
         {PressureLevel::elevated, PressureLevel::high, PressureLevel::critical}) {
        ReliefFixture tight(level, kGiBInKiB);
        expectReliefComposesAsSent(tight.plan()); // getting tight, or free memory now
    }
    ReliefFixture tight(PressureLevel::high, kGiBInKiB);
    tight.endedFirst(true); // a candidate the kernel ends first, named without a forecast too
    tight.view.families[1].assessment.hasRate = false; // a suspect whose rate is not measured
    tight.view.machineOomKills = 3;                    // said only with a forecast
    const auto plan = tight.plan();
    expectReliefComposesAsSent(plan);
    EXPECT_EQ(plan->candidates[0].detail,
              "Critical runaway at +15.0 MB/min \u00B7 first to be ended if memory runs out");
    EXPECT_EQ(plan->candidates[1].detail, "Probable leak at N/A");

    tight.view.families.clear(); // nothing of ours worth quitting
    expectReliefComposesAsSent(tight.plan());
}

TEST(ReliefCodes, AForecastThePlanStatesComposesWithEverySentenceOfItsSummary) {
    ReliefFixture forecast(PressureLevel::normal, 6 * kGiBInKiB); // headroom above the target
    forecast.runsOutIn(25 * 60 + 7.5);
    forecast.endedFirst(true);
    forecast.killerIs(OomDaemon::systemdOomd);
    forecast.view.machineOomKills = 1;
    const auto plan = forecast.plan();
    expectReliefComposesAsSent(plan);
    EXPECT_EQ(plan->targetFreeLabel, "Headroom is back above 20%");

    forecast.runsOutIn(42); // under a minute, in the headline too
    forecast.endedFirst(false, "");
    forecast.killerIs(OomDaemon::earlyoom);
    forecast.view.machineOomKills = 12;
    forecast.view.machine.memory.swapTotalKiB = 0;
    expectReliefComposesAsSent(forecast.plan());

    forecast.endedFirst(false, "postgres");
    forecast.view.forecast.killer.reset();
    forecast.view.families.clear();
    expectReliefComposesAsSent(forecast.plan());
}

TEST(ReliefCodes, TheCodesAreTheOnesOfTheTexts) {
    ReliefFixture tight(PressureLevel::high, kGiBInKiB);
    tight.withEverySentence();
    const auto plan = tight.plan();
    ASSERT_TRUE(plan && plan->codes);
    const ReliefCodes& codes = *plan->codes;
    EXPECT_EQ(codes.headline, OpenCode<ReliefHeadlineCode>(ReliefHeadlineCode::runsOut));
    EXPECT_EQ(codes.exhaustionSeconds, 600.0);
    EXPECT_EQ(codes.advice, OpenCode<ReliefAdviceCode>(ReliefAdviceCode::quitRecommended));
    ASSERT_TRUE(codes.firstVictim);
    EXPECT_EQ(codes.firstVictim->figures.name, "editor");
    ASSERT_TRUE(codes.killer);
    EXPECT_EQ(codes.killer->code, OpenCode<KillerCode>(KillerCode::systemdOomd));
    EXPECT_EQ(codes.machineKills, 2);
    EXPECT_EQ(codes.pressure, OpenCode<PressureCode>(PressureCode::high));
    EXPECT_EQ(codes.target, OpenCode<ReliefTargetCode>(ReliefTargetCode::freeToTarget));
    EXPECT_EQ(codes.targetFraction, 0.2);
    // 20% of 16 GiB less the 1 GiB available.
    EXPECT_DOUBLE_EQ(*codes.freeKiB, 0.2 * 16 * kGiBInKiB - kGiBInKiB);
    EXPECT_EQ(codes.reclaimKiB, 5.0 * kGiBInKiB) << "the two suspects are recommended";

    ASSERT_EQ(plan->candidates.size(), 3u);
    const ReliefCandidateCodes& editor = *plan->candidates[0].codes;
    EXPECT_EQ(editor.reason, OpenCode<ReliefCandidateCode>(ReliefCandidateCode::suspect));
    EXPECT_EQ(editor.verdict, OpenCode<FindingVerdict>(FindingVerdict::criticalRunaway));
    EXPECT_EQ(editor.rateKiBPerSecond, 256.0);
    EXPECT_EQ(editor.footprintKiB, 3.0 * kGiBInKiB);
    EXPECT_EQ(editor.endedFirst, true);
    const ReliefCandidateCodes& chat = *plan->candidates[2].codes;
    EXPECT_EQ(chat.reason, OpenCode<ReliefCandidateCode>(ReliefCandidateCode::largest));
    EXPECT_FALSE(chat.verdict || chat.rateKiBPerSecond || chat.endedFirst);
}

TEST(ReliefCodes, UnderACatalogueEveryTextIsComposedAndTheUnknownShowsTheMonitorsText) {
    ReliefFixture tight(PressureLevel::high, kGiBInKiB);
    tight.withEverySentence();
    const ReliefPlanSnapshot plan = *tight.plan();
    setTranslator([](const char*, const char* source, const char*, int n) {
        std::string text = std::string("[") + source + "]";
        return n >= 0 ? withArguments(text, {std::to_string(n)}) : text;
    });
    const ReliefPlanSnapshot translated = withReliefTexts(sent(plan));
    Json json = encode(plan);
    json["codes"]["headline"] = "memoryIsFine";
    json["codes"]["killer"]["code"] = "someNewDaemon";
    json["candidates"][1]["codes"]["reason"] = "somethingNew";
    const auto received = decode<ReliefPlanSnapshot>(json);
    ASSERT_TRUE(received) << received.error().text();
    const ReliefPlanSnapshot shown = withReliefTexts(received.value());
    // What an older monitor sends, texts alone, is shown as it comes.
    json = encode(plan);
    json.erase("codes");
    for (auto& candidate : json["candidates"]) {
        candidate.erase("codes");
    }
    const auto older = decode<ReliefPlanSnapshot>(json);
    ASSERT_TRUE(older) << older.error().text();
    const ReliefPlanSnapshot olderShown = withReliefTexts(older.value());
    setTranslator(nullptr);

    EXPECT_EQ(translated.headline.substr(0, 22), "[Memory runs out in ~[");
    for (const char* sentence :
         {"[[Memory runs out in ",
          "[Quitting the recommended apps gracefully gives their memory back.]",
          "[First to be ended if memory runs out: editor, [", "[systemd-oomd acts above ",
          "out-of-memory kills on this machine since boot].]"}) {
        EXPECT_NE(translated.summary.find(sentence), std::string::npos)
            << sentence << " in " << translated.summary;
    }
    EXPECT_EQ(translated.pressureLabel, "[High pressure]");
    EXPECT_EQ(translated.targetFreeLabel.substr(0, 7), "[Free [");
    EXPECT_EQ(translated.candidates[0].detail.substr(0, 26), "[[[Critical runaway] at [+");
    EXPECT_EQ(translated.candidates[2].detail, "[Largest footprint, not growing]");

    EXPECT_EQ(shown.headline, plan.headline);
    EXPECT_EQ(shown.summary, plan.summary) << "one sentence unknown: the whole summary as sent";
    EXPECT_EQ(shown.candidates[1].detail, plan.candidates[1].detail);
    EXPECT_EQ(shown.candidates[1].footprintLabel.front(), '[');
    EXPECT_EQ(shown.projectedReclaimLabel.substr(0, 7), "[About ");
    EXPECT_EQ(reliefTexts(olderShown), reliefTexts(plan));

    json = encode(plan);
    json["candidates"][2]["codes"]["footprintKiB"] = "large";
    const auto wrong = decode<ReliefPlanSnapshot>(json);
    ASSERT_FALSE(wrong);
    EXPECT_EQ(wrong.error().text(),
              "candidates[2].codes.footprintKiB: expected number, got string");
}

} // namespace
} // namespace velmora
