// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/MotionCurve.h"

#include "state/VelmoraMotion.h"

#include <cmath>
#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(MotionCurveTest, SpringStartsAtRestOvershootsWhenUnderdampedAndSettles) {
    const auto& shell = motion(MotionName::shellEmphasis); // 0.28 s, damping 0.82
    EXPECT_DOUBLE_EQ(springProgress(shell.response, shell.dampingFraction, 0), 0);
    double peak = 0;
    for (double t = 0; t < 1; t += 0.001) {
        peak = std::max(peak, springProgress(shell.response, shell.dampingFraction, t));
    }
    // Overshoot of a damped oscillator: exp(-ζπ / sqrt(1 - ζ²)).
    const double zeta = shell.dampingFraction;
    EXPECT_NEAR(peak - 1, std::exp(-zeta * M_PI / std::sqrt(1 - zeta * zeta)), 1e-3);
    const double settle = springSettlingTime(shell.response, shell.dampingFraction);
    EXPECT_GT(settle, 0.1);
    EXPECT_LT(settle, 1.0);
    for (double t = settle; t < settle + 2; t += 0.0005) {
        ASSERT_LE(std::abs(1 - springProgress(shell.response, shell.dampingFraction, t)), 0.001)
            << t;
    }
    EXPECT_GT(std::abs(1 - springProgress(shell.response, shell.dampingFraction, settle - 0.01)),
              0.0005);
}

TEST(MotionCurveTest, EveryMotionRunsForItsDurationAndEndsAtOne) {
    for (const auto& m : allMotions()) {
        const double duration = motionDuration(m);
        if (m.curve == VelmoraMotion::Curve::easeOut) {
            EXPECT_DOUBLE_EQ(duration, m.duration);
        } else {
            EXPECT_GT(duration, m.response * 0.5) << toString(m.name);
        }
        EXPECT_DOUBLE_EQ(motionProgress(m, duration), 1.0);
        EXPECT_DOUBLE_EQ(motionProgress(m, 0), 0.0);
    }
}

TEST(MotionCurveTest, EaseOutIsTheBezierCurve) {
    EXPECT_DOUBLE_EQ(easeOutProgress(0), 0);
    EXPECT_DOUBLE_EQ(easeOutProgress(1), 1);
    // At parameter 0.5 the curve passes x = 3·0.5·0.25·0.58 + 0.125 and y = 3·0.5·0.25 + 0.125.
    EXPECT_NEAR(easeOutProgress(3 * 0.5 * 0.25 * 0.58 + 0.125), 0.5, 1e-6);
    double previous = 0;
    for (double t = 0.01; t <= 1; t += 0.01) {
        const double y = easeOutProgress(t);
        EXPECT_GE(y, previous);
        EXPECT_GE(y, t - 1e-9); // an ease-out is ahead of linear
        previous = y;
    }
}

} // namespace
} // namespace velmora
