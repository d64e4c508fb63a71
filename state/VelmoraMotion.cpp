// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/VelmoraMotion.h"

#include <cstddef>

namespace velmora {

namespace {

VelmoraMotion spring(MotionName name, double response, double dampingFraction) {
    return VelmoraMotion{name, VelmoraMotion::Curve::spring, response, dampingFraction, 0.0};
}

VelmoraMotion easeOut(MotionName name, double duration) {
    return VelmoraMotion{name, VelmoraMotion::Curve::easeOut, 0.0, 0.0, duration};
}

} // namespace

const std::vector<VelmoraMotion>& allMotions() {
    static const std::vector<VelmoraMotion> motions{
        spring(MotionName::detail, 0.24, 0.86),
        spring(MotionName::detailDismiss, 0.2, 0.92),
        spring(MotionName::shellRefresh, 0.22, 0.9),
        spring(MotionName::shellEmphasis, 0.28, 0.82),
        spring(MotionName::overlay, 0.18, 0.92),
        easeOut(MotionName::menuBarFill, 0.16),
        easeOut(MotionName::criticalAttention, 0.2),
        easeOut(MotionName::criticalRowBreathing, 0.24),
        spring(MotionName::settings, 0.18, 0.94),
    };
    return motions;
}

const VelmoraMotion& motion(MotionName name) {
    return allMotions()[static_cast<std::size_t>(name)];
}

std::string_view toString(MotionName name) {
    switch (name) {
    case MotionName::detail:
        return "detail";
    case MotionName::detailDismiss:
        return "detailDismiss";
    case MotionName::shellRefresh:
        return "shellRefresh";
    case MotionName::shellEmphasis:
        return "shellEmphasis";
    case MotionName::overlay:
        return "overlay";
    case MotionName::menuBarFill:
        return "menuBarFill";
    case MotionName::criticalAttention:
        return "criticalAttention";
    case MotionName::criticalRowBreathing:
        return "criticalRowBreathing";
    case MotionName::settings:
        return "settings";
    }
    return "unknown";
}

} // namespace velmora
