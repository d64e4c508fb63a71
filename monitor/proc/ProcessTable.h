// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/PassStatistics.h"
#include "monitor/proc/ProcParsers.h"
#include "monitor/proc/ProcRoot.h"
#include "monitor/proc/ProcessRecord.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace velmora {

// The current user's processes, refreshed once per tick: /proc is listed (when a task was born
// since the last listing), new PIDs are discovered (owner, stat, exe, command line) and every
// known process's statm is read again through a descriptor kept open, so a tick costs one pread
// per process. A process that vanished (ESRCH, ENOENT, EACCES) is simply dropped. The slower
// reads go where something can have moved: stat where the process ran, status where statm
// moved, oom_score (in the forecast) where memory moved.
class ProcessTable {
public:
    // As ownUid: every user's processes (a monitor run as root or with CAP_SYS_PTRACE).
    static constexpr uid_t kAnyOwner = static_cast<uid_t>(-1);

    ProcessTable(ProcRoot& root, uid_t ownUid,
                 std::size_t maxKeptDescriptors = keptDescriptorBudget());
    // How many statm descriptors may stay open: the descriptor limit less a reserve for the
    // rest of the program (the history, the answers, the metrics endpoint).
    static std::size_t keptDescriptorBudget();
    ~ProcessTable();
    ProcessTable(const ProcessTable&) = delete;
    ProcessTable& operator=(const ProcessTable&) = delete;

    // One enumeration tick at time now (seconds). isSuspect tells which processes get the
    // detailed read (smaps_rollup) every suspectPeriod; the rest get status/stat every
    // backgroundPeriod. Returns the records discovered in this pass, and those that became
    // another program (exec: another executable under the same PID and start time; their
    // `execed` is set) to be grouped again.
    std::vector<ProcessRecord*> refresh(double now, double suspectPeriod, double backgroundPeriod,
                                        const std::function<bool(const ProcessRecord&)>& isSuspect,
                                        PassStatistics& stats);

    // A quiet process (no CPU tick and no page fault between its last two background reads, no
    // statm move since) cannot have taken a page: its status and stat are read every `seconds`
    // instead of every background period, when that is longer. Its statm is read every tick
    // and the memory it holds by descriptor every background period all the same.
    void setQuietPeriod(double seconds) { quietPeriod_ = seconds; }
    // How often a quiet process's descriptors are looked at between its slower reads, when
    // longer than the background period.
    void setQuietHeldPeriod(double seconds) { quietHeldPeriod_ = seconds; }

    // Between ticks: reads statm again for the processes `which` picks (one pread each). A
    // process that cannot be read keeps its last figures until the next tick.
    void rereadMemory(const std::function<bool(const ProcessRecord&)>& which,
                      PassStatistics& stats);

    const std::unordered_map<pid_t, std::unique_ptr<ProcessRecord>>& records() const {
        return records_;
    }
    const ProcessRecord* find(pid_t pid) const;
    // A listed PID known to be a kernel thread (met as one of the user's PIDs, as when run as
    // root): it holds no memory of its own, the out-of-memory killer never picks it and it is
    // no daemon.
    bool isKernelThread(pid_t pid) const;
    // Every PID of the latest listing, every user's, in directory order.
    const std::vector<pid_t>& listed() const { return listed_; }
    ProcRoot& root() { return root_; }
    // The machine's shared memory as of this pass (meminfo's Shmem, read once a pass with the
    // machine's state). Without it every held file is looked at each background period.
    void setMachineShmem(std::optional<uint64_t> kib) { machineShmem_ = kib; }

private:
    // A PID not followed: another user's process, or a kernel thread (a child of kthreadd),
    // which keeps its start time: a kernel thread never becomes anything else, so while its
    // stat shows the same start time it is the same task and nothing more is read.
    struct Unfollowed {
        double checkedAt = 0;
        std::optional<uint64_t> kernelThreadStart;
    };
    std::unique_ptr<ProcessRecord> discover(pid_t pid, double now, PassStatistics& stats,
                                            Unfollowed& unfollowed);
    bool sameKernelThread(pid_t pid, const Unfollowed& unfollowed, PassStatistics& stats);
    std::optional<StatFields> readStat(pid_t pid, PassStatistics& stats);
    bool readStatm(ProcessRecord& record, PassStatistics& stats);
    void readStatus(ProcessRecord& record, PassStatistics& stats);
    void readShareIfMoved(ProcessRecord& record, PassStatistics& stats);
    void readHeldShared(ProcessRecord& record, PassStatistics& stats);
    // readHeldShared at its cadence: every background period, quiet or not (for a quiet
    // process, once the machine's shared memory moved).
    void readHeld(ProcessRecord& record, PassStatistics& stats);
    bool heldMayHaveMoved(const ProcessRecord& record) const;
    void refreshHeld(ProcessRecord& record, PassStatistics& stats);
    // stat: CPU time, faults, parent, name; true when the process ran since the last read.
    bool readCpu(ProcessRecord& record, PassStatistics& stats);
    void shareHeldFiles();
    void followExec(ProcessRecord& record, PassStatistics& stats);
    void readBackground(ProcessRecord& record, PassStatistics& stats);
    void readDetail(ProcessRecord& record, PassStatistics& stats);
    void readDueDetails(double now, double suspectPeriod,
                        const std::function<bool(const ProcessRecord&)>& isSuspect,
                        PassStatistics& stats);
    void closeRecord(ProcessRecord& record);
    // The phases of a refresh, in order. The listing is that of the last pass while no process
    // or thread was born since (a process that ended then fails its read).
    std::vector<pid_t> listAndDrop(PassStatistics& stats);
    bool noBirthsSinceListing();
    std::optional<TaskBirths> readBirths();
    // Reads the known processes' memory; returns the PIDs to look at as new.
    std::vector<pid_t> readKnown(const std::vector<pid_t>& pids,
                                 std::vector<ProcessRecord*>& became, PassStatistics& stats);
    std::vector<ProcessRecord*> discoverAll(const std::vector<pid_t>& pids, PassStatistics& stats);
    void readDueBackground(std::vector<ProcessRecord*>& became, PassStatistics& stats);

    ProcRoot& root_;
    uid_t ownUid_;
    std::size_t maxKept_;
    std::size_t kept_ = 0;
    uint64_t pageKiB_;
    double quietPeriod_ = 0;
    double quietHeldPeriod_ = 0;
    double now_ = 0;
    bool heldChanged_ = false; // held files were found, changed size or went: share them again
    double backgroundPeriod_ = 10;
    std::unordered_map<pid_t, std::unique_ptr<ProcessRecord>> records_;
    std::unordered_map<pid_t, Unfollowed> foreign_; // re-checked now and then
    std::vector<pid_t> listed_;
    double lastListing_ = -1e300;
    int loadavgFd_ = -1;
    std::optional<TaskBirths> births_;
    std::optional<uint64_t> machineShmem_; // meminfo's Shmem before this pass's held reads
};

} // namespace velmora
