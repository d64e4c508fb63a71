// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"

#include <string>

namespace velmora {

// What the tray icon shows; `fill` and `badge` (0 hidden to 1 shown) may be mid-animation.
// While the monitor is not watching the icon shows none of the snapshot: a grey pill, a hollow
// grey drop and a "!" badge, whatever the tone and the rows. While it is starting (no answer
// yet, so no data) it is the same grey pill and hollow drop, without a badge.
struct TrayIconLook {
    SnapshotTone tone = SnapshotTone::allClear;
    double fill = 0;
    int count = 0;
    double badge = 0;
    bool notWatching = false;
    bool starting = false;

    bool showsNoSnapshot() const { return notWatching || starting; }
};

// How full the drop is: 0.35 per watch row, 1 per suspect, 2 per critical, over 5, capped at 1,
// raised to the floor of the global tone (0.28 watch, 0.68 suspect, 0.96 critical).
double urgencyFill(const PopoverSnapshot& snapshot);
// The rows whose severity is suspect or critical: the count on the badge.
int highlightedCount(const PopoverSnapshot& snapshot);
// The badge text: the count up to 9, then "9+".
std::string badgeText(int count);

TrayIconLook trayIconLook(const PopoverSnapshot& snapshot, bool watching = true);
TrayIconLook startingTrayIconLook();

// How far the badge is shown (0 to 1): the "!" always, a count while it fades in or out, and
// nothing while the monitor is starting.
double badgeShown(const TrayIconLook& look);

// The "!" that stands in the badge's place while the monitor is not watching.
inline constexpr const char* notWatchingMark = "!";

} // namespace velmora
