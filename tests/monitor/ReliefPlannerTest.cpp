// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/ReliefPlanner.h"

#include "monitor/common/Formatting.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr uint64_t kGiB = 1024 * 1024; // in KiB

FamilyView family(const std::string& key, uint64_t footprintKiB,
                  FindingVerdict verdict = FindingVerdict::normal) {
    FamilyView view;
    view.key = key;
    view.title = key;
    view.footprintKiB = footprintKiB;
    view.assessment.verdict = verdict;
    view.assessment.hasRate = verdict != FindingVerdict::normal;
    view.assessment.rateKiBPerSecond = 100;
    return view;
}

// A 16 GiB machine with `availableKiB` left, at `level`.
struct Fixture {
    Fixture(PressureLevel level, uint64_t availableKiB) {
        view.machine.valid = true;
        view.machine.level = level;
        view.machine.memory.totalKiB = 16 * kGiB;
        view.machine.memory.availableKiB = availableKiB;
    }
    std::optional<ReliefPlanSnapshot> plan() const {
        return planRelief(ComposeContext{&view, config, interaction, paths});
    }
    LiveView view;
    ConfigStore config{"/nonexistent/velmora/config.json"};
    InteractionState interaction;
    MonitorPaths paths;
};

TEST(ReliefPlanner, NoPlanWhileThereIsHeadroomAndNoPressure) {
    Fixture calm(PressureLevel::normal, 8 * kGiB);
    calm.view.families.push_back(family("editor", 4 * kGiB, FindingVerdict::suspect));
    EXPECT_FALSE(calm.plan());
}

TEST(ReliefPlanner, UnderPressureSuspectsComeFirstAndWhatWeNeverSignalIsLeftOut) {
    Fixture tight(PressureLevel::high, 1 * kGiB);
    auto& families = tight.view.families;
    families.push_back(family("big-flat", 6 * kGiB));
    families.push_back(family("leaker", 2 * kGiB, FindingVerdict::probable));
    families.push_back(family("small-suspect", 1 * kGiB, FindingVerdict::suspect));
    FamilyView session = family("compositor", 8 * kGiB);
    session.isProtected = true;
    families.push_back(session);
    FamilyView smoke = family("velmora.recovery.smoke.target", 9 * kGiB);
    smoke.smokeRole = SmokeRole::recovery;
    families.push_back(smoke);
    families.push_back(family("ignored", 7 * kGiB));
    tight.config.ignore("ignored", "ignored", 1e12);
    for (int i = 0; i < 4; ++i) {
        families.push_back(family("other" + std::to_string(i), kGiB / 4));
    }

    auto plan = tight.plan();
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->urgency, ReliefUrgencyTone::actNow);
    EXPECT_EQ(plan->headline, "Free memory now");
    std::vector<std::string> keys;
    for (const auto& candidate : plan->candidates) {
        keys.push_back(candidate.key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"leaker", "small-suspect", "big-flat", "other0",
                                              "other1"}));
    EXPECT_EQ(plan->recommendedCount, 2);
    EXPECT_TRUE(plan->candidates[0].recommended);
    EXPECT_FALSE(plan->candidates[2].recommended);
    EXPECT_EQ(plan->candidates[2].detail, "Largest footprint, not growing");
    EXPECT_EQ(plan->candidates[0].action.id, "recover");
    EXPECT_EQ(plan->candidates[0].action.label, "Quit leaker");
    EXPECT_EQ(plan->projectedReclaimLabel, "About " + formatKiB(3 * kGiB) + " back");
}

TEST(ReliefPlanner, LowHeadroomWithoutSuspectsRecommendsTheLargestOnly) {
    Fixture low(PressureLevel::normal, 1 * kGiB);
    low.view.families.push_back(family("browser", 5 * kGiB));
    low.view.families.push_back(family("editor", 1 * kGiB));
    auto plan = low.plan();
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->urgency, ReliefUrgencyTone::advisory);
    EXPECT_EQ(plan->headline, "Memory is getting tight");
    ASSERT_EQ(plan->candidates.size(), 2u);
    EXPECT_TRUE(plan->candidates[0].recommended);
    EXPECT_FALSE(plan->candidates[1].recommended);
    EXPECT_EQ(plan->recommendedCount, 1);
}

TEST(ReliefPlanner, CriticalPressureWithNothingToQuitSaysSo) {
    Fixture critical(PressureLevel::critical, kGiB / 2);
    auto plan = critical.plan();
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->urgency, ReliefUrgencyTone::critical);
    EXPECT_TRUE(plan->candidates.empty());
    EXPECT_EQ(plan->summary, "No app of yours holds enough memory to make a difference.");
}

} // namespace
} // namespace velmora
