// SPDX-License-Identifier: GPL-3.0-or-later
// Shared memory in the footprint and processes that become another program, measured on real
// child processes through the real /proc, and on a fake tree where a case needs names the
// tests cannot give real processes.

#include "FakeProcTree.h"
#include "monitor/live/Sampler.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/PipeLines.h"
#include "tests/support/TemporaryDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora {
namespace {

using testing::ChildProgram;
using testing::PipeLines;

constexpr uint64_t kMiB = 1024;
constexpr double kBackground = 10;

// A child of the helper program, started and waited for until its memory is in place.
struct Child {
    explicit Child(std::vector<std::string> args, const std::string& program = VELMORA_SHM_CHILD,
                   std::optional<uid_t> asUser = std::nullopt)
        : process(program, withName(std::move(args)), {std::nullopt, true, true, asUser}),
          lines(process.output()) {}

    std::string next() { return lines.next(10).value_or("<nothing>"); }
    void send(const std::string& line) const {
        std::string text = line + "\n";
        ASSERT_EQ(::write(process.input(), text.data(), text.size()),
                  static_cast<ssize_t>(text.size()));
    }
    pid_t pid() const { return process.pid(); }

    static std::vector<std::string> withName(std::vector<std::string> args) {
        args.insert(args.begin(), "shm-child");
        return args;
    }

    ChildProgram process;
    PipeLines lines;
};

// The current user's processes through the real /proc, one tick every background period so
// that every process gets its background reads in each.
struct RealTable {
    explicit RealTable(uid_t uid = ::getuid()) : table(root, uid) {}

    const ProcessRecord& tick(pid_t pid) {
        stats = {};
        table.refresh(now += kBackground, 2, kBackground, nullptr, stats);
        const ProcessRecord* record = table.find(pid);
        EXPECT_TRUE(record) << "PID " << pid << " is not in the table";
        static const ProcessRecord none;
        return record ? *record : none;
    }

