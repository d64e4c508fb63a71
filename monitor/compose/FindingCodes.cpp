// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/FindingCodes.h"

#include "monitor/compose/FamilyTexts.h"
#include "monitor/compose/ForecastTexts.h"

#include <algorithm>

namespace velmora {

FindingCodes rowCodesOf(const ComposeContext& context, const FamilyView& family) {
    FindingCodes codes;
    codes.explanation = composedExplanationOf(family).code;
    const FamilyAssessment& a = family.assessment;
    if (family.smokeRole == SmokeRole::none) {
        codes.confidence = confidenceLevelOf(a.score);
        codes.score = a.score;
    } else {
        codes.rateMeasured = a.hasRate; // a self-check target is not judged, only measured
    }
    if (a.hasRate) {
        codes.rateKiBPerSecond = a.rateKiBPerSecond;
    }
    codes.footprintKiB = static_cast<double>(family.footprintKiB);
    codes.exhaustionSeconds = a.exhaustionSeconds;
    codes.growthSeconds = growthSpanSeconds(family, context.tuning.rateWindowBuckets);
    if (auto curvature = curvatureOf(a)) {
        codes.curvature = *curvature;
    }
    return codes;
}

CodeFigures decisionCodeOf(const FamilyAssessment& a) {
    CodeFigures decision{.verdict = a.verdict};
    if (a.hasRate) {
        decision.rateKiBPerSecond = a.rateKiBPerSecond;
    }
    return decision;
}

CodeFigures changeCodeOf(const FamilyAssessment& a) {
    return {.seconds = a.windowSeconds,
            .growthKiB = std::max(0.0, a.rateKiBPerSecond * a.windowSeconds)};
}

} // namespace velmora
