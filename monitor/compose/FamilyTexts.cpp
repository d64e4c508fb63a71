// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/FamilyTexts.h"

#include "monitor/common/Formatting.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmora {
namespace {

std::string percent(double fraction) {
    return std::to_string(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 100))) +
           "%";
}

std::string multiple(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f\u00D7", value);
    return buf;
}

// The evidence the verdict rests on: the rate, over how long, of the medians or of the floor
// under a sawtooth, how steadily, and whether the growth has stopped since.
std::string growthEvidence(const FamilyAssessment& a) {
    std::string text;
    if (a.stairs) {
        return "Grew in " + std::to_string(a.stairSteps) + " steps over " +
               formatSpan(a.stairSeconds) + " (" + formatRate(a.rateKiBPerSecond) +
               "), none of it given back";
    }
    if (a.floorBased) {
        text = "Floor (low points after releases) grew " + formatRate(a.rateKiBPerSecond) +
               " over " + formatSpan(a.windowSeconds) + ", higher in " + percent(a.steadiness) +
               " of stretches";
    } else {
        text = "Median grew " + formatRate(a.rateKiBPerSecond) + " over " +
               formatSpan(a.windowSeconds) + ", " + percent(a.steadiness) + " of steps rising";
    }
    if (a.stoppedSeconds) {
        text += "; growth stopped " + formatAgo(*a.stoppedSeconds);
    }
    return text;
}

// "PID 4242 (worker)": the member a family's verdict rests on.
std::string memberName(const MemberView& member) {
    return "PID " + std::to_string(member.identity.pid) +
           (member.name.empty() ? "" : " (" + member.name + ")");
}

} // namespace

std::string verdictLabel(FindingVerdict verdict) {
    switch (verdict) {
    case FindingVerdict::normal:
        return "Normal";
    case FindingVerdict::watch:
        return "Watch";
    case FindingVerdict::suspect:
        return "Suspected leak";
    case FindingVerdict::probable:
        return "Probable leak";
    case FindingVerdict::criticalRunaway:
        return "Critical runaway";
    }
    return "Normal";
}

std::string confidenceLabel(const FamilyAssessment& a) {
    const char* level = a.score >= 85   ? "Very high"
                        : a.score >= 65 ? "High"
                        : a.score >= 50 ? "Medium"
                                        : "Low";
    return std::string(level) + " confidence \u00B7 score " + std::to_string(a.score);
}

std::string rateText(const FamilyAssessment& a) {
    return a.hasRate ? formatRate(a.rateKiBPerSecond) : "N/A";
}

std::optional<std::string> exhaustionText(const FamilyAssessment& a) {
    if (!a.exhaustionSeconds) {
        return std::nullopt;
    }
    return "Memory runs out in " + formatDuration(*a.exhaustionSeconds) + " at this rate";
}

std::optional<std::string> curvatureText(const FamilyAssessment& a) {
    if (!a.curvature || !a.growing()) {
        return std::nullopt;
    }
    if (*a.curvature > 1.5) {
        return "Accelerating growth";
    }
    if (*a.curvature < 0.5) {
        return "Decelerating growth";
    }
    return "Steady growth";
}

std::string explanationOf(const FamilyView& family) {
    const FamilyAssessment& a = family.assessment;
    if (family.smokeRole != SmokeRole::none) {
        return "Controlled self-check target named in VELMORA_SELF_CHECK_TARGETS.";
    }
    if (!a.hasRate) {
        return "Collecting samples before judging growth.";
    }
    std::string text = growthEvidence(a) + "; now " + formatKiB(a.footprintKiB);
    if (const MemberView* grower = growingMemberOf(family)) {
        // The member's own figures; the family's total moves with the others coming and going.
        return memberName(*grower) + " grows on its own: " + text + " of the family's " +
               formatKiB(family.footprintKiB) + ".";
    }
    if (a.baselineMultiple >= 1.2) {
        text += " (" + multiple(a.baselineMultiple) + " its typical size)";
    }
    if (a.idle) {
        text += ", stayed elevated while idle";
    }
    return text + ".";
}

std::optional<std::string> sharedMemoryLine(const FamilyView& family) {
    uint64_t growth = 0;
    uint64_t sharedGrowth = 0;
    for (const MemberView& member : family.members) {
        growth += member.growthKiB;
        sharedGrowth += member.sharedGrowthKiB;
    }
    if (sharedGrowth > 0 && 2 * sharedGrowth >= growth && family.assessment.hasRate &&
        family.assessment.rateKiBPerSecond > 0) {
        return "The growth is in shared memory (memfd, /dev/shm): " +
               formatKiB(static_cast<double>(sharedGrowth)) + " more than when first seen, " +
               formatKiB(static_cast<double>(family.sharedKiB)) + " now.";
    }
    if (family.sharedKiB * 10 >= family.footprintKiB && family.sharedKiB > 0) {
        return formatKiB(static_cast<double>(family.sharedKiB)) +
               " of the footprint is shared memory.";
    }
    return std::nullopt;
}

