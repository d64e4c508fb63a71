// SPDX-License-Identifier: GPL-3.0-or-later
// What a refresh of the process table reads, and what it may leave unread: the listing while
// no task is born, swap while statm stands still, the background reads of a process that did
// not run, while what it holds by descriptor is looked at all the same.
#include "monitor/proc/ProcessTable.h"

#include "FakeProcTree.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora {
namespace {

using FakeProc = test::FakeProcTree;

const uint64_t kPageKiB = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE) / 1024);

struct Table {
    // keptDescriptors 0: every read opens its file, so that one removed from the fake tree
    // fails as a read of an ended process does through a kept descriptor.
    explicit Table(const FakeProc& proc, std::size_t keptDescriptors = 8192)
        : root(proc.root), table(root, ::getuid(), keptDescriptors) {}

    PassStatistics refresh(double now) {
        PassStatistics stats;
        table.refresh(
            now, 2, 10, [](const ProcessRecord&) { return false; }, stats);
        return stats;
    }

    ProcRoot root;
    ProcessTable table;
};

std::string loadavg(int tasks, int lastPid) {
    return "0.10 0.20 0.30 1/" + std::to_string(tasks) + " " + std::to_string(lastPid) + "\n";
}

// stat of a process of `exe` with the given page faults and CPU ticks.
std::string statWith(int pid, const std::string& exe, int faults, int ticks) {
    return std::to_string(pid) + " (" + exe + ") S 1 1 1 0 -1 0 " + std::to_string(faults) +
           " 0 0 0 " + std::to_string(ticks) + " 5 0 0 20 0 1 0 " + std::to_string(1000 + pid) +
           " 1 1 0\n";
}

TEST(ProcessTable, ListsProcAgainOnlyOnceATaskWasBorn) {
    FakeProc proc;
    proc.addProcess(100, 1, "editor", 1000);
    proc.addProcess(200, 1, "player", 1000);
    Table t(proc, 0);
    // Without loadavg every pass lists /proc.
    EXPECT_FALSE(t.refresh(1).listingKept);
    EXPECT_FALSE(t.refresh(2).listingKept);

    proc.write("loadavg", loadavg(2, 200));
    EXPECT_FALSE(t.refresh(3).listingKept); // the first sign is compared with nothing
    PassStatistics kept = t.refresh(4);
    EXPECT_TRUE(kept.listingKept);
    EXPECT_EQ(kept.listed, 2u);
    EXPECT_EQ(kept.statm, 2u) << "every known process is read all the same";

    // An ending is seen without a listing: its read fails.
    proc.remove(200);
    kept = t.refresh(5);
    EXPECT_TRUE(kept.listingKept);
    EXPECT_EQ(kept.vanished, 1u);
    EXPECT_EQ(t.table.find(200), nullptr);
    EXPECT_EQ(t.table.listed(), std::vector<pid_t>{100});

    // A birth moves the last PID: the next pass lists and finds the newcomer.
    proc.addProcess(300, 1, "shell", 1000);
    proc.write("loadavg", loadavg(2, 300));
    PassStatistics listed = t.refresh(6);
    EXPECT_FALSE(listed.listingKept);
    EXPECT_EQ(listed.discovered, 1u);
    ASSERT_NE(t.table.find(300), nullptr);

    // A PID reused after a whole cycle of PIDs would leave both figures as they were: a
    // listing is kept for a minute at most.
    EXPECT_TRUE(t.refresh(7).listingKept);
    EXPECT_TRUE(t.refresh(65).listingKept);
    EXPECT_FALSE(t.refresh(67).listingKept);

    // A loadavg that cannot be read as one tells nothing: every pass lists.
    for (const char* text : {"", "0.1 0.2 0.3\n", "0.1 0.2 0.3 1/ 5\n", "1/2\n"}) {
        proc.write("loadavg", text);
        EXPECT_FALSE(t.refresh(68).listingKept) << text;
        EXPECT_FALSE(t.refresh(69).listingKept) << text;
    }
}

