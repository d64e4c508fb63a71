// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PopoverPlacement.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
const PlacementRect screen{0, 0, 1920, 1080};
const PlacementSize popover{448, 600};
} // namespace

TEST(PopoverPlacement, CentresUnderTheTrayIcon) {
    const PlacementRect icon{1000, 0, 24, 24};
    EXPECT_EQ(popoverTopLeft(icon, {5, 5}, popover, screen),
              (PlacementPoint{1012 - 224, 24 + popoverAnchorGap}));
}

TEST(PopoverPlacement, UsesThePointerWhenTheTrayReportsNoGeometry) {
    EXPECT_EQ(popoverTopLeft(PlacementRect{0, 0, 0, 0}, {800, 10}, popover, screen),
              (PlacementPoint{800 - 224, 10 + popoverAnchorGap}));
    EXPECT_EQ(popoverTopLeft(std::nullopt, {800, 10}, popover, screen),
              (PlacementPoint{800 - 224, 10 + popoverAnchorGap}));
}

TEST(PopoverPlacement, ClampsToTheScreenArea) {
    // An icon at the right edge: the popover stays on screen.
    EXPECT_EQ(popoverTopLeft(PlacementRect{1900, 0, 20, 20}, {}, popover, screen).x, 1920 - 448);
    EXPECT_EQ(popoverTopLeft(PlacementRect{0, 0, 20, 20}, {}, popover, screen).x, 0);
    // A panel at the bottom: the popover opens above the icon.
    EXPECT_EQ(popoverTopLeft(PlacementRect{900, 1050, 30, 30}, {}, popover, screen),
              (PlacementPoint{915 - 224, 1050 - popoverAnchorGap - 600}));
    // A second screen to the right, with a panel taking its top 32 pixels.
    const PlacementRect second{1920, 32, 1280, 992};
    EXPECT_EQ(popoverTopLeft(std::nullopt, {3190, 5}, popover, second),
              (PlacementPoint{3200 - 448, 32}));
}

TEST(PopoverPlacement, PinsAPopoverLargerThanTheScreen) {
    const PlacementRect small{100, 50, 400, 500};
    EXPECT_EQ(popoverTopLeft(std::nullopt, {300, 300}, popover, small), (PlacementPoint{100, 50}));
}

TEST(PopoverPlacement, OnlyAWaylandCompositorPlacesThePopoverItself) {
    EXPECT_EQ(popoverPositioningOn("wayland"), PopoverPositioning::byCompositor);
    EXPECT_EQ(popoverPositioningOn("wayland-egl"), PopoverPositioning::byCompositor);
    EXPECT_EQ(popoverPositioningOn("xcb"), PopoverPositioning::atAnchor);
    EXPECT_EQ(popoverPositioningOn("offscreen"), PopoverPositioning::atAnchor);
}

// A popover taller than the room beside the icon is cut to that room, so it never covers
// the icon it hangs from; the larger side counts.
TEST(PopoverPlacement, ThePopoverFitsBesideTheIconItHangsFrom) {
    const PlacementRect screen{0, 0, 1280, 800};
    const PlacementRect topIcon{1257, 1, 22, 26}; // a panel at the top
    const int room = popoverRoomBesideAnchor(topIcon, {}, screen);
    EXPECT_EQ(room, 800 - 27 - popoverAnchorGap);
    const auto topLeft = popoverTopLeft(topIcon, {}, {462, room}, screen);
    EXPECT_GE(topLeft.y, topIcon.bottom() + popoverAnchorGap);

    const PlacementRect bottomIcon{600, 772, 22, 26}; // a panel at the bottom
    const int roomAbove = popoverRoomBesideAnchor(bottomIcon, {}, screen);
    EXPECT_EQ(roomAbove, 772 - popoverAnchorGap);
    const auto above = popoverTopLeft(bottomIcon, {}, {462, roomAbove}, screen);
    EXPECT_LE(above.y + roomAbove, bottomIcon.y - popoverAnchorGap);
    // Without an icon geometry the pointer is the anchor.
    EXPECT_EQ(popoverRoomBesideAnchor(std::nullopt, {600, 300}, screen),
              800 - 300 - popoverAnchorGap);
}
