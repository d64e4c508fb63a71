// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/ProcessTable.h"

#include "monitor/proc/ProcParsers.h"

#include <algorithm>
#include <map>
#include <sys/resource.h>
#include <unistd.h>
#include <unordered_set>

namespace velmora {
namespace {

constexpr std::size_t kCommandLineLimit = 64 * 1024;
// kthreadd, the parent of every other kernel thread.
constexpr pid_t kKernelThreadParent = 2;
constexpr std::size_t kDetailReadsPerTick = 4;
// smaps_rollup walks the whole address space: about 3 ms per GiB resident. One tick reads at
// most this much (and always the longest-waiting suspect), and a suspect larger than this is
// read proportionally less often, so a big process costs at most ~0.4 ms per second on average.
constexpr uint64_t kDetailKiBPerTick = 512 * 1024;

// A launcher execs its program within moments of its start: a process this young is checked for
// another executable whenever its address space changed, not only when its code size did.
constexpr double kYoungSeconds = 30;
// Shared memory that moved by less than this since the last share was read keeps that share.
constexpr uint64_t kShareMoveKiB = 256;
// A listing is kept while no task is born, for this long at most (the last PID could come round
// to the same value with as many tasks as before only after a whole cycle of PIDs).
constexpr double kLongestUnlistedSeconds = 60;
// The swap and shared memory of a process whose statm stood still are read again this often
// all the same when it ran: it may take pages as fast as others go out to swap (a leak at its
// cgroup's memory limit), its resident set standing still.
constexpr double kSteadyStatusSeconds = 60;
// ... and this often when it did not: a page of a process that does not run can go out to swap
// only by leaving its resident set, which moves statm.
constexpr double kQuietStatusSeconds = 600;

double detailPeriodOf(const ProcessRecord& record, double suspectPeriod) {
    double scale = static_cast<double>(record.anonKiB + record.rssShmemKiB) /
                   static_cast<double>(kDetailKiBPerTick);
    return suspectPeriod * std::max(1.0, scale);
}

uint64_t distance(uint64_t a, uint64_t b) {
    return a > b ? a - b : b - a;
}

// Spreads the background reads of many processes over the period instead of one burst.
double staggerOffset(pid_t pid, double period) {
    return period * static_cast<double>((static_cast<uint32_t>(pid) * 2654435761u) % 1000u) /
           1000.0;
}

} // namespace

std::size_t ProcessTable::keptDescriptorBudget() {
    constexpr rlim_t kReserve = 1024;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 0;
    }
    const rlim_t open = limit.rlim_cur == RLIM_INFINITY ? rlim_t{1} << 20 : limit.rlim_cur;
    return static_cast<std::size_t>(open > 2 * kReserve ? open - kReserve : open / 2);
}

ProcessTable::ProcessTable(ProcRoot& root, uid_t ownUid, std::size_t maxKeptDescriptors)
    : root_(root), ownUid_(ownUid), maxKept_(maxKeptDescriptors) {
    long page = ::sysconf(_SC_PAGESIZE);
    pageKiB_ = page > 0 ? static_cast<uint64_t>(page) / 1024 : 4;
}

ProcessTable::~ProcessTable() {
    for (auto& [pid, record] : records_) {
        closeRecord(*record);
    }
    if (loadavgFd_ >= 0) {
        ::close(loadavgFd_);
    }
}

const ProcessRecord* ProcessTable::find(pid_t pid) const {
    auto it = records_.find(pid);
    return it == records_.end() ? nullptr : it->second.get();
}

std::optional<StatFields> ProcessTable::readStat(pid_t pid, PassStatistics& stats) {
    char buf[2048];
    if (root_.readPidFile(pid, "stat", buf, sizeof buf) <= 0) {
        return std::nullopt;
    }
    ++stats.stat;
    return parseStat(buf);
}

bool ProcessTable::isKernelThread(pid_t pid) const {
    auto it = foreign_.find(pid);
    return it != foreign_.end() && it->second.kernelThreadStart.has_value();
}

void ProcessTable::closeRecord(ProcessRecord& record) {
    heldChanged_ = heldChanged_ || !record.heldShared.empty();
    if (record.statmFd >= 0) {
        ::close(record.statmFd);
        record.statmFd = -1;
        --kept_;
    }
}

