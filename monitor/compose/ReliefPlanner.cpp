// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/ReliefPlanner.h"

#include "monitor/compose/ActionWording.h"
#include "monitor/compose/ForecastTexts.h"
#include "monitor/compose/ReliefWording.h"

#include <algorithm>

namespace velmora {
namespace {

// A forecast this close turns advice into a call to act.
constexpr double kActNowForecastSeconds = 15 * 60;

} // namespace

std::optional<ReliefPlanSnapshot> planRelief(const ComposeContext& context) {
    if (context.view == nullptr || !context.view->machine.valid) {
        return std::nullopt;
    }
    const MachineState& machine = context.view->machine;
    const ComposeTuning& tuning = context.tuning;
    double reliefBelow = tuning.reliefHeadroomFraction;
    // Memory that runs out within the hour needs a plan even while there is headroom left.
    std::optional<double> runsOut = statedExhaustion(*context.view);
    if (machine.level == PressureLevel::normal && machine.headroomFraction() >= reliefBelow &&
        !runsOut) {
        return std::nullopt;
    }
    std::vector<const FamilyView*> families;
    for (const FamilyView& family : context.view->families) {
        if (!family.isProtected && family.smokeRole == SmokeRole::none &&
            !context.config.isIgnored(family.key, context.wallNow)) {
            families.push_back(&family);
        }
    }
    auto suspect = [](const FamilyView* f) {
        return static_cast<int>(f->assessment.verdict) >= static_cast<int>(FindingVerdict::suspect);
    };
    std::stable_sort(families.begin(), families.end(),
                     [&](const FamilyView* a, const FamilyView* b) {
                         if (suspect(a) != suspect(b)) {
                             return suspect(a);
                         }
                         return a->footprintKiB > b->footprintKiB;
                     });
    if (families.size() > static_cast<std::size_t>(tuning.reliefCandidates)) {
        families.resize(static_cast<std::size_t>(tuning.reliefCandidates));
    }
    ReliefPlanSnapshot plan;
    plan.urgency = machine.level == PressureLevel::critical ? ReliefUrgencyTone::critical
                   : machine.level == PressureLevel::high   ? ReliefUrgencyTone::actNow
                                                            : ReliefUrgencyTone::advisory;
    if (runsOut && *runsOut < kActNowForecastSeconds &&
        plan.urgency == ReliefUrgencyTone::advisory) {
        plan.urgency = ReliefUrgencyTone::actNow;
    }
    setReliefHeadline(plan, runsOut);
    setReliefPressure(plan, machine.level);
    setReliefTarget(plan, machine, tuning.reliefTargetFraction);
    const auto& victim = context.view->forecast.firstVictim;
    const std::string victimKey = victim && victim->ours ? victim->familyKey : std::string();
    uint64_t reclaim = 0;
    bool anySuspect = !families.empty() && suspect(families.front());
    for (std::size_t i = 0; i < families.size(); ++i) {
        const FamilyView& family = *families[i];
        ReliefCandidateSnapshot candidate;
        candidate.key = family.key;
        candidate.title = family.title;
        candidate.recommended = anySuspect ? suspect(&family) : i == 0;
        setCandidateTexts(candidate, family, suspect(&family), victimKey == family.key);
        candidate.action = codedAction(ActionId::recover, ActionLabel::quitApp,
                                       ActionStyle::warning, family.key, family.title);
        if (candidate.recommended) {
            reclaim += family.footprintKiB;
            ++plan.recommendedCount;
        }
        plan.candidates.push_back(std::move(candidate));
    }
    setReliefReclaim(plan, reclaim);
    setReliefSummary(plan, *context.view, runsOut);
    return plan;
}

} // namespace velmora
