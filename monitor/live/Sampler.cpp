// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/Sampler.h"

#include "monitor/common/DisplayText.h"
#include "monitor/proc/MemoryCgroup.h"
#include "monitor/proc/VmStat.h"
#include "monitor/scoring/RunawayRule.h"

#include <algorithm>
#include <unistd.h>

namespace velmora {
namespace {

constexpr std::size_t kMaxMembersPublished = 256;
constexpr std::size_t kReliefFamilies = 8;

} // namespace

Sampler::Sampler(SamplerOptions options, std::unique_ptr<SeriesStore> store)
    : options_(std::move(options)), root_(options_.procPath), cgroupRoot_(options_.cgroupPath),
      table_(root_, options_.allUsers ? ProcessTable::kAnyOwner : options_.uid),
      resolver_(root_, desktopEntries_),
      scorer_(options_.scoring, options_.sampling.sampleIntervalSeconds,
              static_cast<double>(::sysconf(_SC_CLK_TCK))),
      protected_(root_, options_.self),
      // Only this process's own parent can be asked for without reading /proc.
      ancestors_(protected_, options_.self == ::getpid() ? AncestorChain::ParentOfSelf(::getppid)
                                                         : AncestorChain::ParentOfSelf()),
      store_(std::move(store)) {
    const SamplingTuning& t = options_.sampling;
    if (!store_) {
        const ScoringTuning& series = options_.scoring;
        store_ = std::make_unique<MemorySeriesStore>(
            static_cast<std::size_t>(series.fineSampleCount),
            static_cast<std::size_t>(series.bucketCount), series.bucketSeconds);
    }
    if (!options_.smokeTargetsPath.empty()) {
        smoke_ = std::make_unique<SmokeTargets>(options_.smokeTargetsPath);
    }
    kills_ = OutOfMemoryKillDetector(options_.allUsers ? std::nullopt
                                                       : std::optional<uid_t>(options_.uid),
                                     t.recentFindingSeconds);
    table_.setQuietPeriod(t.quietDetailSeconds);
    table_.setQuietHeldPeriod(t.quietHeldSeconds);
    forecaster_.setTrendOnly(!options_.forecastVictims);
}

std::shared_ptr<const LiveView> Sampler::pass(double now, double wall) {
    double cpuStart = threadCpuSeconds();
    if (passCount_ == 0) {
        startedAt_ = now;
    }
    PassStatistics stats;
    if (smoke_ && now - lastSmokeCheck_ >= 1.0) {
        smokePids_ = smoke_->current();
        lastSmokeCheck_ = now;
    }
    // Most passes have no suspect: no look-up a process then.
    auto isSuspect = [this](const ProcessRecord& record) {
        return !suspects_.empty() && suspects_.count(record.familyKey) != 0;
    };
    const SamplingTuning& t = options_.sampling;
    PassCost& cost = stats.cost;
    CpuLaps laps;
    // The kill counters before the table: every kill they count was sent before it is read.
    std::optional<uint64_t> oomKillCount = readOutOfMemoryKillCount(root_);
    kills_.readCounters(oomKillCount, cgroupRoot_, stats);
    // The machine's memory before the table, which takes its shared memory from the same read.
    MachineState machine = readMachineState(root_, stats);
    table_.setMachineShmem(machine.shmemKiB);
    cost.machine += laps.lap();
    auto discovered =
        table_.refresh(now, t.suspectDetailSeconds, t.backgroundDetailSeconds, isSuspect, stats);
    laps.lap();
    auto killCountFiles = assignFamilies(discovered, stats);
    applySmokeTargets();
    cost.discovery += laps.lap();
    forecaster_.update(now, machine, root_, table_, stats);
    cost.forecast += laps.lap();
    kills_.observe(table_, killCountFiles, root_, cgroupRoot_, now, wall, stats);
    aggregate(now);
    cost.series += laps.lap();
    score(machine.valid
              ? std::optional<uint64_t>(machine.memory.availableKiB + machine.memory.swapFreeKiB)
              : std::nullopt);
    retire(now);
    cost.scoring += laps.lap();
    ++passCount_;
    auto view = publish(now, wall, machine, stats);
    view->outOfMemoryKills = kills_.recent();
    view->machineOomKills = oomKillCount;
    view->cgroupPath = cgroupRoot_.path();
    view->cgroupKillCounts = kills_.followed();
    view->forecast = forecaster_.view();
    if (options_.rankedFamilies > 0) {
        view->ranked = rank();
        view->endedFamilies = ended_;
    }
    view->stats.cost.publishing += laps.lap();
    view->passCpuSeconds = threadCpuSeconds() - cpuStart;
    return view;
}

double Sampler::quickSeconds() const {
    const SamplingTuning& t = options_.sampling;
    return t.suspectSampleSeconds < t.sampleIntervalSeconds ? t.suspectSampleSeconds : 0.0;
}

void Sampler::quickPass() {
    if (suspects_.empty()) {
        return;
    }
    auto isSuspect = [this](const ProcessRecord& record) {
        return suspects_.count(record.familyKey) != 0;
    };
    PassStatistics ignored;
    table_.rereadMemory(isSuspect, ignored);
    std::unordered_map<std::string, uint64_t> footprints;
    for (const auto& [pid, record] : table_.records()) {
        if (isSuspect(*record)) {
            footprints[record->familyKey] += record->footprintKiB();
        }
    }
    for (const auto& [key, footprint] : footprints) {
        between_[key].push_back(footprint);
    }
}

OutOfMemoryKillDetector::KillCountFiles
Sampler::assignFamilies(const std::vector<ProcessRecord*>& discovered, PassStatistics& stats) {
    OutOfMemoryKillDetector::KillCountFiles killCountFiles;
    char cgroup[4096];
    for (ProcessRecord* record : discovered) {
        // Read once: it names the app and tells where the out-of-memory killer counts.
        long n = root_.readPidFile(record->pid, "cgroup", cgroup, sizeof cgroup);
        std::string_view cgroupText;
        if (n > 0) {
            ++stats.cgroup;
            cgroupText = std::string_view(cgroup, static_cast<std::size_t>(n));
            if (std::string file = memoryKillCountFile(cgroupText); !file.empty()) {
                killCountFiles.emplace(record->pid, std::move(file));
            }
        }
        record->countsShared =
            !ProtectedProcesses::mapsClientBuffers(executableBaseName(record->exe), record->comm);
        FamilyIdentity identity = resolver_.resolve(*record, table_, cgroupText);
        if (options_.allUsers) {
            identity.key = "user:" + std::to_string(record->uid) + ":" + identity.key;
        }
        record->familyKey = identity.key;
        record->familyTitle = identity.title;
        auto& family = families_[identity.key];
        if (family.identity.key.empty()) {
            family.identity = std::move(identity);
            family.uid = record->uid;
        }
    }
    return killCountFiles;
}

void Sampler::applySmokeTargets() {
    auto assign = [this](std::optional<pid_t> pid, const char* key, const char* title) {
        if (!pid) {
            return;
        }
        const ProcessRecord* found = table_.find(*pid);
        if (found == nullptr || found->familyKey == key) {
            return;
        }
        auto* record = const_cast<ProcessRecord*>(found);
        record->familyKey = key;
        record->familyTitle = title;
        auto& family = families_[key];
        family.identity.key = key;
        family.identity.title = title;
    };
    assign(smokePids_.recovery, kRecoverySmokeKey, "Velmora recovery self-check target");
    assign(smokePids_.restart, kRestartSmokeKey, "Velmora restart self-check target");
}

void Sampler::aggregate(double now) {
    for (auto& [key, family] : families_) {
        family.wasAlive = family.members > 0;
        family.footprintKiB = 0;
        family.anonKiB = 0;
        family.swapKiB = 0;
        family.sharedKiB = 0;
        family.cpuTicks = 0;
        family.members = 0;
    }
    // One look-up of a record's family a pass; recordMembers walks what it found.
    memberships_.clear();
    for (const auto& [pid, record] : table_.records()) {
        auto it = families_.find(record->familyKey);
        if (it == families_.end()) {
            continue;
        }
        FamilyState& family = it->second;
        family.footprintKiB += record->footprintKiB();
        family.anonKiB += record->anonKiB;
        family.swapKiB += record->swapKiB;
        family.sharedKiB += record->sharedKiB();
        family.cpuTicks += record->cpuTicks;
        ++family.members;
        memberships_.emplace_back(record.get(), &family);
    }
    recordMembers(now);
    ended_.clear();
    for (auto& [key, family] : families_) {
        if (family.members > 0) {
            family.series = &store_->record(key, now, recordedFootprint(key, family.footprintKiB),
                                            family.cpuTicks);
            recordKinds(family, now);
            family.lastSeen = now;
        } else if (family.wasAlive) {
            ended_.push_back(key);
        }
    }
    between_.clear();
}

void Sampler::recordMembers(double now) {
    for (const auto& [record, family] : memberships_) {
        if (!family->memberWatch && family->members > 1) {
            family->memberWatch = std::make_unique<MemberWatch>(options_.scoring);
        }
        if (family->memberWatch) {
            const uint64_t id = memberIdOf(record->pid, record->startTime);
            if (record->execed) {
                // What the launcher measured does not count against the program it became.
                family->memberWatch->forget(id);
            }
            family->memberWatch->record(id, now, record->footprintKiB(), record->cpuTicks);
        }
    }
    for (auto& [key, family] : families_) {
        if (family.memberWatch) {
            family.memberWatch->sweep();
        }
    }
}

uint64_t Sampler::recordedFootprint(const std::string& key, uint64_t footprintKiB) {
    if (between_.empty()) {
        return footprintKiB;
    }
    auto reads = between_.find(key);
    if (reads == between_.end()) {
        return footprintKiB;
    }
    std::vector<uint64_t>& values = reads->second;
    values.push_back(footprintKiB);
    auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void Sampler::score(std::optional<uint64_t> reserveKiB) {
    suspects_.clear();
    std::vector<FamilyAssessment*> live;
    for (auto& [key, family] : families_) {
        if (family.members == 0) {
            continue;
        }
        const FamilySeries* series = family.series;
        if (family.grower && !family.memberWatch->contains(family.grower->id)) {
            // The growing member ended: the family speaks for itself again.
            family.grower.reset();
            family.assessment = family.own;
        }
        if (series->closedBuckets() != family.assessedBuckets) {
            FindingVerdict before = family.assessment.verdict;
            std::optional<uint64_t> baseline;
            if (baselineSource_) {
                baseline = baselineSource_(key);
            }
            judge(family, *series, reserveKiB, baseline);
            if (atLeast(family.assessment.verdict, family.peakVerdict)) {
                family.peakVerdict = family.assessment.verdict;
            }
            if (atLeast(before, FindingVerdict::suspect) &&
                !atLeast(family.assessment.verdict, FindingVerdict::watch)) {
                departed_.push_back(
                    {key, family.identity.title, family.peakVerdict, family.lastSeen, false});
            }
        }
        if (!family.grower) {
            family.assessment.footprintKiB = family.footprintKiB;
        }
        live.push_back(&family.assessment);
    }
    // Whether a leak puts the machine at risk depends on every family and on the machine's
    // trend, which move every pass.
    applyRunawayRule(live, MachineOutlook{reserveKiB, forecaster_.view().exhaustionSeconds},
                     options_.scoring);
    for (auto& [key, family] : families_) {
        if (family.members > 0 && atLeast(family.assessment.verdict, FindingVerdict::watch)) {
            suspects_.insert(key);
        }
    }
}

void Sampler::judge(FamilyState& family, const FamilySeries& series,
                    std::optional<uint64_t> reserveKiB, std::optional<uint64_t> baseline) {
    // The family's own verdict carries into its next judgement (a member's into the member's).
    FindingVerdict ownBefore = family.grower ? family.own.scoredVerdict : family.assessment.verdict;
    family.own = scorer_.assess(series, reserveKiB, baseline, ownBefore);
    family.assessedBuckets = series.closedBuckets();
    family.grower = family.memberWatch ? family.memberWatch->judge(scorer_, reserveKiB, family.own)
                                       : std::nullopt;
    family.assessment = family.grower ? family.grower->assessment : family.own;
}

void Sampler::retire(double now) {
    const SamplingTuning& t = options_.sampling;
    double grace = std::max(2 * options_.scoring.bucketSeconds, 5 * t.sampleIntervalSeconds);
    for (auto it = families_.begin(); it != families_.end();) {
        FamilyState& family = it->second;
        if (family.members == 0 && family.assessedBuckets != UINT64_MAX &&
            atLeast(family.assessment.verdict, FindingVerdict::suspect)) {
            departed_.push_back({it->first, family.identity.title, family.peakVerdict, now, true});
            family.assessment.verdict = FindingVerdict::normal;
        }
        if (family.members == 0 && now - family.lastSeen > grace) {
            store_->forget(it->first);
            it = families_.erase(it);
        } else {
            ++it;
        }
    }
    std::erase_if(departed_, [&](const DepartedFinding& finding) {
        return now - finding.leftAt > t.recentFindingSeconds;
    });
    if (departed_.size() > 32) {
        departed_.erase(departed_.begin(), departed_.end() - 32);
    }
}

std::vector<RankedFamily> Sampler::rank() const {
    std::vector<const std::pair<const std::string, FamilyState>*> alive;
    for (const auto& entry : families_) {
        if (entry.second.members > 0 && entry.first != kRecoverySmokeKey &&
            entry.first != kRestartSmokeKey) {
            alive.push_back(&entry);
        }
    }
    auto flagged = [](const FamilyState& f) {
        return atLeast(f.assessment.verdict, FindingVerdict::watch);
    };
    auto before = [&flagged](const auto* a, const auto* b) {
        const FamilyState& fa = a->second;
        const FamilyState& fb = b->second;
        if (flagged(fa) != flagged(fb)) {
            return flagged(fa);
        }
        if (flagged(fa) && fa.assessment.score != fb.assessment.score) {
            return fa.assessment.score > fb.assessment.score;
        }
        return fa.footprintKiB != fb.footprintKiB ? fa.footprintKiB > fb.footprintKiB
                                                  : a->first < b->first;
    };
    std::size_t count = std::min(options_.rankedFamilies, alive.size());
    std::partial_sort(alive.begin(), alive.begin() + static_cast<std::ptrdiff_t>(count),
                      alive.end(), before);
    std::vector<RankedFamily> ranked;
    ranked.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto& [key, family] = *alive[i];
        ranked.push_back({key, family.identity.title, family.uid, family.anonKiB, family.swapKiB,
                          family.sharedKiB, family.footprintKiB, family.assessment});
    }
    return ranked;
}

FamilyView Sampler::viewOf(const std::string& key, const FamilyState& family,
                           const std::vector<const ProcessRecord*>& members,
                           const std::set<pid_t>& ancestors) const {
    FamilyView view;
    view.key = key;
    view.title = family.identity.title;
    view.appId = family.identity.appId;
    view.workspace = family.identity.workspace;
    view.footprintKiB = family.footprintKiB;
    view.sharedKiB = family.sharedKiB;
    view.assessment = family.assessment;
    if (family.grower) {
        view.familyAssessment = family.own;
    }
    if (const FamilySeries* series = family.series) {
        view.sparklineKiB =
            series->medians(static_cast<std::size_t>(options_.sampling.sparklineBuckets));
        view.firstSeen = series->firstSeen();
        describeSeries(family, view);
    }
    if (key == kRecoverySmokeKey) {
        view.smokeRole = SmokeRole::recovery;
    } else if (key == kRestartSmokeKey) {
        view.smokeRole = SmokeRole::restart;
    }
    for (const ProcessRecord* record : members) {
        MemberView member;
        member.identity = {record->pid, record->startTime, record->uid, record->exe};
        member.ppid = record->ppid;
        member.name = displayText(record->comm, 64);
        member.cmdline = displayText(record->cmdline, 1024);
        member.footprintKiB = record->footprintKiB();
        member.anonKiB = record->anonKiB;
        member.swapKiB = record->swapKiB;
        member.sharedKiB = record->sharedKiB();
        member.growthKiB = member.footprintKiB - std::min(member.footprintKiB, record->floorKiB);
        member.sharedGrowthKiB =
            member.sharedKiB - std::min(member.sharedKiB, record->sharedFloorKiB);
        member.isProtected = ProtectedProcesses::isProtected(
            record->pid, executableBaseName(record->exe), record->comm, ancestors);
        member.growing =
            family.grower && family.grower->id == memberIdOf(record->pid, record->startTime);
        view.isProtected = view.isProtected || member.isProtected;
        view.members.push_back(std::move(member));
    }
    std::sort(
        view.members.begin(), view.members.end(),
        [](const MemberView& a, const MemberView& b) { return a.footprintKiB > b.footprintKiB; });
    if (view.members.size() > kMaxMembersPublished) {
        // The growing member stays among those published, whatever its size.
        auto grower = std::find_if(view.members.begin(), view.members.end(),
                                   [](const MemberView& m) { return m.growing; });
        if (grower != view.members.end() &&
            grower - view.members.begin() >= static_cast<std::ptrdiff_t>(kMaxMembersPublished)) {
            std::swap(*grower, view.members[kMaxMembersPublished - 1]);
        }
        view.members.resize(kMaxMembersPublished);
    }
    return view;
}

std::shared_ptr<LiveView> Sampler::publish(double now, double wall, const MachineState& machine,
                                           const PassStatistics& stats) {
    auto view = std::make_shared<LiveView>();
    view->passCount = passCount_;
    view->monotonicTime = now;
    view->wallTime = wall;
    view->startedAt = startedAt_;
    view->machine = machine;
    view->stats = stats;
    view->procPath = root_.path();
    view->watchedProcesses = table_.records().size();
    view->departed = departed_;

    using Entry = const std::pair<const std::string, FamilyState>*;
    std::vector<Entry> scored;
    std::vector<Entry> largest;
    std::vector<Entry> smoke;
    for (const auto& entry : families_) {
        const auto& [key, family] = entry;
        if (family.members == 0) {
            continue;
        }
        ++view->familyCount;
        if (key == kRecoverySmokeKey || key == kRestartSmokeKey) {
            smoke.push_back(&entry);
        } else if (atLeast(family.assessment.verdict, FindingVerdict::watch)) {
            scored.push_back(&entry);
        } else {
            largest.push_back(&entry);
        }
    }
    auto byScore = [](Entry a, Entry b) {
        const FamilyState& fa = a->second;
        const FamilyState& fb = b->second;
        return fa.assessment.score != fb.assessment.score
                   ? fa.assessment.score > fb.assessment.score
                   : fa.footprintKiB > fb.footprintKiB;
    };
    auto byFootprint = [](Entry a, Entry b) {
        return a->second.footprintKiB > b->second.footprintKiB;
    };
    std::sort(scored.begin(), scored.end(), byScore);
    if (scored.size() > 24) {
        scored.resize(24);
    }
    std::size_t relief = std::min(kReliefFamilies, largest.size());
    std::partial_sort(largest.begin(), largest.begin() + static_cast<std::ptrdiff_t>(relief),
                      largest.end(), byFootprint);
    largest.resize(relief);

    std::vector<Entry> chosen = scored;
    chosen.insert(chosen.end(), largest.begin(), largest.end());
    chosen.insert(chosen.end(), smoke.begin(), smoke.end());
    // The chosen families' processes, from what this pass's aggregation found.
    std::unordered_map<const FamilyState*, std::vector<const ProcessRecord*>> members;
    for (Entry entry : chosen) {
        members[&entry->second];
    }
    for (const auto& [record, family] : memberships_) {
        if (auto it = members.find(family); it != members.end()) {
            it->second.push_back(record);
        }
    }
    view->families.reserve(chosen.size());
    const std::set<pid_t>& ancestors = ancestors_.at(now);
    for (Entry entry : chosen) {
        view->families.push_back(
            viewOf(entry->first, entry->second, members[&entry->second], ancestors));
    }
    return view;
}

} // namespace velmora