std::vector<std::string> reasonsOf(const FamilyView& family) {
    const FamilyAssessment& a = family.assessment;
    std::vector<std::string> reasons;
    if (!a.hasRate) {
        reasons.push_back("Not enough samples yet to measure a growth rate.");
        return reasons;
    }
    const MemberView* grower = growingMemberOf(family);
    if (grower != nullptr) {
        reasons.push_back(memberName(*grower) + ", one of the family's " +
                          std::to_string(family.members.size()) +
                          " processes, is judged on its own: the others come and go and hide "
                          "its growth in the family's total. Its own figures follow.");
    }
    if (a.stairs) {
        reasons.push_back("Memory grew in " + std::to_string(a.stairSteps) + " steps over " +
                          formatSpan(a.stairSeconds) + " and gave none of it back: " +
                          formatRate(a.rateKiBPerSecond) + " on average.");
    } else if (a.floorBased) {
        reasons.push_back("Memory is released again and again (a sawtooth): judged by its floor, "
                          "the low points after each release, which changes by " +
                          formatRate(a.rateKiBPerSecond) + ".");
        reasons.push_back("The floor was higher in " + percent(a.steadiness) +
                          " of the window's stretches; trend strength " +
                          std::to_string(static_cast<int>(std::lround(a.tau * 100))) +
                          "/100 (Mann-Kendall).");
    } else {
        reasons.push_back("Footprint (anonymous memory, swap and shared memory) changes by " +
                          formatRate(a.rateKiBPerSecond) + " (Theil-Sen slope of bucket medians).");
        reasons.push_back(
            percent(a.steadiness) + " of bucket-to-bucket steps rose; trend strength " +
            std::to_string(static_cast<int>(std::lround(a.tau * 100))) + "/100 (Mann-Kendall).");
    }
    if (auto shared = sharedMemoryLine(family)) {
        reasons.push_back(*shared);
    }
    // What held a growing family back, said only while it is held back.
    bool flagged = static_cast<int>(a.verdict) >= static_cast<int>(FindingVerdict::suspect);
    if (a.stoppedSeconds && !a.stairs) {
        reasons.push_back("Growth stopped " + formatAgo(*a.stoppedSeconds) +
                          ": memory that levels off is a warm-up or a cache, not a leak.");
    } else if (a.young && !flagged) {
        reasons.push_back("The family is new: growth in its first minutes (a warm-up) needs "
                          "more evidence before it counts as a leak.");
    }
    if (a.revisited && !flagged) {
        reasons.push_back("It has been this large before and came back down: a working set "
                          "moving within its range.");
    }
    if (a.decelerating && !flagged) {
        reasons.push_back("Growth keeps slowing down, as a warm-up does before it levels off.");
    }
    if (a.step) {
        reasons.push_back("The rise came in one step rather than a ramp, which is rarely a leak.");
    }
    if (a.consistency < 0.5 || a.floorAgreement < 0.5) {
        reasons.push_back("Memory rises and falls again (allocate and free), not a steady climb.");
    }
    if (a.hourRateKiBPerSecond && *a.hourRateKiBPerSecond > 0) {
        reasons.push_back("Over the last hour: " + formatRate(*a.hourRateKiBPerSecond) + ".");
    }
    if (a.sixHourRateKiBPerSecond && *a.sixHourRateKiBPerSecond > 0) {
        reasons.push_back("Over the last six hours: " + formatRate(*a.sixHourRateKiBPerSecond) +
                          ".");
    }
    if (a.baselineKiB > 0) {
        reasons.push_back("Now " + formatKiB(a.footprintKiB) + ", " + multiple(a.baselineMultiple) +
                          " its typical " + formatKiB(a.baselineKiB) + ".");
    }
    if (a.idle) {
        reasons.push_back(
            "It stayed elevated while idle: memory rose while CPU time barely moved.");
    }
    if (auto exhaustion = exhaustionText(a)) {
        reasons.push_back(*exhaustion + ".");
    }
    if (grower != nullptr && family.familyAssessment && family.familyAssessment->hasRate) {
        const FamilyAssessment& whole = *family.familyAssessment;
        reasons.push_back("The family as a whole: " + growthEvidence(whole) + "; now " +
                          formatKiB(family.footprintKiB) + " (" + verdictLabel(whole.verdict) +
                          " on its own).");
    }
    return reasons;
}

std::vector<uint16_t> sparklineOf(const std::vector<uint32_t>& kib) {
    std::vector<uint16_t> out;
    if (kib.empty()) {
        return out;
    }
    auto [lo, hi] = std::minmax_element(kib.begin(), kib.end());
    double low = *lo;
    double range = static_cast<double>(*hi) - low;
    out.reserve(kib.size());
    for (uint32_t value : kib) {
        double scaled = range <= 0 ? 0.5 : (static_cast<double>(value) - low) / range;
        out.push_back(static_cast<uint16_t>(std::lround(scaled * 65535.0)));
    }
    return out;
}

std::vector<ActionDescriptor> actionsFor(const FamilyView& family, bool hasArtifact) {
    const std::string& key = family.key;
    if (family.smokeRole == SmokeRole::recovery) {
        return {makeAction(ActionId::recover, "Recover", ActionStyle::primary, key)};
    }
    if (family.smokeRole == SmokeRole::restart) {
        return {makeAction(ActionId::restart, "Restart", ActionStyle::warning, key)};
    }
    std::vector<ActionDescriptor> actions;
    actions.push_back(makeAction(ActionId::selectDetail, "Inspect", ActionStyle::secondary, key));
    if (!hasArtifact) {
        actions.push_back(makeAction(ActionId::captureStrongerEvidence, "Capture Evidence",
                                     ActionStyle::primary, key));
    }
    if (!family.isProtected) {
        bool critical = family.assessment.verdict == FindingVerdict::criticalRunaway;
        actions.push_back(makeAction(ActionId::restart, "Restart", ActionStyle::warning, key));
        actions.push_back(makeAction(ActionId::recover, "Quit " + family.title,
                                     critical ? ActionStyle::primary : ActionStyle::warning, key));
        actions.push_back(
            makeAction(ActionId::requestForceQuit, "Force Quit", ActionStyle::destructive, key));
    }
    actions.push_back(
        makeAction(ActionId::ignore, "Ignore for 24 Hours", ActionStyle::secondary, key));
    return actions;
}

} // namespace velmora