TEST(ProcessTable, AKernelThreadIsCheckedAgainByItsStatAloneUntilItsPidGoesToAProcess) {
    FakeProc proc;
    proc.addProcess(100, 1, "editor", 1000);
    // A kernel thread: a child of kthreadd, no executable, no command line.
    proc.addProcess(40, 2, "kworker/0:1", 0);
    std::filesystem::remove(proc.root + "/40/exe");
    proc.write("40/cmdline", "");
    proc.write("40/stat", "40 (kworker/0:1) I 2 0 0 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 7 0 0 0\n");
    Table t(proc, 0);
    PassStatistics first = t.refresh(0);
    EXPECT_EQ(first.discovered, 1u);
    EXPECT_EQ(t.table.find(40), nullptr);

    EXPECT_EQ(t.refresh(5).cmdline, 0u) << "not looked at again within the background period";
    PassStatistics again = t.refresh(10);
    EXPECT_EQ(again.cmdline, 0u) << "its stat tells it is the same kernel thread";
    EXPECT_EQ(again.discovered, 0u);

    // The thread ends and its PID goes to a process of ours (another start time).
    proc.remove(40);
    proc.addProcess(40, 100, "helper", 500);
    PassStatistics reused = t.refresh(20);
    EXPECT_EQ(reused.discovered, 1u);
    ASSERT_NE(t.table.find(40), nullptr);
    EXPECT_EQ(t.table.find(40)->exe, "/usr/bin/helper");
}

TEST(ProcessTable, SwapIsReadAgainWhenStatmMovesAndOnceAMinuteWhileItRuns) {
    FakeProc proc;
    proc.addProcess(100, 1, "editor", 5000);
    Table t(proc);
    EXPECT_EQ(t.refresh(0).status, 1u); // discovered: everything is read
    EXPECT_EQ(t.table.find(100)->footprintKiB(), 5000 * kPageKiB);
    int statusReads = 0;
    for (int second = 1; second <= 30; ++second) {
        statusReads += static_cast<int>(t.refresh(second).status);
    }
    EXPECT_EQ(statusReads, 0) << "statm stood still: swap cannot have moved";

    // Swapped out: the resident set shrinks, and the next background read finds the swap.
    proc.swapOut(100, 5000);
    for (int second = 31; second <= 41; ++second) {
        statusReads += static_cast<int>(t.refresh(second).status);
    }
    EXPECT_EQ(statusReads, 1);
    const ProcessRecord* record = t.table.find(100);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->swapKiB, 5000 * 4u);
    EXPECT_EQ(record->footprintKiB(), record->swapKiB) << "all of it is in swap";

    // Standing still and not running: nothing can move its swap, and it is read only every ten
    // minutes.
    statusReads = 0;
    for (int second = 42; second <= 110; ++second) {
        statusReads += static_cast<int>(t.refresh(second).status);
    }
    EXPECT_EQ(statusReads, 0);

    // Running with statm still, as a process taking pages as fast as others go out to swap at
    // its memory limit: once a minute.
    for (int second = 111; second <= 170; ++second) {
        proc.write("100/stat", statWith(100, "editor", second, 10));
        statusReads += static_cast<int>(t.refresh(second).status);
    }
    EXPECT_EQ(statusReads, 1);
}

// The stat reads of a run of refreshes from `first` to `last` seconds, inclusive.
int statReads(Table& t, int first, int last) {
    int reads = 0;
    for (int second = first; second <= last; ++second) {
        reads += static_cast<int>(t.refresh(second).stat);
    }
    return reads;
}

// PID 100 of `exe`, its stat standing still, watched with a quiet period of a minute.
struct QuietProcess {
    explicit QuietProcess(const std::string& exe) {
        proc.addProcess(100, 1, exe, 1000);
        proc.write("100/stat", statWith(100, exe, 50, 10));
        t.table.setQuietPeriod(60);
    }
    // Discovered at 0 s; its first background read finds nothing moved, so it is quiet. The
    // time of that read is `quietSince`.
    ::testing::AssertionResult becomeQuiet() {
        t.refresh(0);
        const int reads = statReads(t, 1, 10);
        const ProcessRecord* record = t.table.find(100);
        if (reads != 1 || record == nullptr || !record->quiet) {
            return ::testing::AssertionFailure() << reads << " stat reads, not quiet";
        }
        quietSince = static_cast<int>(record->lastBackgroundRead);
        return ::testing::AssertionSuccess();
    }
    const ProcessRecord& record() const { return *t.table.find(100); }

    FakeProc proc;
    Table t{proc};
    int quietSince = 0;
};

