// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/NotificationMemory.h"

#include "model/JsonText.h"

#include <algorithm>
#include <chrono>

namespace velmora {
namespace {

using std::chrono::duration_cast;
using std::chrono::milliseconds;

constexpr int formatVersion = 1;
// Ages are capped at about 30 years, so that no value in a file overflows the clock.
constexpr int64_t maxAgeMs = int64_t{1} << 40;

// The last `limit` entries: the newest are the ones worth keeping.
template <class T> std::vector<T> newest(std::vector<T> items, std::size_t limit) {
    if (items.size() > limit) {
        items.erase(items.begin(), items.end() - static_cast<std::ptrdiff_t>(limit));
    }
    return items;
}

bool usableName(const Json& value) {
    return value.is_string() && !value.get_ref<const std::string&>().empty() &&
           value.get_ref<const std::string&>().size() <= NotificationMemory::maxNameBytes;
}

std::optional<int64_t> integer(const Json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_integer()) {
        return std::nullopt;
    }
    return found->get<int64_t>();
}

bool flag(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_boolean() && found->get<bool>();
}

std::optional<NotificationMemory::Incident> decodeIncident(const Json& entry,
                                                           milliseconds elapsed) {
    if (!entry.is_object() || !entry.contains("name") || !usableName(entry["name"])) {
        return std::nullopt;
    }
    NotificationMemory::Incident incident;
    incident.name = entry["name"].get<std::string>();
    incident.active = flag(entry, "active");
    incident.critical = flag(entry, "critical");
    const int64_t agoMs =
        std::clamp<int64_t>(integer(entry, "clearedAgoMs").value_or(0), 0, maxAgeMs);
    if (!incident.active) {
        incident.clearedAgo = milliseconds(agoMs) + elapsed;
    }
    const int64_t id = integer(entry, "serverId").value_or(0);
    incident.serverId = id > 0 && id <= UINT32_MAX ? static_cast<uint32_t>(id) : 0;
    return incident;
}

} // namespace

std::string encodeNotificationMemory(const NotificationMemory& memory, int64_t savedAtMs) {
    Json incidents = Json::array();
    for (const auto& incident : newest(memory.incidents, NotificationMemory::maxIncidents)) {
        if (incident.name.size() > NotificationMemory::maxNameBytes) {
            continue;
        }
        Json entry{{"name", incident.name},
                   {"active", incident.active},
                   {"critical", incident.critical},
                   {"serverId", incident.serverId}};
        if (!incident.active) {
            entry["clearedAgoMs"] = duration_cast<milliseconds>(incident.clearedAgo).count();
        }
        incidents.push_back(std::move(entry));
    }
    Json kills = Json::array();
    for (const auto& kill : newest(memory.kills, NotificationMemory::maxKills)) {
        if (kill.size() <= NotificationMemory::maxNameBytes) {
            kills.push_back(kill);
        }
    }
    const Json document{{"version", formatVersion},
                        {"savedAtMs", savedAtMs},
                        {"serverOwner", memory.serverOwner},
                        {"incidents", std::move(incidents)},
                        {"kills", std::move(kills)}};
    return dumpJsonText(document) + "\n";
}

std::optional<NotificationMemory> decodeNotificationMemory(std::string_view text, int64_t nowMs) {
    const auto parsed = parseJsonText(text);
    if (!parsed || !parsed.value().is_object()) {
        return std::nullopt;
    }
    const Json& document = parsed.value();
    if (integer(document, "version") != formatVersion) {
        return std::nullopt;
    }
    const auto savedAt = integer(document, "savedAtMs");
    if (!savedAt) {
        return std::nullopt;
    }
    // A clock set back since the save counts as no time passed.
    const milliseconds elapsed(std::clamp<int64_t>(nowMs - *savedAt, 0, maxAgeMs));
    NotificationMemory memory;
    memory.unobservedFor = elapsed;
    if (const auto owner = document.find("serverOwner");
        owner != document.end() && usableName(*owner)) {
        memory.serverOwner = owner->get<std::string>();
    }
    if (const auto incidents = document.find("incidents");
        incidents != document.end() && incidents->is_array()) {
        for (const auto& entry : *incidents) {
            if (auto incident = decodeIncident(entry, elapsed)) {
                memory.incidents.push_back(std::move(*incident));
            }
        }
    }
    if (const auto kills = document.find("kills"); kills != document.end() && kills->is_array()) {
        for (const auto& kill : *kills) {
            if (usableName(kill)) {
                memory.kills.push_back(kill.get<std::string>());
            }
        }
    }
    memory.incidents = newest(std::move(memory.incidents), NotificationMemory::maxIncidents);
    memory.kills = newest(std::move(memory.kills), NotificationMemory::maxKills);
    return memory;
}

} // namespace velmora
