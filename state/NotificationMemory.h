// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Scheduler.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// What the notification policy remembers across a restart of the app, so that a restarted app
// carries on where it stopped: the incidents it told (and when each cleared), the
// out-of-memory kills it told, and the notification server's ids of what is on screen with the
// server's bus name they belong to. Times are ages, so that they survive a change of clock.
struct NotificationMemory {
    using Duration = Scheduler::Duration;

    // At most this many incidents and kills are kept (the newest), and names no longer than
    // this: the file stays small whatever the monitor sends.
    static constexpr std::size_t maxIncidents = 256;
    static constexpr std::size_t maxKills = 256;
    static constexpr std::size_t maxNameBytes = 512;

    struct Incident {
        std::string name; // "family:<key>", "memory"
        bool active = true;
        bool critical = false;
        Duration clearedAgo{0}; // how long ago it cleared, when not active
        uint32_t serverId = 0;

        bool operator==(const Incident&) const = default;
    };

    std::vector<Incident> incidents;
    std::vector<std::string> kills;
    std::string serverOwner;
    // How long nobody followed these incidents: the time between the save and the load.
    Duration unobservedFor{0};

    bool operator==(const NotificationMemory&) const = default;
};

// One JSON object, stamped with the wall-clock time of the save (milliseconds since the epoch).
std::string encodeNotificationMemory(const NotificationMemory& memory, int64_t savedAtMs);
// The memory in `text`, its ages moved on by the wall-clock time passed since it was saved (none
// when the clock went back). Absent for text that is not such a memory; entries beyond the
// bounds, and those with a name too long, are left out.
std::optional<NotificationMemory> decodeNotificationMemory(std::string_view text, int64_t nowMs);

// Where the memory is kept between runs.
class NotificationMemoryStore {
public:
    virtual ~NotificationMemoryStore() = default;
    // Absent when nothing (usable) was kept: the policy starts fresh.
    virtual std::optional<NotificationMemory> load() = 0;
    virtual void save(const NotificationMemory& memory) = 0;
};

} // namespace velmora