std::unique_ptr<ProcessRecord> ProcessTable::discover(pid_t pid, double now, PassStatistics& stats,
                                                      Unfollowed& unfollowed) {
    auto owner = root_.ownerOf(pid);
    if (!owner || (ownUid_ != kAnyOwner && *owner != ownUid_)) {
        return nullptr;
    }
    auto stat = readStat(pid, stats);
    if (!stat) {
        return nullptr;
    }
    auto record = std::make_unique<ProcessRecord>();
    record->pid = pid;
    record->uid = *owner;
    record->ppid = stat->ppid;
    record->startTime = stat->startTime;
    record->cpuTicks = stat->cpuTicks;
    record->faults = stat->faults;
    record->comm = std::move(stat->comm);
    record->exe = root_.readLink(pid, "exe").value_or("");
    if (auto raw = root_.readWholePidFile(pid, "cmdline", kCommandLineLimit)) {
        record->cmdline = joinCommandLine(*raw);
    }
    ++stats.cmdline;
    if (record->exe.empty() && record->cmdline.empty()) {
        // A kernel thread (or a zombie): no memory of its own to follow.
        if (record->ppid == kKernelThreadParent || pid == kKernelThreadParent) {
            unfollowed.kernelThreadStart = record->startTime;
        }
        return nullptr;
    }
    if (kept_ < maxKept_) {
        record->statmFd = root_.openPidFile(pid, "statm");
        if (record->statmFd >= 0) {
            ++kept_;
        }
    }
    record->lastBackgroundRead = now - staggerOffset(pid, 1.0);
    record->programSince = now;
    ++stats.discovered;
    return record;
}

bool ProcessTable::readStatm(ProcessRecord& record, PassStatistics& stats) {
    char buf[256];
    long n = record.statmFd >= 0 ? ProcRoot::readOnce(record.statmFd, buf, sizeof buf)
                                 : root_.readPidFile(record.pid, "statm", buf, sizeof buf);
    if (n <= 0) {
        return false;
    }
    ++stats.statm;
    auto statm = parseStatm(buf);
    if (!statm) {
        return false;
    }
    uint64_t anonPages =
        statm->residentPages > statm->sharedPages ? statm->residentPages - statm->sharedPages : 0;
    record.anonKiB = anonPages * pageKiB_;
    const bool young = now_ - record.programSince < kYoungSeconds;
    const bool became = record.textPages != 0 && (statm->textPages != record.textPages ||
                                                  (young && statm->sizePages != record.sizePages));
    const bool sharedMoved = statm->sharedPages != record.sharedPages;
    if (sharedMoved || statm->residentPages != record.residentPages ||
        statm->sizePages != record.sizePages || statm->textPages != record.textPages) {
        ++record.memoryChanges;
        record.movedSinceStatus = true;
        record.quiet = false; // its memory moved: it ran, whatever its last stat said
    }
    record.textPages = statm->textPages;
    record.sizePages = statm->sizePages;
    record.sharedPages = statm->sharedPages;
    record.residentPages = statm->residentPages;
    if (became) {
        followExec(record, stats);
    }
    // statm's shared figure holds file pages and shared memory: only when it moved can
    // RssShmem have.
    if (sharedMoved || record.execed) {
        readStatus(record, stats);
        readShareIfMoved(record, stats);
    }
    if (!record.descriptorsListed && record.execed) {
        readHeldShared(record, stats); // what the old program held open may be gone
    }
    record.floorKiB = std::min(record.floorKiB, record.footprintKiB());
    record.sharedFloorKiB = std::min(record.sharedFloorKiB, record.sharedKiB());
    return true;
}

void ProcessTable::readStatus(ProcessRecord& record, PassStatistics& stats) {
    char buf[8192];
    if (root_.readPidFile(record.pid, "status", buf, sizeof buf) > 0) {
        ++stats.status;
        record.swapKiB = parseKiBField(buf, "VmSwap:").value_or(0);
        record.rssShmemKiB = parseKiBField(buf, "RssShmem:").value_or(0);
        record.movedSinceStatus = false;
        record.lastStatusRead = now_;
    }
}

void ProcessTable::readShareIfMoved(ProcessRecord& record, PassStatistics& stats) {
    if (record.rssShmemKiB == 0) {
        record.rssShmemAtShare = 0;
        return;
    }
    if (distance(record.rssShmemKiB, record.rssShmemAtShare) < kShareMoveKiB ||
        now_ - record.lastShareRead < detailPeriodOf(record, backgroundPeriod_)) {
        return;
    }
    readDetail(record, stats);
}

