#pragma once

#include "model/PopoverSnapshot.h"
#include "state/Notification.h"
#include "state/NotificationPreferences.h"
#include "state/Scheduler.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace velmora {

// Decides which desktop notifications a snapshot calls for, so that a person hears about each
// incident once and is never flooded:
//
// - A family whose row reaches the chosen level starts an incident and notifies once; its
//   escalation to a runaway notifies once more, critical, replacing the first on screen.
//   Nothing repeats while the row stays at or above the level, nor within the quiet period
//   after it drops below: a verdict that flaps stays one incident.
// - Memory running out within `exhaustionThreshold` is one incident of the same kind,
//   critical; each new out-of-memory kill notifies once.
// - At most `capCount` notifications go out in any `capWindow`; what comes beyond that is
//   told once in a summary, then nothing until the window has room again. What the summary
//   told counts as notified.
//
// Time comes from the scheduler's clock. Main thread only.
class NotificationPolicy {
public:
    using Duration = Scheduler::Duration;

    static constexpr Duration quietPeriod = std::chrono::minutes(30);
    static constexpr Duration capWindow = std::chrono::minutes(10);
    static constexpr std::size_t capCount = 3;
    static constexpr uint64_t exhaustionThresholdSeconds = 15 * 60;

    NotificationPolicy(std::shared_ptr<Scheduler> scheduler,
                       std::shared_ptr<NotificationPreferences> preferences);

    // The notifications to send for `snapshot` now, most urgent first. At level `off` nothing
    // is sent and nothing is remembered.
    std::vector<Notification> review(const PopoverSnapshot& snapshot);

    // The server's id of the notification sent about `incident`: a later one replaces it.
    void delivered(const std::string& incident, uint32_t serverId);
    // The server closed `serverId`: a later notification about it is shown afresh.
    void closed(uint32_t serverId);

private:
    struct Incident {
        bool active = true;
        bool critical = false;
        Duration clearedAt{0};
        uint32_t serverId = 0;
    };

    // Follows `incident`, now at or above the level; adds what it calls for to `due`.
    void follow(const std::string& incident, bool critical,
                const std::function<Notification()>& make, std::vector<Notification>& due);
    void clearIncidentsBelowLevel(const std::set<std::string>& atLevel);
    void followKills(const std::vector<OutOfMemoryKillSnapshot>& kills,
                     std::vector<Notification>& due);
    std::vector<Notification> withinCap(std::vector<Notification> due);

    std::shared_ptr<Scheduler> scheduler_;
    std::shared_ptr<NotificationPreferences> preferences_;
    std::map<std::string, Incident> incidents_;
    std::set<std::string> seenKills_;
    std::deque<Duration> sentTimes_;
    bool summarySent_ = false;
};

} // namespace velmora
