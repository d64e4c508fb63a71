// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/ReliefWording.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/compose/ForecastTexts.h"
#include "monitor/compose/StatusWording.h"

#include <cmath>

namespace velmora {
namespace {

ReliefCodes& codesOf(ReliefPlanSnapshot& plan) {
    if (!plan.codes) {
        plan.codes.emplace();
    }
    return *plan.codes;
}

// One more sentence of the summary, after a space.
void appendSentence(std::string& summary, const std::string& words) {
    summary += " " + words + ".";
}

} // namespace

void setReliefHeadline(ReliefPlanSnapshot& plan, std::optional<double> runsOutSeconds) {
    ReliefCodes& codes = codesOf(plan);
    if (runsOutSeconds) {
        plan.headline = "Memory " + exhaustionShort(*runsOutSeconds);
        codes.headline = ReliefHeadlineCode::runsOut;
        codes.exhaustionSeconds = *runsOutSeconds;
        return;
    }
    const bool advisory = plan.urgency == ReliefUrgencyTone::advisory;
    plan.headline = advisory ? "Memory is getting tight" : "Free memory now";
    codes.headline = advisory ? ReliefHeadlineCode::gettingTight : ReliefHeadlineCode::freeNow;
}

void setReliefPressure(ReliefPlanSnapshot& plan, PressureLevel level) {
    plan.pressureLabel = pressureLabel(level);
    codesOf(plan).pressure = pressureCodeOf(level);
}

void setReliefTarget(ReliefPlanSnapshot& plan, const MachineState& machine, double targetFraction) {
    ReliefCodes& codes = codesOf(plan);
    const double wanted = targetFraction * static_cast<double>(machine.memory.totalKiB) -
                          static_cast<double>(machine.memory.availableKiB);
    const std::string target = std::to_string(std::lround(targetFraction * 100)) + "%";
    codes.targetFraction = targetFraction;
    if (wanted > 0) {
        plan.targetFreeLabel =
            "Free " + formatKiB(wanted) + " to get back to " + target + " headroom";
        codes.target = ReliefTargetCode::freeToTarget;
        codes.freeKiB = wanted;
        return;
    }
    plan.targetFreeLabel = "Headroom is back above " + target;
    codes.target = ReliefTargetCode::backAboveTarget;
}

void setReliefReclaim(ReliefPlanSnapshot& plan, uint64_t reclaimKiB) {
    plan.projectedReclaimLabel = "About " + formatKiB(reclaimKiB) + " back";
    codesOf(plan).reclaimKiB = static_cast<double>(reclaimKiB);
}

void setReliefSummary(ReliefPlanSnapshot& plan, const LiveView& view,
                      std::optional<double> runsOutSeconds) {
    ReliefCodes& codes = codesOf(plan);
    const bool nothingToQuit = plan.candidates.empty();
    plan.summary = nothingToQuit
                       ? "No app of yours holds enough memory to make a difference."
                       : "Quitting the recommended apps gracefully gives their memory back.";
    codes.advice =
        nothingToQuit ? ReliefAdviceCode::nothingToQuit : ReliefAdviceCode::quitRecommended;
    if (runsOutSeconds) {
        plan.summary = exhaustionSentence(*runsOutSeconds) + ". " + plan.summary;
        codes.exhaustionSeconds = *runsOutSeconds;
    }
    auto forecast = memoryForecastOf(view);
    if (forecast && forecast->firstVictimText) {
        appendSentence(plan.summary, *forecast->firstVictimText);
        codes.firstVictim = forecast->firstVictim;
    }
    if (!runsOutSeconds) {
        return;
    }
    // Who acts and what the machine has seen matter once memory is about to run out.
    if (forecast && forecast->killerText) {
        appendSentence(plan.summary, *forecast->killerText);
        codes.killer = forecast->killer;
    }
    if (auto kills = machineKillsSentence(view)) {
        appendSentence(plan.summary, *kills);
        codes.machineKills = static_cast<int64_t>(*view.machineOomKills);
    }
}

void setCandidateTexts(ReliefCandidateSnapshot& candidate, const FamilyView& family, bool suspect,
                       bool endedFirst) {
    const FamilyAssessment& a = family.assessment;
    ReliefCandidateCodes& codes = candidate.codes.emplace();
    candidate.footprintLabel = formatKiB(family.footprintKiB);
    codes.footprintKiB = static_cast<double>(family.footprintKiB);
    if (suspect) {
        candidate.detail = verdictLabel(a.verdict) + " at " + rateText(a);
        codes.reason = ReliefCandidateCode::suspect;
        codes.verdict = a.verdict;
        if (a.hasRate) {
            codes.rateKiBPerSecond = a.rateKiBPerSecond;
        }
    } else {
        candidate.detail = "Largest footprint, not growing";
        codes.reason = ReliefCandidateCode::largest;
    }
    if (endedFirst) {
        candidate.detail += " \u00B7 first to be ended if memory runs out";
        codes.endedFirst = true;
    }
}

} // namespace velmora