void ProcessTable::followExec(ProcessRecord& record, PassStatistics& stats) {
    auto exe = root_.readLink(record.pid, "exe");
    if (!exe || *exe == record.exe) {
        return; // the same program again (or it is ending): nothing to follow
    }
    auto stat = readStat(record.pid, stats);
    if (!stat || stat->startTime != record.startTime) {
        return;
    }
    record.exe = std::move(*exe);
    record.comm = std::move(stat->comm);
    record.cmdline.clear();
    if (auto raw = root_.readWholePidFile(record.pid, "cmdline", kCommandLineLimit)) {
        record.cmdline = joinCommandLine(*raw);
    }
    ++stats.cmdline;
    // What the old program held says nothing about the new one.
    record.floorKiB = UINT64_MAX;
    record.sharedFloorKiB = UINT64_MAX;
    record.smapsAnonKiB = 0;
    record.lastDetailRead = -1e300;
    record.lastShareRead = -1e300;
    record.quiet = false;
    record.descriptorsListed = false;
    record.programSince = now_;
    record.execed = true;
    ++stats.execs;
}

void ProcessTable::readHeldShared(ProcessRecord& record, PassStatistics& stats) {
    // A process that opened or closed descriptors since they were listed is listed again;
    // otherwise only the files it was found holding are read again, one stat each. Without a
    // count (a kernel before 6.2) the files found at first are the ones followed.
    std::optional<uint64_t> count = descriptorCount(root_, record.pid);
    if (!record.descriptorsListed || (count && count != record.descriptors)) {
        const bool held = !record.heldShared.empty();
        const uint64_t before = record.heldSharedTotalKiB();
        record.heldShared = readHeldSharedFiles(root_, record.pid, stats);
        record.descriptors = count;
        record.descriptorsListed = true;
        heldChanged_ = heldChanged_ || held != !record.heldShared.empty() ||
                       before != record.heldSharedTotalKiB();
    } else if (!record.heldShared.empty()) {
        refreshHeld(record, stats);
    }
}

void ProcessTable::refreshHeld(ProcessRecord& record, PassStatistics& stats) {
    const uint64_t before = record.heldSharedTotalKiB();
    if (!refreshHeldSharedFiles(root_, record.pid, record.heldShared, stats)) {
        record.heldShared = readHeldSharedFiles(root_, record.pid, stats);
        record.descriptors = descriptorCount(root_, record.pid);
    }
    heldChanged_ =
        heldChanged_ || record.heldShared.empty() || before != record.heldSharedTotalKiB();
}

void ProcessTable::shareHeldFiles() {
    if (!heldChanged_) {
        return;
    }
    heldChanged_ = false;
    std::map<std::pair<uint64_t, uint64_t>, std::size_t> holders;
    for (auto& [pid, record] : records_) {
        for (const HeldSharedFile& file : record->heldShared) {
            ++holders[{file.device, file.inode}];
        }
    }
    for (auto& [pid, record] : records_) {
        uint64_t kib = 0;
        for (const HeldSharedFile& file : record->heldShared) {
            kib += file.kib / holders[{file.device, file.inode}];
        }
        record->heldSharedKiB = kib;
    }
}

bool ProcessTable::readCpu(ProcessRecord& record, PassStatistics& stats) {
    auto stat = readStat(record.pid, stats);
    if (!stat || stat->startTime != record.startTime) {
        return true; // unknown: as if it ran
    }
    const bool ran = stat->cpuTicks != record.cpuTicks || stat->faults != record.faults;
    record.cpuTicks = stat->cpuTicks;
    record.faults = stat->faults;
    record.ppid = stat->ppid;
    if (stat->comm != record.comm) {
        followExec(record, stats);
    }
    return ran;
}

void ProcessTable::readBackground(ProcessRecord& record, PassStatistics& stats) {
    record.quiet = !readCpu(record, stats);
    // Swap and shared memory move only with statm's resident or shared figure (a page swapped
    // out leaves the resident set; a shared page mapped joins it), and statm is read every
    // tick: while it stands still, so do they.
    const double steady = record.quiet ? kQuietStatusSeconds : kSteadyStatusSeconds;
    if (record.movedSinceStatus || record.execed || now_ - record.lastStatusRead >= steady) {
        readStatus(record, stats);
    }
    readShareIfMoved(record, stats);
    readHeld(record, stats);
}

void ProcessTable::readHeld(ProcessRecord& record, PassStatistics& stats) {
    readHeldShared(record, stats);
    record.lastHeldRead = now_;
    record.shmemAtHeldRead = machineShmem_;
}

bool ProcessTable::heldMayHaveMoved(const ProcessRecord& record) const {
    // Every memfd and /dev/shm page is shared memory of the machine's: while its total stands
    // still, no file grew. Pages given up elsewhere as many as were taken, or a descriptor
    // passed from another process, wait for the next background read, a minute at most.
    return !machineShmem_ || record.shmemAtHeldRead != machineShmem_;
}

