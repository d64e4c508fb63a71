#include "state/NotificationPolicy.h"

#include "state/NotificationText.h"

#include <algorithm>

namespace velmora {

NotificationPolicy::NotificationPolicy(std::shared_ptr<Scheduler> scheduler,
                                       std::shared_ptr<NotificationPreferences> preferences)
    : scheduler_(std::move(scheduler)), preferences_(std::move(preferences)) {}

std::vector<Notification> NotificationPolicy::review(const PopoverSnapshot& snapshot) {
    const NotificationLevel level = preferences_->level();
    if (level == NotificationLevel::off) {
        return {};
    }
    std::vector<Notification> due;
    std::set<std::string> atLevel;
    for (const auto& row : snapshot.rows) {
        if (!reachesLevel(row.verdict, level)) {
            continue;
        }
        const std::string incident = "family:" + row.key;
        if (!atLevel.insert(incident).second) {
            continue; // a key listed twice is one family
        }
        follow(
            incident, row.verdict == FindingVerdict::criticalRunaway,
            [&row] { return findingNotification(row); }, due);
    }
    const auto& forecast = snapshot.memoryForecast;
    if (forecast && forecast->exhaustionSeconds &&
        *forecast->exhaustionSeconds < exhaustionThresholdSeconds) {
        atLevel.insert("memory");
        follow(
            "memory", true, [&forecast] { return exhaustionNotification(*forecast); }, due);
    }
    clearIncidentsBelowLevel(atLevel);
    followKills(snapshot.outOfMemoryKills, due);
    // Critical first; otherwise in the snapshot's order.
    std::stable_sort(due.begin(), due.end(), [](const Notification& a, const Notification& b) {
        return a.urgency == NotificationUrgency::critical &&
               b.urgency != NotificationUrgency::critical;
    });
    return withinCap(std::move(due));
}

void NotificationPolicy::follow(const std::string& incident, bool critical,
                                const std::function<Notification()>& make,
                                std::vector<Notification>& due) {
    auto found = incidents_.find(incident);
    if (found != incidents_.end() && !found->second.active &&
        scheduler_->now() - found->second.clearedAt >= quietPeriod) {
        incidents_.erase(found);
        found = incidents_.end();
    }
    if (found == incidents_.end()) {
        incidents_.emplace(incident, Incident{.critical = critical});
        due.push_back(make());
        return;
    }
    Incident& known = found->second;
    known.active = true;
    if (critical && !known.critical) {
        known.critical = true;
        Notification escalation = make();
        escalation.replacesId = known.serverId;
        due.push_back(std::move(escalation));
    }
}

void NotificationPolicy::clearIncidentsBelowLevel(const std::set<std::string>& atLevel) {
    const Duration now = scheduler_->now();
    for (auto it = incidents_.begin(); it != incidents_.end();) {
        Incident& incident = it->second;
        if (incident.active && !atLevel.contains(it->first)) {
            incident.active = false;
            incident.clearedAt = now;
        }
        if (!incident.active && now - incident.clearedAt >= quietPeriod) {
            it = incidents_.erase(it);
        } else {
            ++it;
        }
    }
}

void NotificationPolicy::followKills(const std::vector<OutOfMemoryKillSnapshot>& kills,
                                     std::vector<Notification>& due) {
    std::set<std::string> listed;
    for (const auto& kill : kills) {
        listed.insert(kill.id);
        if (seenKills_.insert(kill.id).second) {
            due.push_back(killNotification(kill));
        }
    }
    // The monitor keeps a kill for an hour and never reuses its id: what it dropped is done.
    std::erase_if(seenKills_, [&listed](const std::string& id) { return !listed.contains(id); });
}

std::vector<Notification> NotificationPolicy::withinCap(std::vector<Notification> due) {
    const Duration now = scheduler_->now();
    while (!sentTimes_.empty() && now - sentTimes_.front() >= capWindow) {
        sentTimes_.pop_front();
    }
    if (sentTimes_.size() < capCount) {
        summarySent_ = false;
    }
    std::vector<Notification> sent;
    std::vector<Notification> heldBack;
    for (auto& notification : due) {
        if (sentTimes_.size() < capCount) {
            sentTimes_.push_back(now);
            sent.push_back(std::move(notification));
        } else {
            heldBack.push_back(std::move(notification));
        }
    }
    if (!heldBack.empty() && !summarySent_) {
        summarySent_ = true;
        sent.push_back(summaryNotification(heldBack));
    }
    return sent;
}

void NotificationPolicy::delivered(const std::string& incident, uint32_t serverId) {
    if (const auto found = incidents_.find(incident); found != incidents_.end()) {
        found->second.serverId = serverId;
    }
}

void NotificationPolicy::closed(uint32_t serverId) {
    for (auto& [name, incident] : incidents_) {
        if (incident.serverId == serverId) {
            incident.serverId = 0;
        }
    }
}

} // namespace velmora
