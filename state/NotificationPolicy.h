// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"
#include "state/AppSettings.h"
#include "state/Notification.h"
#include "state/NotificationMemory.h"
#include "state/Scheduler.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace velmora {

// Decides which desktop notifications a snapshot calls for, so that a person hears about each
// incident once and is never flooded, and never misses a critical alarm:
//
// - A family whose row reaches the chosen level starts an incident and notifies once; its
//   escalation to a runaway notifies once more, critical, replacing the first on screen.
//   Nothing repeats while the row stays at or above the level, nor within the quiet period
//   after it drops below: a verdict that flaps stays one incident.
// - Memory running out within `exhaustionThreshold` is one incident of the same kind,
//   critical; each new out-of-memory kill notifies once.
// - Critical alarms (a runaway, memory running out, a kill) always go out. At most `capCount`
//   of the others go out in any `capWindow`; what comes beyond that is told at once in one
//   summary (which counts as telling it), and what comes after the summary within the window
//   is held back and told once the window has room again, in one notification, unless it has
//   cleared by then.
// - At level `off` nothing is sent, but incidents are still followed as they clear (at the
//   last level in force), and kills seen meanwhile are not told later.
//
// What it remembers can be carried over a restart of the app: memory() and restore().
// Time comes from the scheduler's clock. Main thread only.
class NotificationPolicy {
public:
    using Duration = Scheduler::Duration;

    static constexpr Duration quietPeriod = std::chrono::minutes(30);
    static constexpr Duration capWindow = std::chrono::minutes(10);
    static constexpr std::size_t capCount = 3;
    static constexpr uint64_t exhaustionThresholdSeconds = 15 * 60;

    NotificationPolicy(std::shared_ptr<Scheduler> scheduler, std::shared_ptr<AppSettings> settings);

    // The notifications to send for `snapshot` now, most urgent first.
    std::vector<Notification> review(const PopoverSnapshot& snapshot);

    // The server's id of the notification sent about `incident`: a later one replaces it.
    void delivered(const std::string& incident, uint32_t serverId);
    // The server closed `serverId`: a later notification about it is shown afresh.
    void closed(uint32_t serverId);
    // The notification server now has the bus name `owner` (empty: there is none). Ids given by
    // another owner mean nothing to it, and are forgotten.
    void serverChanged(const std::string& owner);

    // What a restarted app needs to carry on: the incidents told, the kills seen, the ids.
    NotificationMemory memory() const;
    // Carries on from `memory`: incidents nobody followed for the quiet period or longer are
    // over, as is everything whose quiet period has passed.
    void restore(const NotificationMemory& memory);
    // Moves whenever memory() would give something else.
    uint64_t memoryRevision() const { return revision_; }

private:
    struct Incident {
        bool active = true;
        bool critical = false;
        bool held = false; // held back by the cap, not told yet
        Duration clearedAt{0};
        uint32_t serverId = 0;
    };

    // Follows the incident of `notification`, now at or above the level; adds what it calls for
    // to `due`.
    void follow(const Notification& notification, std::vector<Notification>& due);
    // The incidents `snapshot` has at or above `level`, each as its notification, in the
    // snapshot's order.
    std::vector<Notification> incidentsAtLevel(const PopoverSnapshot& snapshot,
                                               NotificationLevel level) const;
    void clearIncidentsBelowLevel(const std::vector<Notification>& atLevel);
    // Notes the kills listed; the new ones are added to `due` (nothing is told without one).
    void followKills(const std::vector<OutOfMemoryKillSnapshot>& kills,
                     std::vector<Notification>* due);
    std::vector<Notification> withinCap(std::vector<Notification> due,
                                        const std::vector<Notification>& atLevel);
    // What was held back and is still at the level, told as one notification, if anything.
    std::optional<Notification> releaseHeld(const std::vector<Notification>& atLevel);
    void changed() { ++revision_; }

    std::shared_ptr<Scheduler> scheduler_;
    std::shared_ptr<AppSettings> settings_;
    NotificationLevel lastLevel_ = defaultNotificationLevel; // the last one that was not `off`
    std::map<std::string, Incident> incidents_;
    std::set<std::string> seenKills_;
    std::string serverOwner_;
    std::deque<Duration> sentTimes_;
    bool summarySent_ = false;
    uint64_t revision_ = 0;
};

} // namespace velmora