void ProcessTable::readDetail(ProcessRecord& record, PassStatistics& stats) {
    char buf[4096];
    if (root_.readPidFile(record.pid, "smaps_rollup", buf, sizeof buf) > 0) {
        ++stats.smapsRollup;
        if (auto rollup = parseSmapsRollup(buf)) {
            record.smapsAnonKiB = rollup->anonymousKiB;
            record.swapKiB = rollup->swapKiB;
            if (rollup->pssShmemKiB && record.rssShmemKiB > 0) {
                record.shmemShare = std::clamp(static_cast<double>(*rollup->pssShmemKiB) /
                                                   static_cast<double>(record.rssShmemKiB),
                                               0.0, 1.0);
            }
            record.rssShmemAtShare = record.rssShmemKiB;
            record.lastShareRead = now_;
        }
    }
}

std::vector<ProcessRecord*>
ProcessTable::refresh(double now, double suspectPeriod, double backgroundPeriod,
                      const std::function<bool(const ProcessRecord&)>& isSuspect,
                      PassStatistics& stats) {
    now_ = now;
    backgroundPeriod_ = backgroundPeriod;
    CpuLaps laps;
    std::vector<pid_t> pids = listAndDrop(stats);
    stats.cost.listing += laps.lap();

    std::vector<ProcessRecord*> became;
    std::vector<pid_t> unknown = readKnown(pids, became, stats);
    stats.cost.memory += laps.lap();

    std::vector<ProcessRecord*> discovered = discoverAll(unknown, stats);
    stats.cost.discovery += laps.lap();

    readDueDetails(now, suspectPeriod, isSuspect, stats);
    stats.cost.details += laps.lap();

    readDueBackground(became, stats);
    shareHeldFiles();
    stats.cost.background += laps.lap();
    stats.sameUser = records_.size();
    // A process that became another program is met anew, like one discovered now.
    for (ProcessRecord* record : became) {
        if (std::find(discovered.begin(), discovered.end(), record) == discovered.end()) {
            discovered.push_back(record);
        }
    }
    return discovered;
}

std::optional<TaskBirths> ProcessTable::readBirths() {
    if (loadavgFd_ < 0) {
        loadavgFd_ = root_.openFile("loadavg");
    }
    char buf[128];
    if (loadavgFd_ < 0 || ProcRoot::readOnce(loadavgFd_, buf, sizeof buf) <= 0) {
        return std::nullopt;
    }
    return parseLoadavgBirths(buf);
}

bool ProcessTable::noBirthsSinceListing() {
    // Read before listing: a process born after this read and before the listing is listed,
    // and moves the next read.
    std::optional<TaskBirths> births = readBirths();
    const bool same = births && births_ && *births == *births_ &&
                      now_ - lastListing_ < kLongestUnlistedSeconds && now_ >= lastListing_;
    births_ = births;
    return same;
}

std::vector<pid_t> ProcessTable::listAndDrop(PassStatistics& stats) {
    if (noBirthsSinceListing()) {
        // The PIDs are the last listing's: a process that ended since fails its read below.
        stats.listed = listed_.size();
        stats.listingKept = true;
        for (auto& [pid, record] : records_) {
            record->execed = false;
        }
        return listed_;
    }
    std::vector<pid_t> pids = root_.listPids();
    lastListing_ = now_;
    stats.listed = pids.size();
    listed_ = pids;
    std::unordered_set<pid_t> listed(pids.begin(), pids.end());
    for (auto it = records_.begin(); it != records_.end();) {
        if (listed.count(it->first) == 0) {
            closeRecord(*it->second);
            it = records_.erase(it);
            ++stats.vanished;
        } else {
            it->second->execed = false;
            ++it;
        }
    }
    for (auto it = foreign_.begin(); it != foreign_.end();) {
        it = listed.count(it->first) == 0 ? foreign_.erase(it) : std::next(it);
    }
    return pids;
}