TEST(ProcessTable, AProcessThatFaultedPagesInRanEvenWithoutACpuTick) {
    QuietProcess worker("worker");
    ASSERT_TRUE(worker.becomeQuiet());
    FakeProc& proc = worker.proc;
    Table& t = worker.t;

    // Faults without a whole tick of CPU time: it ran, and is read at the background period
    // again rather than a minute later.
    proc.write("100/stat", statWith(100, "worker", 80, 10));
    double second = 11;
    while (second < 80 && t.refresh(second).stat == 0) {
        ++second;
    }
    EXPECT_FALSE(t.table.find(100)->quiet);
    EXPECT_EQ(t.table.find(100)->faults, 80u);
    int again = 0;
    for (double until = second + 10; second < until;) {
        again += static_cast<int>(t.refresh(++second).stat);
    }
    EXPECT_EQ(again, 1) << "a process that ran is read again within the background period";
}

TEST(ProcessTable, AQuietProcessIsReadOnceAMinuteUntilItsMemoryMoves) {
    QuietProcess idle("idle");
    ASSERT_TRUE(idle.becomeQuiet());
    Table& t = idle.t;
    const int quietSince = idle.quietSince;

    // Nothing moved: one read in the next minute, at its end.
    EXPECT_EQ(statReads(t, quietSince + 1, quietSince + 59), 0);
    EXPECT_EQ(statReads(t, quietSince + 60, quietSince + 60), 1);
    EXPECT_TRUE(t.table.find(100)->quiet);

    // statm moved without a tick or a fault counted yet (the stat is read only later): it is
    // no longer quiet, and read within the background period rather than a minute later.
    const int moved = quietSince + 63;
    EXPECT_EQ(statReads(t, quietSince + 61, moved - 1), 0);
    idle.proc.setResident(100, 1500);
    t.refresh(moved);
    EXPECT_FALSE(t.table.find(100)->quiet);
    EXPECT_EQ(statReads(t, moved + 1, quietSince + 70), 1);
}

// A shared-memory file in /dev/shm that a fake process holds by its descriptor 3.
struct HeldFile {
    explicit HeldFile(const FakeProc& proc)
        : path("/dev/shm/velmora-table-test-" + std::to_string(::getpid())) {
        std::filesystem::create_directories(proc.root + "/100/fd");
        std::filesystem::create_symlink(path, proc.root + "/100/fd/3");
    }
    ~HeldFile() { std::filesystem::remove(path); }
    // Writes `mib` MiB into it: pages the file then holds.
    bool fill(std::size_t mib) const {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        std::string block(1 << 20, 'h');
        for (std::size_t i = 0; i < mib; ++i) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        return static_cast<bool>(out.flush());
    }
    std::string path;
};

TEST(ProcessTable, MemoryHeldByDescriptorIsReadEveryBackgroundPeriodEvenWhenQuiet) {
    QuietProcess holder("holder");
    HeldFile held(holder.proc);
    if (!held.fill(1)) {
        GTEST_SKIP() << "cannot write a file in /dev/shm";
    }
    ASSERT_TRUE(holder.becomeQuiet());
    EXPECT_EQ(holder.record().heldSharedKiB, 1024u);
    Table& t = holder.t;
    const int quietSince = holder.quietSince;

    // Written through its descriptor: no statm figure moves and no fault is counted, yet the
    // next background period finds it, with no stat read.
    ASSERT_TRUE(held.fill(3));
    EXPECT_EQ(statReads(t, quietSince + 1, quietSince + 10), 0);
    EXPECT_EQ(t.table.find(100)->heldSharedKiB, 3072u);
    EXPECT_TRUE(t.table.find(100)->quiet);

    // While the machine's shared memory stands still no held file can have grown: the files
    // are left until it moves, or until the next background read a minute on.
    auto setShmem = [&](uint64_t kib) { t.table.setMachineShmem(kib); };
    setShmem(3072);
    statReads(t, quietSince + 11, quietSince + 20);
    ASSERT_TRUE(held.fill(5)); // as if pages were given up elsewhere as fast
    statReads(t, quietSince + 21, quietSince + 30);
    EXPECT_EQ(t.table.find(100)->heldSharedKiB, 3072u);
    setShmem(5120);
    statReads(t, quietSince + 31, quietSince + 40);
    EXPECT_EQ(t.table.find(100)->heldSharedKiB, 5120u);

    ASSERT_TRUE(held.fill(6));
    EXPECT_EQ(statReads(t, quietSince + 41, quietSince + 59), 0);
    EXPECT_EQ(t.table.find(100)->heldSharedKiB, 5120u);
    EXPECT_EQ(statReads(t, quietSince + 60, quietSince + 60), 1);
    EXPECT_EQ(t.table.find(100)->heldSharedKiB, 6144u);
}

} // namespace
} // namespace velmora
