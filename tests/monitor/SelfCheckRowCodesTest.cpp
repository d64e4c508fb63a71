// SPDX-License-Identifier: GPL-3.0-or-later
// A self-check target's row is not judged, but it is measured: its rate and the bend of its
// growth travel as figures like any row's, so the app composes them, and the self-check reads
// word for word as before. A notification says a row's figures as the popover composes them.
#include "ComposeFixture.h"
#include "SentOverWire.h"
#include "base/NumberFormat.h"
#include "state/NotificationText.h"
#include "state/RowTexts.h"
#include "tests/support/DecimalComma.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// The editor's family as a target the self-check names.
FamilyView selfCheckTarget(bool measured) {
    FamilyView target = leakingFamily();
    target.key = "self-check:recovery";
    target.smokeRole = SmokeRole::recovery;
    target.assessment.hasRate = measured;
    target.assessment.rising = measured;
    target.assessment.curvature = 2.1;
    return target;
}

TEST(SelfCheckRowCodes, ItsRateAndCurvatureAreComposedAsSent) {
    ComposeFixture composer;
    const FamilyView target = selfCheckTarget(true);
    composer.view.families.push_back(target);
    const FindingSnapshot row = sent(composer.row(target));
    EXPECT_EQ(row.rate, "+8.0 MB/min");
    EXPECT_EQ(row.curvatureLabel, "Accelerating growth");
    EXPECT_EQ(row.confidencePillLabel, "Self-check");
    ASSERT_TRUE(row.codes);
    EXPECT_FALSE(row.codes->confidence) << "a self-check target is not judged";
    EXPECT_FALSE(row.codes->score);
    EXPECT_EQ(row.codes->rateMeasured, true);
    EXPECT_EQ(row.codes->rateKiBPerSecond, target.assessment.rateKiBPerSecond);
    EXPECT_EQ(row.codes->curvature, OpenCode<CurvatureCode>(CurvatureCode::accelerating));
    // Composed, not passed through: the codes alone say them.
    EXPECT_EQ(rowRateText(*row.codes), row.rate);
    EXPECT_EQ(curvatureText(*row.codes), row.curvatureLabel);
    EXPECT_EQ(rowRateShown(row), row.rate);
    EXPECT_EQ(curvatureShown(row), row.curvatureLabel);

    // Before its first rate the row says so, from its code too.
    const FindingSnapshot early = sent(composer.row(selfCheckTarget(false)));
    EXPECT_EQ(early.rate, "N/A");
    ASSERT_TRUE(early.codes);
    EXPECT_EQ(early.codes->rateMeasured, false);
    EXPECT_EQ(rowRateText(*early.codes), "N/A");
    EXPECT_EQ(curvatureShown(early), std::nullopt) << "no chip while nothing grows";
}

// An older monitor coded only a self-check row's fixed sentence: its rate is shown as sent.
TEST(SelfCheckRowCodes, AnOlderMonitorsRowShowsItsRateAsSent) {
    FindingSnapshot row;
    row.rate = "+3.0 MB/min";
    row.curvatureLabel = "Steady growth";
    row.codes.emplace().explanation = Coded<ReasonCode>{ReasonCode::selfCheckTarget, {}};
    EXPECT_FALSE(rowRateText(*row.codes));
    EXPECT_EQ(rowRateShown(row), "+3.0 MB/min");
    EXPECT_EQ(curvatureShown(row), "Steady growth");
}

// The notification's figures are the row's, composed as the popover composes them: in English
// the same body as from the monitor's texts, in a desktop's own number format its figures.
TEST(SelfCheckRowCodes, ANotificationSaysTheRowsFigures) {
    ComposeFixture composer;
    FamilyView family = leakingFamily();
    family.assessment.exhaustionSeconds = 2400;
    family.sparklineKiB = {100, 200, 300, 400};
    composer.view.families.push_back(family);
    const FamilyView target = selfCheckTarget(true);
    for (const FamilyView& shown : {family, target, selfCheckTarget(false)}) {
        const FindingSnapshot row = sent(composer.row(shown));
        FindingSnapshot asText = row;
        asText.codes.reset();
        EXPECT_EQ(findingBody(row), findingBody(asText)) << shown.key;
    }
    const FindingSnapshot row = sent(composer.row(family));
    ASSERT_TRUE(row.growthSpanLabel);
    EXPECT_EQ(findingBody(row), "+8.0 MB/min for " + *row.growthSpanLabel +
                                    " \u00B7 1.9 GB now \u00B7 memory runs out in about 40 min "
                                    "at this rate");

    setNumberFormatter(&testing::decimalComma);
    const std::string local = findingBody(row);
    const std::string early = findingBody(sent(composer.row(selfCheckTarget(false))));
    setNumberFormatter(nullptr);
    EXPECT_EQ(local, "+8,0 MB/min for " + *row.growthSpanLabel +
                         " \u00B7 1,9 GB now \u00B7 memory runs out in about 40 min at this rate");
    EXPECT_EQ(early, "1,9 GB now") << "a rate not measured yet is left out";
}

} // namespace
} // namespace velmora
