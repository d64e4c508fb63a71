// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VelmoraMotion.h"

namespace velmora {

// The arithmetic of the named motions, independent of any toolkit. Progress runs from 0 at
// the start to 1 at rest; a spring may overshoot 1 on its way there.

// Step response of a damped harmonic oscillator with natural frequency 2π / response and the
// given damping fraction (critically damped or overdamped from 1 up), `t` seconds after the
// step.
double springProgress(double response, double dampingFraction, double t);

// The time after which the spring stays within `tolerance` of rest for good.
double springSettlingTime(double response, double dampingFraction, double tolerance = 0.001);

// The ease-out curve, the cubic Bézier through (0,0), (0,0), (0.58,1), (1,1), at time fraction
// `x` in [0, 1]: the Bézier is solved for its parameter at x, then evaluated for y.
double easeOutProgress(double x);

// How long the motion runs, in seconds: the settling time of a spring, the duration of an
// ease-out.
double motionDuration(const VelmoraMotion& motion);

// The motion's progress `elapsed` seconds after it started; 1 from its duration on.
double motionProgress(const VelmoraMotion& motion, double elapsed);

} // namespace velmora
