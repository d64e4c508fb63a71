// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace velmora {

struct PlacementPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PlacementPoint&) const = default;
};

struct PlacementSize {
    int width = 0;
    int height = 0;
    bool operator==(const PlacementSize&) const = default;
};

struct PlacementRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool operator==(const PlacementRect&) const = default;
};

// Space between the tray icon (or the pointer) and the popover.
inline constexpr int popoverAnchorGap = 6;

// The top-left corner of a popover of `size`: centred under the anchor (the tray icon's
// geometry; an empty one does not count) or under the pointer, flipped above it when there is
// no room below (a panel at the bottom of the screen), then kept inside `screenArea`. A popover
// larger than the area is pinned to the area's top-left corner.
PlacementPoint popoverTopLeft(std::optional<PlacementRect> anchor, PlacementPoint pointer,
                              PlacementSize size, PlacementRect screenArea);

// The tallest popover that fits beside the anchor (or the pointer) without covering it: the
// larger of the room below and the room above it inside `screenArea`, gaps deducted.
int popoverRoomBesideAnchor(std::optional<PlacementRect> anchor, PlacementPoint pointer,
                            PlacementRect screenArea);

// Who decides where the popover appears on a window system, by Qt's platform name: under X11
// Velmora places it at the tray icon; a Wayland compositor places every top-level window
// itself and ignores a position the client asks for.
enum class PopoverPositioning { atAnchor, byCompositor };

PopoverPositioning popoverPositioningOn(std::string_view platformName);

} // namespace velmora
