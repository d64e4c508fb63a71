// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/MotionCurve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora {

namespace {

double deviation(double response, double damping, double t) {
    return std::abs(1.0 - springProgress(response, damping, t));
}

// Bézier with control points 0, p1, p2, 1 at parameter s.
double bezier(double p1, double p2, double s) {
    const double u = 1.0 - s;
    return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
}

double bezierSlope(double p1, double p2, double s) {
    const double u = 1.0 - s;
    return 3 * u * u * p1 + 6 * u * s * (p2 - p1) + 3 * s * s * (1.0 - p2);
}

} // namespace

double springProgress(double response, double dampingFraction, double t) {
    if (t <= 0) {
        return 0.0;
    }
    if (response <= 0) {
        return 1.0;
    }
    const double omega = 2.0 * std::numbers::pi / response;
    const double zeta = std::max(0.0, dampingFraction);
    if (zeta < 1.0) {
        const double omegaD = omega * std::sqrt(1.0 - zeta * zeta);
        const double envelope = std::exp(-zeta * omega * t);
        return 1.0 -
               envelope * (std::cos(omegaD * t) + zeta * omega / omegaD * std::sin(omegaD * t));
    }
    if (zeta == 1.0) {
        return 1.0 - std::exp(-omega * t) * (1.0 + omega * t);
    }
    const double root = std::sqrt(zeta * zeta - 1.0);
    const double r1 = -omega * (zeta - root);
    const double r2 = -omega * (zeta + root);
    return 1.0 - (r2 * std::exp(r1 * t) - r1 * std::exp(r2 * t)) / (r2 - r1);
}

double springSettlingTime(double response, double dampingFraction, double tolerance) {
    if (response <= 0) {
        return 0.0;
    }
    const double omega = 2.0 * std::numbers::pi / response;
    const double zeta = std::max(0.01, dampingFraction);
    // An upper bound from the decay envelope (the oscillation amplitude is at most
    // 1 / sqrt(1 - ζ²) times it), then a backwards scan for the last time the spring was
    // outside the band.
    double bound;
    if (zeta < 1.0) {
        const double amplitude = 1.0 / std::sqrt(1.0 - zeta * zeta);
        bound = std::log(amplitude / tolerance) / (zeta * omega);
    } else {
        bound = response;
        while (deviation(response, dampingFraction, bound) > tolerance) {
            bound *= 2;
        }
    }
    const double step = response / 2000.0;
    for (double t = bound; t > 0; t -= step) {
        if (deviation(response, dampingFraction, t) > tolerance) {
            return std::min(bound, t + step);
        }
    }
    return 0.0;
}

double easeOutProgress(double x) {
    if (x <= 0) {
        return 0.0;
    }
    if (x >= 1) {
        return 1.0;
    }
    constexpr double x1 = 0.0, y1 = 0.0, x2 = 0.58, y2 = 1.0;
    // Newton's method on x(s) = x, falling back to bisection when the slope vanishes.
    double s = x;
    for (int i = 0; i < 8; ++i) {
        const double error = bezier(x1, x2, s) - x;
        const double slope = bezierSlope(x1, x2, s);
        if (std::abs(error) < 1e-9) {
            return bezier(y1, y2, s);
        }
        if (std::abs(slope) < 1e-6) {
            break;
        }
        s = std::clamp(s - error / slope, 0.0, 1.0);
    }
    double lo = 0.0, hi = 1.0;
    s = x;
    for (int i = 0; i < 60; ++i) {
        if (bezier(x1, x2, s) < x) {
            lo = s;
        } else {
            hi = s;
        }
        s = (lo + hi) / 2;
    }
    return bezier(y1, y2, s);
}

double motionDuration(const VelmoraMotion& motion) {
    if (motion.curve == VelmoraMotion::Curve::easeOut) {
        return std::max(0.0, motion.duration);
    }
    return springSettlingTime(motion.response, motion.dampingFraction);
}

double motionProgress(const VelmoraMotion& motion, double elapsed) {
    const double duration = motionDuration(motion);
    if (elapsed >= duration) {
        return 1.0;
    }
    if (motion.curve == VelmoraMotion::Curve::easeOut) {
        return duration <= 0 ? 1.0 : easeOutProgress(elapsed / duration);
    }
    return springProgress(motion.response, motion.dampingFraction, elapsed);
}

} // namespace velmora
