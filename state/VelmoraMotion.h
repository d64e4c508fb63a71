// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

namespace velmora {

// The named animations every animated state change uses. The view model names one for each
// change it publishes; the views map it onto the toolkit's animation machinery.
enum class MotionName {
    detail,               // a detail or the history surface opens
    detailDismiss,        // a detail or the history surface closes
    shellRefresh,         // an ordinary refresh
    shellEmphasis,        // a refresh while the old or the new tone is critical
    overlay,              // confirmation overlay, feedback banner, verdict tooltip
    menuBarFill,          // tray icon fill
    criticalAttention,    // critical emphasis in the views
    criticalRowBreathing, // highlighted critical rows in the views
    settings,             // optimistic settings changes
};

// A spring is described by its response (seconds) and damping fraction, with a blend duration
// of 0 and `duration` 0; an ease-out by its `duration` (seconds), with `response` and
// `dampingFraction` 0.
struct VelmoraMotion {
    MotionName name;
    enum class Curve { spring, easeOut } curve;
    double response;
    double dampingFraction;
    double duration;

    bool operator==(const VelmoraMotion&) const = default;
};

const VelmoraMotion& motion(MotionName name);

// Every motion, in the declaration order of MotionName.
const std::vector<VelmoraMotion>& allMotions();

std::string_view toString(MotionName name);

} // namespace velmora
