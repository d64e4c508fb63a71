// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TrayPresence.h"

#include "state/ManualScheduler.h"

#include <gtest/gtest.h>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using Placement = TrayPresence::Placement;

// A tray host that comes and goes when the test says so, and the placements reported.
struct Desk {
    std::shared_ptr<ManualScheduler> clock = std::make_shared<ManualScheduler>();
    bool trayUp = false;
    int probes = 0;
    std::vector<Placement> placements;
    TrayPresence presence{clock,
                          [this] {
                              ++probes;
                              return trayUp;
                          },
                          [this](Placement placement) { placements.push_back(placement); }};
};

TEST(TrayPresenceTest, ATrayThereAtLaunchIsUsedAtOnce) {
    Desk desk;
    desk.trayUp = true;
    desk.presence.start();
    EXPECT_EQ(desk.presence.placement(), Placement::tray);
    EXPECT_EQ(desk.placements, std::vector<Placement>{Placement::tray});
    desk.clock->advance(60s);
    EXPECT_EQ(desk.placements, std::vector<Placement>{Placement::tray});
    desk.presence.start(); // a second start changes nothing
    EXPECT_EQ(desk.placements.size(), 1u);
}

TEST(TrayPresenceTest, APanelStartingJustAfterTheAppNeverSeesTheWindow) {
    Desk desk;
    desk.presence.start();
    EXPECT_EQ(desk.presence.placement(), Placement::pending);
    desk.clock->advance(1500ms);
    desk.trayUp = true;
    desk.clock->advance(500ms);
    EXPECT_EQ(desk.presence.placement(), Placement::tray);
    EXPECT_EQ(desk.placements, std::vector<Placement>{Placement::tray});
    desk.clock->advance(30s);
    EXPECT_EQ(desk.placements, std::vector<Placement>{Placement::tray});
}

TEST(TrayPresenceTest, ALateTrayReplacesTheWindowAndALostOneBringsItBack) {
    Desk desk;
    desk.presence.start();
    desk.clock->advance(2999ms);
    EXPECT_TRUE(desk.placements.empty());
    desk.clock->advance(1ms); // the grace runs out exactly at 3 s
    EXPECT_EQ(desk.placements, std::vector<Placement>{Placement::window});

    // The host of a login race, 5 s late: the icon appears within one poll.
    desk.clock->advance(2s);
    desk.trayUp = true;
    desk.clock->advance(2s);
    EXPECT_EQ(desk.placements, (std::vector<Placement>{Placement::window, Placement::tray}));

    // The panel goes away for good: the window is back once the tray has been missing 5 s
    // (noticed at the next 5 s poll), and the tray again when a panel returns.
    desk.trayUp = false;
    desk.clock->advance(5s);
    EXPECT_EQ(desk.presence.placement(), Placement::tray);
    desk.clock->advance(5s);
    EXPECT_EQ(desk.presence.placement(), Placement::window);
    desk.trayUp = true;
    desk.clock->advance(2s);
    EXPECT_EQ(desk.placements, (std::vector<Placement>{Placement::window, Placement::tray,
                                                       Placement::window, Placement::tray}));
}

TEST(TrayPresenceTest, APanelRestartingWithinTheGraceKeepsTheTray) {
    Desk desk;
    desk.trayUp = true;
    desk.presence.start();
    desk.clock->advance(5s);
    desk.trayUp = false;
    desk.clock->advance(5s); // seen missing at the 10 s poll
    desk.clock->advance(4s);
    desk.trayUp = true; // back before 5 s have passed
    desk.clock->advance(1s);
    desk.trayUp = false;
    desk.clock->advance(5s); // missing again from 20 s: the count starts afresh
    desk.clock->advance(4s);
    EXPECT_EQ(desk.placements, std::vector<Placement>{Placement::tray});
    desk.clock->advance(1s);
    EXPECT_EQ(desk.placements, (std::vector<Placement>{Placement::tray, Placement::window}));
}

TEST(TrayPresenceTest, AsksRarelyAndStopsWithItsOwner) {
    Desk desk;
    desk.trayUp = true;
    desk.presence.start();
    desk.probes = 0;
    desk.clock->advance(std::chrono::hours(1));
    EXPECT_EQ(desk.probes, 720); // once every 5 s while the tray is there
    desk.trayUp = false;
    desk.clock->advance(10s);
    desk.probes = 0;
    desk.clock->advance(std::chrono::hours(1));
    EXPECT_EQ(desk.probes, 1800); // once every 2 s while it is missing

    desk.presence.stop();
    EXPECT_EQ(desk.clock->scheduledTimerCount(), 0u);
    desk.clock->advance(1min);
    EXPECT_EQ(desk.probes, 1800);

    std::shared_ptr<ManualScheduler> clock;
    {
        Desk gone;
        gone.presence.start();
        clock = gone.clock;
        EXPECT_EQ(clock->scheduledTimerCount(), 1u);
    } // destroyed with a poll pending
    EXPECT_EQ(clock->scheduledTimerCount(), 0u);
    clock->advance(1min); // nothing runs against the destroyed object
}

} // namespace
} // namespace velmora
