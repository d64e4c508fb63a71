// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/live/Sampler.h"
#include "monitor/session/Tuning.h"
#include "tests/support/FileText.h"
#include "tests/support/TemporaryDirectory.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace velmora::test {

// A fake /proc the sampler reads through its directory descriptor: plain files in the same
// layout, processes added, resized and removed by hand, and the kernel's out-of-memory kill
// counter in vmstat. Beside it a fake /sys/fs/cgroup, where memory cgroups count their kills.
class FakeProcTree {
public:
    FakeProcTree() {
        std::filesystem::create_directories(root + "/pressure");
        std::filesystem::create_directories(cgroupRoot);
        write("meminfo", "MemTotal: 16777216 kB\nMemAvailable: 8388608 kB\n");
        write("pressure/memory", "some avg10=0.00 avg60=0.00 avg300=0.00 total=0\n");
    }
    FakeProcTree(const FakeProcTree&) = delete;
    FakeProcTree& operator=(const FakeProcTree&) = delete;

    void write(const std::string& relative, const std::string& text) const {
        std::ofstream(root + "/" + relative) << text;
    }
    // A process of `exe` (its own family unless its parent runs the same executable) holding
    // `residentPages` anonymous pages.
    void addProcess(int pid, int ppid, const std::string& exe, uint64_t residentPages) const {
        std::filesystem::create_directories(root + "/" + std::to_string(pid));
        std::string dir = std::to_string(pid) + "/";
        write(dir + "stat", std::to_string(pid) + " (" + exe + ") S " + std::to_string(ppid) +
                                " 1 1 0 -1 0 0 0 0 0 10 5 0 0 20 0 1 0 " +
                                std::to_string(1000 + pid) + " 1 1 0\n");
        setResident(pid, residentPages);
        write(dir + "cmdline", "/usr/bin/" + exe + std::string(1, '\0') + "--flag");
        write(dir + "cgroup", "0::/\n");
        write(dir + "status", "Name:\t" + exe + "\nVmSwap:\t0 kB\n");
        std::filesystem::create_symlink("/usr/bin/" + exe, root + "/" + dir + "exe");
    }
    void setResident(int pid, uint64_t pages) const {
        write(std::to_string(pid) + "/statm",
              "100000 " + std::to_string(pages + 100) + " 100 1 0 1 0\n");
    }
    // An ended process its parent has not reaped: still listed, a zombie, no memory left.
    void empty(int pid) const {
        write(std::to_string(pid) + "/statm", "0 0 0 0 0 0 0\n");
        std::string stat = testing::readFile(root + "/" + std::to_string(pid) + "/stat");
        stat[stat.rfind(')') + 2] = 'Z';
        write(std::to_string(pid) + "/stat", stat);
    }
    // A process swapped out whole: alive, no resident anonymous memory, `swapPages` in swap.
    void swapOut(int pid, uint64_t swapPages) const {
        setResident(pid, 0);
        write(std::to_string(pid) + "/status",
              "Name:\tswapped\nVmSwap:\t" + std::to_string(swapPages * 4) + " kB\n");
    }
    // The process becomes `exe` (PID and start time stay): its name, link and code size change.
    void execAs(int pid, const std::string& exe, uint64_t residentPages) const {
        std::string dir = root + "/" + std::to_string(pid);
        std::string stat = testing::readFile(dir + "/stat");
        stat = std::to_string(pid) + " (" + exe + stat.substr(stat.rfind(')'));
        write(std::to_string(pid) + "/stat", stat);
        std::filesystem::remove(dir + "/exe");
        std::filesystem::create_symlink("/usr/bin/" + exe, dir + "/exe");
        write(std::to_string(pid) + "/cmdline", "/usr/bin/" + exe);
        write(std::to_string(pid) + "/statm",
              "100000 " + std::to_string(residentPages + 100) + " 100 2 0 1 0\n");
    }
    void remove(int pid) const { std::filesystem::remove_all(root + "/" + std::to_string(pid)); }
    void setOutOfMemoryKills(uint64_t count) const {
        write("vmstat", "nr_free_pages 1000\npgfault 5\noom_kill " + std::to_string(count) +
                            "\nnr_unstable 0\n");
    }
    // Puts a process in the cgroup v2 `path` ("/user.slice/...") as /proc/PID/cgroup tells it.
    void setCgroup(int pid, const std::string& path) const {
        write(std::to_string(pid) + "/cgroup", "0::" + path + "\n");
    }
    // The same where the memory controller is mounted as cgroup v1.
    void setLegacyMemoryCgroup(int pid, const std::string& path) const {
        write(std::to_string(pid) + "/cgroup",
              "5:pids:/user.slice\n4:memory:" + path + "\n1:name=systemd:/user.slice\n0::/\n");
    }
    // A v2 cgroup's count of out-of-memory kills (its memory.events).
    void setCgroupKills(const std::string& path, uint64_t count) const {
        writeCgroupFile(path + "/memory.events", "low 0\nhigh 0\nmax 12\noom 3\noom_kill " +
                                                     std::to_string(count) +
                                                     "\noom_group_kill 0\n");
    }
    // A v1 memory cgroup's count (its memory.oom_control).
    void setLegacyCgroupKills(const std::string& path, uint64_t count) const {
        writeCgroupFile("/memory" + path + "/memory.oom_control",
                        "oom_kill_disable 0\nunder_oom 0\noom_kill " + std::to_string(count) +
                            "\n");
    }
    // The cgroup is removed, as systemd removes a scope once its last process has gone.
    void removeCgroup(const std::string& path) const {
        std::filesystem::remove_all(cgroupRoot + path);
    }

    testing::TemporaryDirectory directory;
    std::string root = directory.path().string();
    testing::TemporaryDirectory cgroupDirectory;
    std::string cgroupRoot = cgroupDirectory.path().string();

private:
    void writeCgroupFile(const std::string& relative, const std::string& text) const {
        std::filesystem::create_directories(
            std::filesystem::path(cgroupRoot + relative).parent_path());
        std::ofstream(cgroupRoot + relative) << text;
    }
};

// A sampler over the fake tree at `procPath`, with buckets of a second so tests run fast.
inline SamplerOptions samplerOptionsFor(const std::string& procPath) {
    SamplerOptions options;
    options.procPath = procPath;
    options.uid = ::getuid();
    options.self = ::getpid();
    options.scoring = Tuning::fromJson(Json{{"bucketSeconds", 1.0},
                                            {"rateWindowBuckets", 8},
                                            {"minRateBuckets", 5},
                                            {"minFootprintMiB", 8.0}})
                          .scoring;
    return options;
}

inline SamplerOptions samplerOptionsFor(const FakeProcTree& proc) {
    SamplerOptions options = samplerOptionsFor(proc.root);
    options.cgroupPath = proc.cgroupRoot;
    return options;
}

} // namespace velmora::test