std::vector<pid_t> ProcessTable::readKnown(const std::vector<pid_t>& pids,
                                           std::vector<ProcessRecord*>& became,
                                           PassStatistics& stats) {
    std::vector<pid_t> unknown;
    std::vector<pid_t> ended; // from a kept listing: no other process can hold the PID yet
    for (pid_t pid : pids) {
        auto it = records_.find(pid);
        if (it != records_.end()) {
            ProcessRecord& record = *it->second;
            if (readStatm(record, stats)) {
                if (record.execed) {
                    became.push_back(&record);
                }
                continue;
            }
            // Gone, or its PID already belongs to another process: forget it and look again.
            closeRecord(record);
            records_.erase(it);
            ++stats.vanished;
            if (stats.listingKept) {
                ended.push_back(pid);
                continue;
            }
        } else if (auto f = foreign_.find(pid); f != foreign_.end()) {
            if (now_ - f->second.checkedAt < backgroundPeriod_) {
                continue;
            }
            if (sameKernelThread(pid, f->second, stats)) {
                f->second.checkedAt = now_;
                continue;
            }
            foreign_.erase(f);
        }
        unknown.push_back(pid);
    }
    if (!ended.empty()) {
        std::erase_if(listed_, [&](pid_t pid) {
            return std::find(ended.begin(), ended.end(), pid) != ended.end();
        });
    }
    return unknown;
}

bool ProcessTable::sameKernelThread(pid_t pid, const Unfollowed& unfollowed,
                                    PassStatistics& stats) {
    if (!unfollowed.kernelThreadStart) {
        return false;
    }
    auto stat = readStat(pid, stats);
    return stat && stat->startTime == *unfollowed.kernelThreadStart;
}

std::vector<ProcessRecord*> ProcessTable::discoverAll(const std::vector<pid_t>& pids,
                                                      PassStatistics& stats) {
    std::vector<ProcessRecord*> discovered;
    for (pid_t pid : pids) {
        Unfollowed unfollowed{now_, std::nullopt};
        auto record = discover(pid, now_, stats, unfollowed);
        if (!record) {
            foreign_[pid] = unfollowed;
            continue;
        }
        if (!readStatm(*record, stats)) {
            closeRecord(*record);
            continue;
        }
        // Its stat was read just now, and its status too when statm showed shared memory.
        if (record->movedSinceStatus) {
            readStatus(*record, stats);
        }
        readShareIfMoved(*record, stats);
        readHeldShared(*record, stats);
        record->quiet = false; // a newcomer has not shown it is quiet yet
        record->lastBackgroundRead = now_ - staggerOffset(pid, backgroundPeriod_);
        record->lastHeldRead = record->lastBackgroundRead;
        discovered.push_back(record.get());
        records_.emplace(pid, std::move(record));
    }
    return discovered;
}

void ProcessTable::readDueBackground(std::vector<ProcessRecord*>& became, PassStatistics& stats) {
    const double quietPeriod = std::max(backgroundPeriod_, quietPeriod_);
    const double heldPeriod = std::max(backgroundPeriod_, quietHeldPeriod_);
    for (auto& [pid, record] : records_) {
        if (now_ - record->lastBackgroundRead >=
            (record->quiet ? quietPeriod : backgroundPeriod_)) {
            bool wasExeced = record->execed;
            readBackground(*record, stats);
            record->lastBackgroundRead = now_;
            if (record->execed && !wasExeced) {
                became.push_back(record.get());
            }
        } else if (now_ - record->lastHeldRead >= heldPeriod && heldMayHaveMoved(*record)) {
            // A quiet process between its slower reads. Writing into a memfd it holds (or
            // opening another) can take less than a CPU tick and fault nothing in, and moves
            // no statm figure: its descriptors keep their own period.
            readHeld(*record, stats);
        }
    }
}

void ProcessTable::rereadMemory(const std::function<bool(const ProcessRecord&)>& which,
                                PassStatistics& stats) {
    for (auto& [pid, record] : records_) {
        if (which(*record)) {
            readStatm(*record, stats);
        }
    }
}

void ProcessTable::readDueDetails(double now, double suspectPeriod,
                                  const std::function<bool(const ProcessRecord&)>& isSuspect,
                                  PassStatistics& stats) {
    if (!isSuspect) {
        return;
    }
    std::vector<ProcessRecord*> due;
    for (auto& [pid, record] : records_) {
        if (isSuspect(*record) &&
            now - record->lastDetailRead >= detailPeriodOf(*record, suspectPeriod)) {
            due.push_back(record.get());
        }
    }
    std::sort(due.begin(), due.end(), [](const ProcessRecord* a, const ProcessRecord* b) {
        return a->lastDetailRead != b->lastDetailRead ? a->lastDetailRead < b->lastDetailRead
                                                      : a->pid < b->pid;
    });
    uint64_t budgetKiB = kDetailKiBPerTick;
    for (std::size_t i = 0; i < due.size() && i < kDetailReadsPerTick; ++i) {
        if (i > 0 && due[i]->anonKiB > budgetKiB) {
            break;
        }
        readDetail(*due[i], stats);
        due[i]->lastDetailRead = now;
        budgetKiB -= std::min(budgetKiB, due[i]->anonKiB);
    }
}

} // namespace velmora
