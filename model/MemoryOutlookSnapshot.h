// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingCodes.h"
#include "model/HistoryCodes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// What happens if memory keeps running out: when, who goes first and who acts. Every key is
// optional; the monitor sends the record only when it knows at least one of them.
struct MemoryForecastSnapshot {
    // Seconds until available memory plus free swap reach zero at the machine's trend over the
    // last 10 minutes; present only while that trend falls.
    std::optional<uint64_t> exhaustionSeconds;
    // "Memory runs out in about 40 min at this rate".
    std::optional<std::string> exhaustionText;
    // The family holding the process the kernel would end first (highest oom_score).
    std::optional<std::string> firstVictimKey;
    // "First to be ended if memory runs out: Firefox, 3.2 GB".
    std::optional<std::string> firstVictimText;
    // Which out-of-memory daemon acts, and at what threshold, when one runs.
    std::optional<std::string> killerText;
    // The first victim as a code: ourApp with the family's title as `name` and its
    // `footprintKiB`, or anotherUser with the process's `name` or `pid`.
    std::optional<Coded<VictimCode>> firstVictim{};
    // The daemon and its thresholds, for killerText.
    std::optional<KillerCodes> killer{};

    bool operator==(const MemoryForecastSnapshot&) const = default;
};

// One process of a watched family ended by the out-of-memory killer, kept in the snapshot for an
// hour. Every key is required; `id` is unique per kill, so a new id is a new event.
struct OutOfMemoryKillSnapshot {
    std::string id;
    std::string key;
    std::string title;
    // The family's footprint just before the kill ("3.2 GB").
    std::string footprintLabel;
    // "Ended by the out-of-memory killer at 14:02 with 3.2 GB."
    std::string message;
    // The message's code with its time and size, as a recent finding's explanation sends it.
    std::optional<RecentExplanationCodes> messageCode{};

    bool operator==(const OutOfMemoryKillSnapshot&) const = default;
};

std::string identity(const OutOfMemoryKillSnapshot& kill);

} // namespace velmora
