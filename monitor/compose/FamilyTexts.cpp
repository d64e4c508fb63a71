// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/FamilyTexts.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/ActionWording.h"

#include <algorithm>
#include <array>
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

// The figures of the growth evidence above, for the code that stands for it.
Coded<ReasonCode> growthEvidenceCode(const FamilyAssessment& a) {
    if (a.stairs) {
        return {ReasonCode::stairs,
                {.rateKiBPerSecond = a.rateKiBPerSecond,
                 .seconds = a.stairSeconds,
                 .count = static_cast<int64_t>(a.stairSteps)}};
    }
    return {a.floorBased ? ReasonCode::sawtoothFloor : ReasonCode::medianRate,
            {.rateKiBPerSecond = a.rateKiBPerSecond,
             .seconds = a.windowSeconds,
             .stoppedSeconds = a.stoppedSeconds,
             .fraction = a.steadiness}};
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

ConfidenceLevel confidenceLevelOf(int score) {
    return score >= 85   ? ConfidenceLevel::veryHigh
           : score >= 65 ? ConfidenceLevel::high
           : score >= 50 ? ConfidenceLevel::medium
                         : ConfidenceLevel::low;
}

std::string confidenceLabel(const FamilyAssessment& a) {
    static constexpr std::array<const char*, 4> levels{"Low", "Medium", "High", "Very high"};
    return std::string(levels[static_cast<std::size_t>(confidenceLevelOf(a.score))]) +
           " confidence \u00B7 score " + std::to_string(a.score);
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

std::optional<CurvatureCode> curvatureOf(const FamilyAssessment& a) {
    if (!a.curvature || !a.growing()) {
        return std::nullopt;
    }
    if (*a.curvature > 1.5) {
        return CurvatureCode::accelerating;
    }
    if (*a.curvature < 0.5) {
        return CurvatureCode::decelerating;
    }
    return CurvatureCode::steady;
}

std::optional<std::string> curvatureText(const FamilyAssessment& a) {
    static constexpr std::array<const char*, 3> labels{"Accelerating growth", "Decelerating growth",
                                                       "Steady growth"};
    auto code = curvatureOf(a);
    return code ? std::optional<std::string>(labels[static_cast<std::size_t>(*code)])
                : std::nullopt;
}

ComposedExplanation composedExplanationOf(const FamilyView& family) {
    const FamilyAssessment& a = family.assessment;
    if (family.smokeRole != SmokeRole::none) {
        return {Coded<ReasonCode>{ReasonCode::selfCheckTarget, {}},
                "Controlled self-check target named in VELMORA_SELF_CHECK_TARGETS."};
    }
    if (!a.hasRate) {
        return {Coded<ReasonCode>{ReasonCode::collectingSamples, {}},
                "Collecting samples before judging growth."};
    }
    std::string text = growthEvidence(a) + "; now " + formatKiB(a.footprintKiB);
    CodeFigures figures{.footprintKiB = a.footprintKiB, .parts = {growthEvidenceCode(a)}};
    if (const MemberView* grower = growingMemberOf(family)) {
        // The member's own figures; the family's total moves with the others coming and going.
        figures.pid = grower->identity.pid;
        figures.name = grower->name;
        figures.familyKiB = static_cast<double>(family.footprintKiB);
        return {Coded<ReasonCode>{ReasonCode::memberGrowthSummary, std::move(figures)},
                memberName(*grower) + " grows on its own: " + text + " of the family's " +
                    formatKiB(family.footprintKiB) + "."};
    }
    if (a.baselineMultiple >= 1.2) {
        text += " (" + multiple(a.baselineMultiple) + " its typical size)";
        figures.multiple = a.baselineMultiple;
    }
    if (a.idle) {
        text += ", stayed elevated while idle";
        figures.idle = true;
    }
    return {Coded<ReasonCode>{ReasonCode::growthSummary, std::move(figures)}, text + "."};
}

std::string explanationOf(const FamilyView& family) {
    return composedExplanationOf(family).text;
}

std::optional<ComposedReason> sharedMemoryCode(const FamilyView& family) {
    uint64_t growth = 0;
    uint64_t sharedGrowth = 0;
    for (const MemberView& member : family.members) {
        growth += member.growthKiB;
        sharedGrowth += member.sharedGrowthKiB;
    }
    const auto shared = static_cast<double>(family.sharedKiB);
    if (sharedGrowth > 0 && 2 * sharedGrowth >= growth && family.assessment.hasRate &&
        family.assessment.rateKiBPerSecond > 0) {
        const auto grown = static_cast<double>(sharedGrowth);
        return ComposedReason{
            {ReasonCode::sharedGrowth, {.sharedKiB = shared, .growthKiB = grown}},
            "The growth is in shared memory (memfd, /dev/shm): " + formatKiB(grown) +
                " more than when first seen, " + formatKiB(shared) + " now."};
    }
    if (family.sharedKiB * 10 >= family.footprintKiB && family.sharedKiB > 0) {
        return ComposedReason{{ReasonCode::sharedPart, {.sharedKiB = shared}},
                              formatKiB(shared) + " of the footprint is shared memory."};
    }
    return std::nullopt;
}

namespace {

int64_t trendOf(const FamilyAssessment& a) {
    return static_cast<int64_t>(std::lround(a.tau * 100));
}

// Adds one reason: its code with its figures and the text composed from them, side by side.
struct ReasonList {
    std::vector<ComposedReason> items;
    void add(ReasonCode code, std::string text, CodeFigures figures = {}) {
        items.push_back({{code, std::move(figures)}, std::move(text)});
    }
};

} // namespace

std::vector<ComposedReason> composedReasonsOf(const FamilyView& family) {
    const FamilyAssessment& a = family.assessment;
    ReasonList reasons;
    if (!a.hasRate) {
        reasons.add(ReasonCode::notEnoughSamples,
                    "Not enough samples yet to measure a growth rate.");
        return reasons.items;
    }
    const MemberView* grower = growingMemberOf(family);
    if (grower != nullptr) {
        reasons.add(ReasonCode::growingMember,
                    memberName(*grower) + ", one of the family's " +
                        std::to_string(family.members.size()) +
                        " processes, is judged on its own: the others come and go and hide "
                        "its growth in the family's total. Its own figures follow.",
                    {.count = static_cast<int64_t>(family.members.size()),
                     .pid = grower->identity.pid,
                     .name = grower->name});
    }
    const CodeFigures rate{.rateKiBPerSecond = a.rateKiBPerSecond};
    const CodeFigures steadiness{.fraction = a.steadiness, .trend = trendOf(a)};
    if (a.stairs) {
        reasons.add(ReasonCode::stairs,
                    "Memory grew in " + std::to_string(a.stairSteps) + " steps over " +
                        formatSpan(a.stairSeconds) + " and gave none of it back: " +
                        formatRate(a.rateKiBPerSecond) + " on average.",
                    growthEvidenceCode(a).figures);
    } else if (a.floorBased) {
        reasons.add(ReasonCode::sawtoothFloor,
                    "Memory is released again and again (a sawtooth): judged by its floor, "
                    "the low points after each release, which changes by " +
                        formatRate(a.rateKiBPerSecond) + ".",
                    rate);
        reasons.add(ReasonCode::floorSteadiness,
                    "The floor was higher in " + percent(a.steadiness) +
                        " of the window's stretches; trend strength " + std::to_string(trendOf(a)) +
                        "/100 (Mann-Kendall).",
                    steadiness);
    } else {
        reasons.add(ReasonCode::medianRate,
                    "Footprint (anonymous memory, swap and shared memory) changes by " +
                        formatRate(a.rateKiBPerSecond) + " (Theil-Sen slope of bucket medians).",
                    rate);
        reasons.add(ReasonCode::medianSteadiness,
                    percent(a.steadiness) + " of bucket-to-bucket steps rose; trend strength " +
                        std::to_string(trendOf(a)) + "/100 (Mann-Kendall).",
                    steadiness);
    }
    if (auto shared = sharedMemoryCode(family)) {
        reasons.items.push_back(std::move(*shared));
    }
    // What held a growing family back, said only while it is held back.
    bool flagged = static_cast<int>(a.verdict) >= static_cast<int>(FindingVerdict::suspect);
    if (a.stoppedSeconds && !a.stairs) {
        reasons.add(ReasonCode::growthStopped,
                    "Growth stopped " + formatAgo(*a.stoppedSeconds) +
                        ": memory that levels off is a warm-up or a cache, not a leak.",
                    {.seconds = *a.stoppedSeconds});
    } else if (a.young && !flagged) {
        reasons.add(ReasonCode::young,
                    "The family is new: growth in its first minutes (a warm-up) needs "
                    "more evidence before it counts as a leak.");
    }
    if (a.revisited && !flagged) {
        reasons.add(ReasonCode::revisited, "It has been this large before and came back down: a "
                                           "working set moving within its range.");
    }
    if (a.decelerating && !flagged) {
        reasons.add(ReasonCode::decelerating,
                    "Growth keeps slowing down, as a warm-up does before it levels off.");
    }
    if (a.step) {
        reasons.add(ReasonCode::oneStep,
                    "The rise came in one step rather than a ramp, which is rarely a leak.");
    }
    if (a.consistency < 0.5 || a.floorAgreement < 0.5) {
        reasons.add(ReasonCode::allocateAndFree,
                    "Memory rises and falls again (allocate and free), not a steady climb.");
    }
    if (a.hourRateKiBPerSecond && *a.hourRateKiBPerSecond > 0) {
        reasons.add(ReasonCode::hourRate,
                    "Over the last hour: " + formatRate(*a.hourRateKiBPerSecond) + ".",
                    {.rateKiBPerSecond = *a.hourRateKiBPerSecond});
    }
    if (a.sixHourRateKiBPerSecond && *a.sixHourRateKiBPerSecond > 0) {
        reasons.add(ReasonCode::sixHourRate,
                    "Over the last six hours: " + formatRate(*a.sixHourRateKiBPerSecond) + ".",
                    {.rateKiBPerSecond = *a.sixHourRateKiBPerSecond});
    }
    if (a.baselineKiB > 0) {
        reasons.add(ReasonCode::baseline,
                    "Now " + formatKiB(a.footprintKiB) + ", " + multiple(a.baselineMultiple) +
                        " its typical " + formatKiB(a.baselineKiB) + ".",
                    {.footprintKiB = a.footprintKiB,
                     .typicalKiB = a.baselineKiB,
                     .multiple = a.baselineMultiple});
    }
    if (a.idle) {
        reasons.add(ReasonCode::idle,
                    "It stayed elevated while idle: memory rose while CPU time barely moved.");
    }
    if (auto exhaustion = exhaustionText(a)) {
        reasons.add(ReasonCode::exhaustion, *exhaustion + ".", {.seconds = *a.exhaustionSeconds});
    }
    if (grower != nullptr && family.familyAssessment && family.familyAssessment->hasRate) {
        const FamilyAssessment& whole = *family.familyAssessment;
        reasons.add(ReasonCode::familyAsWhole,
                    "The family as a whole: " + growthEvidence(whole) + "; now " +
                        formatKiB(family.footprintKiB) + " (" + verdictLabel(whole.verdict) +
                        " on its own).",
                    {.footprintKiB = static_cast<double>(family.footprintKiB),
                     .verdict = whole.verdict,
                     .parts = {growthEvidenceCode(whole)}});
    }
    return reasons.items;
}

std::vector<std::string> reasonsOf(const FamilyView& family) {
    std::vector<std::string> texts;
    for (ComposedReason& reason : composedReasonsOf(family)) {
        texts.push_back(std::move(reason.text));
    }
    return texts;
}

std::vector<Coded<ReasonCode>> reasonCodesOf(const FamilyView& family) {
    std::vector<Coded<ReasonCode>> codes;
    for (ComposedReason& reason : composedReasonsOf(family)) {
        codes.push_back(std::move(reason.code));
    }
    return codes;
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
        return {codedAction(ActionId::recover, ActionLabel::recover, ActionStyle::primary, key)};
    }
    if (family.smokeRole == SmokeRole::restart) {
        return {codedAction(ActionId::restart, ActionLabel::restart, ActionStyle::warning, key)};
    }
    std::vector<ActionDescriptor> actions;
    actions.push_back(
        codedAction(ActionId::selectDetail, ActionLabel::inspect, ActionStyle::secondary, key));
    if (!hasArtifact) {
        actions.push_back(codedAction(ActionId::captureStrongerEvidence,
                                      ActionLabel::captureEvidence, ActionStyle::primary, key));
    }
    if (!family.isProtected) {
        bool critical = family.assessment.verdict == FindingVerdict::criticalRunaway;
        actions.push_back(
            codedAction(ActionId::restart, ActionLabel::restart, ActionStyle::warning, key));
        actions.push_back(codedAction(ActionId::recover, ActionLabel::quitApp,
                                      critical ? ActionStyle::primary : ActionStyle::warning, key,
                                      family.title));
        actions.push_back(codedAction(ActionId::requestForceQuit, ActionLabel::forceQuit,
                                      ActionStyle::destructive, key));
    }
    actions.push_back(
        codedAction(ActionId::ignore, ActionLabel::ignoreForDay, ActionStyle::secondary, key));
    return actions;
}

} // namespace velmora
