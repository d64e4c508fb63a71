// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PopoverPlacement.h"

#include <algorithm>

namespace velmora {
namespace {

int clampedStart(int start, int length, int areaStart, int areaLength) {
    const int lastStart = areaStart + areaLength - length;
    if (lastStart < areaStart) {
        return areaStart;
    }
    return std::clamp(start, areaStart, lastStart);
}

PlacementRect anchorOrPointer(std::optional<PlacementRect> anchor, PlacementPoint pointer) {
    if (anchor && !anchor->isEmpty()) {
        return *anchor;
    }
    return {pointer.x, pointer.y, 0, 0};
}

} // namespace

PlacementPoint popoverTopLeft(std::optional<PlacementRect> anchor, PlacementPoint pointer,
                              PlacementSize size, PlacementRect screenArea) {
    const PlacementRect target = anchorOrPointer(anchor, pointer);
    const int centreX = target.x + target.width / 2;
    int x = centreX - size.width / 2;
    int y = target.bottom() + popoverAnchorGap;
    const bool roomBelow = y + size.height <= screenArea.bottom();
    const int above = target.y - popoverAnchorGap - size.height;
    if (!roomBelow && above >= screenArea.y) {
        y = above;
    }
    x = clampedStart(x, size.width, screenArea.x, screenArea.width);
    y = clampedStart(y, size.height, screenArea.y, screenArea.height);
    return {x, y};
}

int popoverRoomBesideAnchor(std::optional<PlacementRect> anchor, PlacementPoint pointer,
                            PlacementRect screenArea) {
    const PlacementRect target = anchorOrPointer(anchor, pointer);
    const int below = screenArea.bottom() - target.bottom() - popoverAnchorGap;
    const int above = target.y - popoverAnchorGap - screenArea.y;
    return std::max(below, above);
}

PopoverPositioning popoverPositioningOn(std::string_view platformName) {
    return platformName.starts_with("wayland") ? PopoverPositioning::byCompositor
                                               : PopoverPositioning::atAnchor;
}

} // namespace velmora
