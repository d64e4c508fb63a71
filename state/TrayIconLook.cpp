// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/TrayIconLook.h"

#include <algorithm>

namespace velmora {
namespace {

double severityWeight(FindingSeverity severity) {
    switch (severity) {
    case FindingSeverity::allClear:
        return 0;
    case FindingSeverity::watch:
        return 0.35;
    case FindingSeverity::suspect:
        return 1.0;
    case FindingSeverity::critical:
        return 2.0;
    }
    return 0;
}

double toneFloor(SnapshotTone tone) {
    switch (tone) {
    case SnapshotTone::allClear:
        return 0;
    case SnapshotTone::watch:
        return 0.28;
    case SnapshotTone::suspect:
        return 0.68;
    case SnapshotTone::critical:
        return 0.96;
    }
    return 0;
}

} // namespace

double urgencyFill(const PopoverSnapshot& snapshot) {
    double sum = 0;
    for (const auto& row : snapshot.rows) {
        sum += severityWeight(row.severity);
    }
    return std::max(std::min(sum / 5.0, 1.0), toneFloor(snapshot.globalTone));
}

int highlightedCount(const PopoverSnapshot& snapshot) {
    return static_cast<int>(
        std::count_if(snapshot.rows.begin(), snapshot.rows.end(), [](const auto& row) {
            return row.severity == FindingSeverity::suspect ||
                   row.severity == FindingSeverity::critical;
        }));
}

std::string badgeText(int count) {
    return count <= 9 ? std::to_string(count) : "9+";
}

TrayIconLook trayIconLook(const PopoverSnapshot& snapshot, bool watching) {
    if (!watching) {
        return {SnapshotTone::allClear, 0, 0, 0, true, false};
    }
    const int count = highlightedCount(snapshot);
    return {
        snapshot.globalTone, urgencyFill(snapshot), count, count >= 1 ? 1.0 : 0.0, false, false};
}

TrayIconLook startingTrayIconLook() {
    TrayIconLook look;
    look.starting = true;
    return look;
}

double badgeShown(const TrayIconLook& look) {
    if (look.notWatching) {
        return 1.0;
    }
    if (look.starting) {
        return 0.0;
    }
    return look.count >= 1 ? std::clamp(look.badge, 0.0, 1.0) : 0.0;
}

} // namespace velmora
