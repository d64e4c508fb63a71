// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/OutOfMemoryKillDetector.h"

#include "monitor/proc/MemoryCgroup.h"
#include "monitor/proc/ProcParsers.h"

#include <algorithm>
#include <map>

namespace velmora {
namespace {

// Passes a counted kill may wait for its process to leave the table, after the pass that saw
// the count rise.
constexpr int kSlackPasses = 1;

// Whether a listed process that holds no memory any more has ended: a zombie its parent has not
// reaped, or a PID that names another process or none by now. A process swapped out whole is
// asleep or running, not ended.
bool hasEnded(const ProcRoot& procRoot, pid_t pid, uint64_t startTime) {
    char buf[1024];
    long n = procRoot.readPidFile(pid, "stat", buf, sizeof buf - 1);
    if (n <= 0) {
        return true;
    }
    auto stat = parseStat(std::string_view(buf, static_cast<std::size_t>(n)));
    if (!stat) {
        return false; // unreadable figures are no proof of an end
    }
    return stat->startTime != startTime || stat->state == 'Z' || stat->state == 'X' ||
           stat->state == 'x';
}

} // namespace

void OutOfMemoryKillDetector::readCounters(std::optional<uint64_t> counter,
                                           const ProcRoot& cgroupRoot, PassStatistics& stats) {
    decayPending();
    if (takeCounter(counter)) {
        readCounts(cgroupRoot, stats);
    }
}

std::size_t OutOfMemoryKillDetector::observe(const ProcessTable& table,
                                             const KillCountFiles& discovered,
                                             const ProcRoot& procRoot, const ProcRoot& cgroupRoot,
                                             double now, double wall, PassStatistics& stats) {
    std::size_t found = 0;
    if (anyPending_) {
        found = attribute(lostSince(table, procRoot), now, wall);
    }
    remember(table, discovered, cgroupRoot, stats);
    expire(now);
    return found;
}

void OutOfMemoryKillDetector::decayPending() {
    if (!anyPending_) {
        return;
    }
    anyPending_ = false;
    for (auto& [file, cgroup] : cgroups_) {
        if (cgroup.pending > 0 && --cgroup.pendingPasses < 0) {
            cgroup.pending = 0; // the counted kills ended processes Velmora does not watch
        }
        anyPending_ = anyPending_ || cgroup.pending > 0;
    }
}

bool OutOfMemoryKillDetector::takeCounter(std::optional<uint64_t> counter) {
    bool rose = counter && lastCounter_ && *counter > *lastCounter_;
    lastCounter_ = counter;
    if (!counter) {
        windowPasses_ = 0;
        return false;
    }
    if (rose) {
        windowPasses_ = kSlackPasses + 1;
    }
    if (windowPasses_ == 0) {
        return false;
    }
    --windowPasses_;
    return true;
}

void OutOfMemoryKillDetector::readCounts(const ProcRoot& cgroupRoot, PassStatistics& stats) {
    for (auto& [file, cgroup] : cgroups_) {
        std::optional<uint64_t> kills = readCgroupKillCount(cgroupRoot, file);
        ++stats.cgroupKillCounts;
        cgroup.rise = kills && cgroup.kills && *kills > *cgroup.kills ? *kills - *cgroup.kills : 0;
        cgroup.readable = kills.has_value();
        if (kills) {
            cgroup.kills = kills;
        }
    }
    for (auto& [file, cgroup] : cgroups_) {
        uint64_t unexplained = cgroup.rise;
        // A parent's count also rises for kills below it: what the followed cgroups below do
        // not account for happened in a child that is gone, removed once the kill emptied it.
        if (cgroup.children > 0) {
            for (const auto& [below, other] : cgroups_) {
                if (other.members > 0 && other.readable && isBelowCgroupOf(below, file)) {
                    unexplained -= std::min(unexplained, other.rise);
                }
            }
        }
        if (unexplained > 0) {
            cgroup.pending += unexplained;
            cgroup.pendingPasses = kSlackPasses;
            anyPending_ = true;
        }
    }
}

std::vector<OutOfMemoryKillDetector::Lost>
OutOfMemoryKillDetector::lostSince(const ProcessTable& table, const ProcRoot& procRoot) const {
    std::vector<Lost> lost;
    for (const auto& [pid, seen] : previous_) {
        if (seen.cgroup == nullptr || attributed_.count({pid, seen.startTime}) != 0) {
            continue;
        }
        const ProcessRecord* now = table.find(pid);
        bool gone = seen.passesGone > 0 || now == nullptr || now->startTime != seen.startTime;
        // An ended child its parent has not reaped yet: still listed, its memory released. A
        // process swapped out whole looks the same in statm; /proc tells them apart.
        bool emptied = !gone && seen.anonKiB > 0 && now->anonKiB == 0 &&
                       hasEnded(procRoot, pid, seen.startTime);
        if (gone || emptied) {
            lost.push_back({pid, &seen});
        }
    }
    return lost;
}

OutOfMemoryKillDetector::CgroupEntry* OutOfMemoryKillDetector::evidenceFor(const Seen& seen) {
    Cgroup& own = seen.cgroup->second;
    if (own.pending > 0) {
        return seen.cgroup;
    }
    // Its own cgroup is gone: the kill shows only in the parent's count.
    if (!own.readable && own.parent != nullptr && own.parent->second.pending > 0) {
        return own.parent;
    }
    return nullptr;
}

uint64_t OutOfMemoryKillDetector::familyKiBBefore(const std::string& key, pid_t victim) const {
    uint64_t total = 0;
    for (const auto& [pid, seen] : previous_) {
        if (seen.key == key && (seen.passesGone == 0 || pid == victim)) {
            total += seen.footprintKiB;
        }
    }
    return total;
}

uint64_t OutOfMemoryKillDetector::largestStillListed(const CgroupEntry& cgroup,
                                                     const std::vector<Lost>& lost) const {
    uint64_t largest = 0;
    for (const auto& [pid, seen] : previous_) {
        bool isLost = std::any_of(lost.begin(), lost.end(), [pid = pid](const Lost& candidate) {
            return candidate.pid == pid;
        });
        if (seen.cgroup == &cgroup && seen.passesGone == 0 && !isLost) {
            largest = std::max(largest, seen.footprintKiB);
        }
    }
    return largest;
}

std::size_t OutOfMemoryKillDetector::attribute(const std::vector<Lost>& lost, double now,
                                               double wall) {
    // By the kill count file's path, so that kills in several cgroups are listed in the same
    // order every time.
    std::map<std::string, std::pair<CgroupEntry*, std::vector<Lost>>> byEvidence;
    for (const Lost& candidate : lost) {
        if (CgroupEntry* evidence = evidenceFor(*candidate.seen)) {
            auto& [cgroup, candidates] = byEvidence[evidence->first];
            cgroup = evidence;
            candidates.push_back(candidate);
        }
    }
    std::size_t found = 0;
    for (auto& [file, evidence] : byEvidence) {
        found += attributeIn(*evidence.first, evidence.second, now, wall);
    }
    return found;
}

std::size_t OutOfMemoryKillDetector::attributeIn(CgroupEntry& entry, const std::vector<Lost>& lost,
                                                 double now, double wall) {
    Cgroup& cgroup = entry.second;
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
    std::size_t count = std::min<std::size_t>(ranked.size(), cgroup.pending);
    // The killer ends the largest first: while a larger process of the cgroup is still listed
    // (killed, on its way out), a smaller one that left is no proof; wait for it while the rise
    // may still wait.
    if (count > 0 && cgroup.pendingPasses > 0 &&
        largestStillListed(entry, lost) > ranked[count - 1].seen->footprintKiB) {
        return 0;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Lost& victim = ranked[i];
        OutOfMemoryKill kill;
        kill.id =
            "oom-" + std::to_string(victim.pid) + "-" + std::to_string(victim.seen->startTime);
        kill.key = victim.seen->key;
        kill.title = victim.seen->title;
        kill.pid = victim.pid;
        kill.processKiB = victim.seen->footprintKiB;
        kill.familyKiB = familyKiBBefore(victim.seen->key, victim.pid);
        kill.at = now;
        kill.wallAt = wall;
        recent_.push_back(std::move(kill));
        attributed_.insert({victim.pid, victim.seen->startTime});
    }
    cgroup.pending -= count;
    return count;
}

void OutOfMemoryKillDetector::remember(const ProcessTable& table, const KillCountFiles& discovered,
                                       const ProcRoot& cgroupRoot, PassStatistics& stats) {
    for (auto it = previous_.begin(); it != previous_.end();) {
        const ProcessRecord* now = table.find(it->first);
        Seen& seen = it->second;
        bool gone = now == nullptr || now->startTime != seen.startTime;
        if (gone && now == nullptr && seen.passesGone < kSlackPasses) {
            ++seen.passesGone; // still a candidate: its kill may be counted in a later pass
            ++it;
        } else if (gone) {
            attributed_.erase({it->first, seen.startTime});
            release(seen.cgroup);
            it = previous_.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& [pid, record] : table.records()) {
        auto [it, fresh] = previous_.try_emplace(pid);
        Seen& seen = it->second;
        if (fresh) {
            seen.startTime = record->startTime;
            if (auto file = discovered.find(pid); file != discovered.end()) {
                seen.cgroup = follow(file->second, cgroupRoot, stats, true);
            }
            if (seen.cgroup != nullptr) {
                ++seen.cgroup->second.members;
            }
        }
        if (fresh || seen.key != record->familyKey) {
            seen.key = record->familyKey;
            seen.title = record->familyTitle;
        }
        seen.footprintKiB = record->footprintKiB();
        seen.anonKiB = record->anonKiB;
    }
}

OutOfMemoryKillDetector::CgroupEntry* OutOfMemoryKillDetector::follow(const std::string& file,
                                                                      const ProcRoot& cgroupRoot,
                                                                      PassStatistics& stats,
                                                                      bool withParent) {
    if (file.empty()) {
        return nullptr;
    }
    auto [it, inserted] = cgroups_.try_emplace(file);
    if (!inserted) {
        return &*it;
    }
    ++(isLegacyKillCountFile(file) ? followed_.oomControl : followed_.events);
    Cgroup& cgroup = it->second;
    cgroup.kills = readCgroupKillCount(cgroupRoot, file);
    cgroup.readable = cgroup.kills.has_value();
    ++stats.cgroupKillCounts;
    // Only a cgroup whose count was read can later be seen gone.
    if (withParent && cgroup.readable) {
        cgroup.parent = follow(parentKillCountFile(file, uid_), cgroupRoot, stats, false);
        if (cgroup.parent != nullptr) {
            ++cgroup.parent->second.children;
        }
    }
    return &*it;
}

void OutOfMemoryKillDetector::release(CgroupEntry* entry) {
    if (entry == nullptr) {
        return;
    }
    --entry->second.members;
    while (entry != nullptr && entry->second.members == 0 && entry->second.children == 0) {
        CgroupEntry* parent = entry->second.parent;
        --(isLegacyKillCountFile(entry->first) ? followed_.oomControl : followed_.events);
        cgroups_.erase(cgroups_.find(entry->first));
        if (parent != nullptr) {
            --parent->second.children;
        }
        entry = parent;
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
