// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/NotificationPolicy.h"

#include "state/NotificationText.h"

#include <algorithm>

namespace velmora {
namespace {

bool isCritical(const Notification& notification) {
    return notification.urgency == NotificationUrgency::critical;
}

const Notification* find(const std::vector<Notification>& notifications,
                         const std::string& incident) {
    const auto found = std::find_if(notifications.begin(), notifications.end(),
                                    [&](const Notification& n) { return n.incident == incident; });
    return found == notifications.end() ? nullptr : &*found;
}

} // namespace

NotificationPolicy::NotificationPolicy(std::shared_ptr<Scheduler> scheduler,
                                       std::shared_ptr<AppSettings> settings)
    : scheduler_(std::move(scheduler)), settings_(std::move(settings)) {}

std::vector<Notification> NotificationPolicy::review(const PopoverSnapshot& snapshot) {
    const NotificationLevel level = settings_->get(settingsKeys::notificationLevel);
    if (level != NotificationLevel::off) {
        lastLevel_ = level;
    }
    // At "off" the incidents are still followed as they clear, at the level last in force.
    const auto atLevel = incidentsAtLevel(snapshot, lastLevel_);
    clearIncidentsBelowLevel(atLevel);
    if (level == NotificationLevel::off) {
        followKills(snapshot.outOfMemoryKills, nullptr);
        return {};
    }
    std::vector<Notification> due;
    for (const auto& notification : atLevel) {
        follow(notification, due);
    }
    followKills(snapshot.outOfMemoryKills, &due);
    // Critical first; otherwise in the snapshot's order.
    std::stable_sort(due.begin(), due.end(), [](const Notification& a, const Notification& b) {
        return isCritical(a) && !isCritical(b);
    });
    return withinCap(std::move(due), atLevel);
}

std::vector<Notification> NotificationPolicy::incidentsAtLevel(const PopoverSnapshot& snapshot,
                                                               NotificationLevel level) const {
    std::vector<Notification> atLevel;
    for (const auto& row : snapshot.rows) {
        // A key listed twice is one family.
        if (reachesLevel(row.verdict, level) && !find(atLevel, "family:" + row.key)) {
            atLevel.push_back(findingNotification(row));
        }
    }
    const auto& forecast = snapshot.memoryForecast;
    if (forecast && forecast->exhaustionSeconds &&
        *forecast->exhaustionSeconds < exhaustionThresholdSeconds) {
        atLevel.push_back(exhaustionNotification(*forecast));
    }
    return atLevel;
}

void NotificationPolicy::follow(const Notification& notification, std::vector<Notification>& due) {
    const std::string& incident = notification.incident;
    const bool critical = isCritical(notification);
    auto found = incidents_.find(incident);
    if (found != incidents_.end() && !found->second.active &&
        scheduler_->now() - found->second.clearedAt >= quietPeriod) {
        incidents_.erase(found);
        found = incidents_.end();
    }
    if (found == incidents_.end()) {
        incidents_.emplace(incident, Incident{.critical = critical});
        changed();
        due.push_back(notification);
        return;
    }
    Incident& known = found->second;
    if (!known.active) {
        known.active = true;
        changed();
    }
    if (critical && !known.critical) {
        known.critical = true;
        changed();
        Notification escalation = notification;
        escalation.replacesId = known.serverId;
        due.push_back(std::move(escalation));
    }
}

void NotificationPolicy::clearIncidentsBelowLevel(const std::vector<Notification>& atLevel) {
    const Duration now = scheduler_->now();
    for (auto it = incidents_.begin(); it != incidents_.end();) {
        Incident& incident = it->second;
        if (incident.active && !find(atLevel, it->first)) {
            incident.active = false;
            incident.clearedAt = now;
            changed();
        }
        if (!incident.active && now - incident.clearedAt >= quietPeriod) {
            it = incidents_.erase(it);
            changed();
        } else {
            ++it;
        }
    }
}

void NotificationPolicy::followKills(const std::vector<OutOfMemoryKillSnapshot>& kills,
                                     std::vector<Notification>* due) {
    std::set<std::string> listed;
    for (const auto& kill : kills) {
        listed.insert(kill.id);
        if (seenKills_.insert(kill.id).second) {
            changed();
            if (due != nullptr) {
                due->push_back(killNotification(kill));
            }
        }
    }
    // The monitor keeps a kill for an hour and never reuses its id: what it dropped is done.
    if (std::erase_if(seenKills_,
                      [&listed](const std::string& id) { return !listed.contains(id); }) > 0) {
        changed();
    }
}

std::vector<Notification> NotificationPolicy::withinCap(std::vector<Notification> due,
                                                        const std::vector<Notification>& atLevel) {
    const Duration now = scheduler_->now();
    while (!sentTimes_.empty() && now - sentTimes_.front() >= capWindow) {
        sentTimes_.pop_front();
    }
    if (sentTimes_.size() < capCount) {
        summarySent_ = false;
    }
    std::vector<Notification> sent;
    for (auto& notification : due) {
        if (isCritical(notification)) {
            // Never held back; an incident held back before is told by it.
            if (const auto found = incidents_.find(notification.incident);
                found != incidents_.end() && found->second.held) {
                found->second.held = false;
                changed();
            }
            sent.push_back(std::move(notification));
        }
    }
    if (sentTimes_.size() < capCount) {
        if (auto told = releaseHeld(atLevel)) {
            sentTimes_.push_back(now);
            summarySent_ = true; // it stands for this window's summary
            sent.push_back(std::move(*told));
        }
    }
    std::vector<Notification> heldBack;
    for (auto& notification : due) {
        if (isCritical(notification)) {
            continue;
        }
        if (sentTimes_.size() < capCount) {
            sentTimes_.push_back(now);
            sent.push_back(std::move(notification));
        } else {
            heldBack.push_back(std::move(notification));
        }
    }
    if (heldBack.empty()) {
        return sent;
    }
    if (!summarySent_) {
        // What the summary tells counts as told.
        summarySent_ = true;
        sent.push_back(summaryNotification(heldBack));
        return sent;
    }
    for (const auto& held : heldBack) {
        if (const auto found = incidents_.find(held.incident); found != incidents_.end()) {
            found->second.held = true;
            changed();
        }
    }
    return sent;
}

std::optional<Notification>
NotificationPolicy::releaseHeld(const std::vector<Notification>& atLevel) {
    std::vector<Notification> told;
    for (const auto& notification : atLevel) {
        const auto found = incidents_.find(notification.incident);
        if (found != incidents_.end() && found->second.held && found->second.active) {
            found->second.held = false;
            changed();
            told.push_back(notification);
        }
    }
    if (told.empty()) {
        return std::nullopt;
    }
    // One alone is told as itself, with its own buttons.
    return told.size() == 1 ? told.front() : summaryNotification(told);
}

void NotificationPolicy::delivered(const std::string& incident, uint32_t serverId) {
    if (const auto found = incidents_.find(incident); found != incidents_.end()) {
        found->second.serverId = serverId;
        changed();
    }
}

void NotificationPolicy::closed(uint32_t serverId) {
    for (auto& [name, incident] : incidents_) {
        if (incident.serverId == serverId) {
            incident.serverId = 0;
            changed();
        }
    }
}

void NotificationPolicy::serverChanged(const std::string& owner) {
    if (owner == serverOwner_) {
        return;
    }
    serverOwner_ = owner;
    for (auto& [name, incident] : incidents_) {
        incident.serverId = 0;
    }
    changed();
}

NotificationMemory NotificationPolicy::memory() const {
    const Duration now = scheduler_->now();
    NotificationMemory memory;
    for (const auto& [name, incident] : incidents_) {
        if (incident.held) {
            continue; // never told: a restarted app tells it
        }
        memory.incidents.push_back({name, incident.active, incident.critical,
                                    incident.active ? Duration{0} : now - incident.clearedAt,
                                    incident.serverId});
    }
    memory.kills.assign(seenKills_.begin(), seenKills_.end());
    memory.serverOwner = serverOwner_;
    return memory;
}

void NotificationPolicy::restore(const NotificationMemory& memory) {
    const Duration now = scheduler_->now();
    incidents_.clear();
    for (const auto& remembered : memory.incidents) {
        Incident incident{.active = remembered.active,
                          .critical = remembered.critical,
                          .clearedAt = now - remembered.clearedAgo,
                          .serverId = remembered.serverId};
        // Nobody followed it for a quiet period: whatever comes now is a new incident.
        if (incident.active && memory.unobservedFor >= quietPeriod) {
            incident.active = false;
            incident.clearedAt = now - memory.unobservedFor;
        }
        if (incident.active || now - incident.clearedAt < quietPeriod) {
            incidents_[remembered.name] = incident;
        }
    }
    seenKills_ = {memory.kills.begin(), memory.kills.end()};
    serverOwner_ = memory.serverOwner;
    changed();
}

} // namespace velmora