    ProcRoot root{"/proc"};
    ProcessTable table;
    PassStatistics stats;
    double now = 0;
};

void expectAbout(uint64_t kib, uint64_t expectedKiB, const char* what) {
    EXPECT_GE(kib, expectedKiB * 95 / 100) << what;
    EXPECT_LE(kib, expectedKiB * 105 / 100 + 512) << what;
}

TEST(SharedMemory, MemoryKeptInSharedMemoryCountsOnceInTheFootprint) {
    // Held by descriptor only: in no resident figure, found through the descriptors.
    Child held({"held", "24"});
    ASSERT_EQ(held.next(), "ready");
    // Mapped and still held: counted from the mapping, not a second time from the descriptor.
    Child heldMapped({"held-mapped", "24"});
    ASSERT_EQ(heldMapped.next(), "ready");
    // A /dev/shm file mapped, its name and descriptor gone.
    Child devShm({"devshm", "24"});
    ASSERT_EQ(devShm.next(), "ready");

    RealTable real;
    real.tick(held.pid());
    const ProcessRecord& h = real.tick(held.pid());
    expectAbout(h.heldSharedKiB, 24 * kMiB, "held memfd");
    EXPECT_LT(h.rssShmemKiB, 1 * kMiB);
    expectAbout(h.sharedKiB(), 24 * kMiB, "held memfd in the footprint");
    EXPECT_EQ(h.footprintKiB(), h.anonKiB + h.swapKiB + h.sharedKiB());

    const ProcessRecord& m = *real.table.find(heldMapped.pid());
    EXPECT_EQ(m.heldSharedKiB, 0u);
    expectAbout(m.sharedKiB(), 24 * kMiB, "mapped and held memfd");

    const ProcessRecord& d = *real.table.find(devShm.pid());
    EXPECT_EQ(d.heldSharedKiB, 0u);
    expectAbout(d.sharedKiB(), 24 * kMiB, "mapped /dev/shm file");
    EXPECT_LT(d.anonKiB, 8 * kMiB) << "shared pages are not anonymous memory";
}

TEST(SharedMemory, PagesMappedByTwoProcessesAreSharedOutBetweenThem) {
    Child parent({"pair", "32"});
    std::string ready = parent.next();
    ASSERT_EQ(ready.rfind("ready ", 0), 0u) << ready;
    pid_t child = std::stoi(ready.substr(6));

    RealTable real;
    const ProcessRecord& p = real.tick(parent.pid());
    const ProcessRecord* c = real.table.find(child);
    ASSERT_TRUE(c);
    EXPECT_EQ(p.familyKey, c->familyKey);
    expectAbout(p.rssShmemKiB, 32 * kMiB, "the parent maps all of it");
    expectAbout(c->rssShmemKiB, 32 * kMiB, "the child maps all of it");
    expectAbout(p.sharedKiB() + c->sharedKiB(), 32 * kMiB, "once between the two");
    expectAbout(p.sharedKiB(), 16 * kMiB, "half for the parent");
}

TEST(SharedMemory, DescriptorsAreListedAgainOnlyWhenTheirNumberChanges) {
    // Alone under a user of its own, the pass's counts are the child's.
    if (::getuid() != 0) {
        GTEST_SKIP() << "needs root, to run the child as a user with no other processes";
    }
    constexpr uid_t kNobody = 65534;
    Child grower({"grow-held"}, VELMORA_SHM_CHILD, kNobody);
    ASSERT_EQ(grower.next(), "ready 1");
    RealTable real(kNobody);
    real.tick(grower.pid());
    ASSERT_EQ(real.table.records().size(), 1u) << "user " << kNobody << " runs other processes";
    EXPECT_EQ(real.stats.descriptorScans, 1u);
    EXPECT_EQ(real.stats.maps, 1u);
    expectAbout(real.table.find(grower.pid())->heldSharedKiB, 4 * kMiB, "one held memfd");

    // Nothing opened: the held file's size is read again, the descriptors are not listed.
    real.tick(grower.pid());
    EXPECT_EQ(real.stats.descriptorScans, 0u);
    EXPECT_EQ(real.stats.heldSharedFiles, 1u);

    grower.send("more");
    ASSERT_EQ(grower.next(), "ready 2");
    grower.send("more");
    ASSERT_EQ(grower.next(), "ready 3");
    const ProcessRecord& grown = real.tick(grower.pid());
    EXPECT_EQ(real.stats.descriptorScans, 1u);
    expectAbout(grown.heldSharedKiB, 12 * kMiB, "three held memfds");
}

TEST(ExecIdentity, AProcessThatExecsTakesTheNewProgramsNameFamilyAndTitle) {
    // The program it becomes: cat under another name, which echoes what the test sends.
    testing::TemporaryDirectory bin;
    std::filesystem::path app = bin / "launched-app";
    std::filesystem::copy_file("/bin/cat", app);
    Child launcher({"exec", app.string(), "launched-app"});
    ASSERT_EQ(launcher.next(), "launcher");

    SamplerOptions options;
    options.uid = ::getuid();
    options.self = ::getpid();
    options.rankedFamilies = 100000;
    Sampler sampler(options);
    auto view = sampler.pass(1, 0);
    const ProcessRecord* before = sampler.table().find(launcher.pid());
    ASSERT_TRUE(before);
    const std::string launcherKey = before->familyKey;
    const uint64_t startTime = before->startTime;
    if (launcherKey.rfind("proc:", 0) != 0) {
        GTEST_SKIP() << "the tests run inside an application's unit (" << launcherKey
                     << "): every process is that application's family";
    }
    EXPECT_EQ(before->familyTitle, "monitor_shared_memory_child");

    launcher.send("go");
    launcher.send("echoed");
    ASSERT_EQ(launcher.next(), "echoed");
    view = sampler.pass(2, 0);
    const ProcessRecord* after = sampler.table().find(launcher.pid());
    ASSERT_TRUE(after);
    EXPECT_EQ(after->startTime, startTime);
    EXPECT_EQ(after->familyTitle, "launched-app");
    EXPECT_EQ(after->familyKey.rfind("proc:launched-app:" + std::to_string(launcher.pid()), 0), 0u)
        << after->familyKey;
    EXPECT_EQ(after->comm, "launched-app");
    EXPECT_EQ(after->cmdline, "launched-app");
    EXPECT_EQ(view->stats.execs, 1u);
    // The launcher's family ended with it; nothing measured before counts for the new one.
    EXPECT_NE(std::find(view->endedFamilies.begin(), view->endedFamilies.end(), launcherKey),
              view->endedFamilies.end());
    for (const RankedFamily& family : view->ranked) {
        EXPECT_NE(family.key, launcherKey);
    }
    EXPECT_EQ(after->floorKiB, after->footprintKiB());
    EXPECT_EQ(after->programSince, 2);
}

// A launcher script that execs the program, whose children it starts at once.
TEST(ExecIdentity, ALauncherAndTheChildrenOfWhatItBecameAreOneFamilyTitledAfterTheProgram) {
    test::FakeProcTree proc;
    proc.addProcess(100, 1, "dash", 400);
    Sampler sampler(test::samplerOptionsFor(proc));
    sampler.pass(1, 0);
    ASSERT_EQ(sampler.table().find(100)->familyTitle, "dash");

    // It execs the browser: another executable, another name, another code size.
    std::filesystem::remove(proc.root + "/100/exe");
    std::filesystem::create_symlink("/usr/lib/browser/browser", proc.root + "/100/exe");
    proc.write("100/stat", "100 (browser) S 1 1 1 0 -1 0 0 0 0 0 10 5 0 0 20 0 1 0 1100 1 1 0\n");
    proc.write("100/statm", "200000 90100 100 5000 0 1 0\n");
    proc.addProcess(101, 100, "browser", 2000);
    proc.addProcess(102, 100, "browser", 3000);
    std::filesystem::remove(proc.root + "/101/exe");
    std::filesystem::remove(proc.root + "/102/exe");
    std::filesystem::create_symlink("/usr/lib/browser/browser", proc.root + "/101/exe");
    std::filesystem::create_symlink("/usr/lib/browser/browser", proc.root + "/102/exe");
    auto view = sampler.pass(2, 0);

    const ProcessRecord* launcher = sampler.table().find(100);
    ASSERT_TRUE(launcher);
    EXPECT_EQ(launcher->familyTitle, "browser");
    EXPECT_EQ(launcher->familyKey, sampler.table().find(101)->familyKey);
    EXPECT_EQ(launcher->familyKey, sampler.table().find(102)->familyKey);
    for (const FamilyView& family : view->families) {
        EXPECT_NE(family.title, "dash");
    }
}

TEST(SharedMemory, ServersThatMapTheirClientsBuffersAreNotCountedForThem) {
    test::FakeProcTree proc;
    proc.addProcess(100, 1, "weston", 1000);
    proc.addProcess(200, 1, "editor", 1000);
    for (int pid : {100, 200}) {
        proc.write(std::to_string(pid) + "/status",
                   "Name:\tx\nRssShmem:\t40960 kB\nVmSwap:\t0 kB\n");
    }
    Sampler sampler(test::samplerOptionsFor(proc));
    sampler.pass(1, 0);
    const ProcessRecord* server = sampler.table().find(100);
    const ProcessRecord* client = sampler.table().find(200);
    ASSERT_TRUE(server && client);
    EXPECT_EQ(server->sharedKiB(), 0u);
    EXPECT_EQ(server->footprintKiB(), server->anonKiB);
    EXPECT_EQ(client->sharedKiB(), 40960u);
    EXPECT_EQ(client->footprintKiB(), client->anonKiB + 40960u);
}

} // namespace
} // namespace velmora
