#include "monitor/live/OutOfMemoryKillDetector.h"

#include <algorithm>
#include <map>

namespace velmora {
namespace {

// Passes a counted kill may wait for its process to leave the table, after the pass that saw
// the counter rise.
constexpr int kSlackPasses = 1;

} // namespace

std::size_t OutOfMemoryKillDetector::observe(std::optional<uint64_t> counter,
                                             const ProcessTable& table, double now, double wall) {
    takeCounter(counter);
    std::size_t found = 0;
    if (pendingKills_ > 0) {
        found = attribute(lostSince(table), now, wall);
    }
    remember(table);
    expire(now);
    return found;
}

void OutOfMemoryKillDetector::takeCounter(std::optional<uint64_t> counter) {
    if (pendingKills_ > 0 && --pendingPasses_ < 0) {
        pendingKills_ = 0; // the counted kills ended processes Velmora does not watch
    }
    if (counter && lastCounter_ && *counter > *lastCounter_) {
        pendingKills_ += *counter - *lastCounter_;
        pendingPasses_ = kSlackPasses;
    }
    lastCounter_ = counter;
    if (!counter) {
        pendingKills_ = 0;
    }
}

std::vector<OutOfMemoryKillDetector::Lost>
OutOfMemoryKillDetector::lostSince(const ProcessTable& table) const {
    std::vector<Lost> lost;
    for (const auto& [pid, seen] : previous_) {
        if (attributed_.count({pid, seen.startTime}) != 0) {
            continue;
        }
        const ProcessRecord* now = table.find(pid);
        bool gone = now == nullptr || now->startTime != seen.startTime;
        // An ended child its parent has not reaped yet: still listed, its memory released.
        bool emptied = !gone && seen.anonKiB > 0 && now->anonKiB == 0;
        if (gone || emptied) {
            lost.push_back({pid, &seen});
        }
    }
    return lost;
}

uint64_t OutOfMemoryKillDetector::familyKiBBefore(const std::string& key) const {
    uint64_t total = 0;
    for (const auto& [pid, seen] : previous_) {
        if (seen.key == key) {
            total += seen.footprintKiB;
        }
    }
    return total;
}

std::size_t OutOfMemoryKillDetector::attribute(const std::vector<Lost>& lost, double now,
                                               double wall) {
    // Each family's largest lost process.
    std::map<std::string, Lost> largest;
    for (const Lost& candidate : lost) {
        auto [it, inserted] = largest.emplace(candidate.seen->key, candidate);
        if (!inserted && candidate.seen->footprintKiB > it->second.seen->footprintKiB) {
            it->second = candidate;
        }
    }
    std::vector<Lost> ranked;
    ranked.reserve(largest.size());
    for (const auto& [key, candidate] : largest) {
        ranked.push_back(candidate);
    }
    std::sort(ranked.begin(), ranked.end(), [](const Lost& a, const Lost& b) {
        return a.seen->footprintKiB != b.seen->footprintKiB
                   ? a.seen->footprintKiB > b.seen->footprintKiB
                   : a.pid < b.pid;
    });
    std::size_t count = std::min<std::size_t>(ranked.size(), pendingKills_);
    for (std::size_t i = 0; i < count; ++i) {
        const Lost& victim = ranked[i];
        OutOfMemoryKill kill;
        kill.id =
            "oom-" + std::to_string(victim.pid) + "-" + std::to_string(victim.seen->startTime);
        kill.key = victim.seen->key;
        kill.title = victim.seen->title;
        kill.pid = victim.pid;
        kill.processKiB = victim.seen->footprintKiB;
        kill.familyKiB = familyKiBBefore(victim.seen->key);
        kill.at = now;
        kill.wallAt = wall;
        recent_.push_back(std::move(kill));
        attributed_.insert({victim.pid, victim.seen->startTime});
    }
    pendingKills_ -= count;
    return count;
}

void OutOfMemoryKillDetector::remember(const ProcessTable& table) {
    for (auto it = previous_.begin(); it != previous_.end();) {
        const ProcessRecord* now = table.find(it->first);
        if (now == nullptr || now->startTime != it->second.startTime) {
            attributed_.erase({it->first, it->second.startTime});
            it = previous_.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& [pid, record] : table.records()) {
        Seen& seen = previous_[pid];
        if (seen.key != record->familyKey || seen.startTime != record->startTime) {
            seen.key = record->familyKey;
            seen.title = record->familyTitle;
            seen.startTime = record->startTime;
        }
        seen.footprintKiB = record->footprintKiB();
        seen.anonKiB = record->anonKiB;
    }
}

void OutOfMemoryKillDetector::expire(double now) {
    std::erase_if(recent_,
                  [&](const OutOfMemoryKill& kill) { return now - kill.at > keepSeconds_; });
    if (recent_.size() > maxKept_) {
        recent_.erase(recent_.begin(), recent_.end() - static_cast<std::ptrdiff_t>(maxKept_));
    }
}

} // namespace velmora
