// SPDX-License-Identifier: GPL-3.0-or-later
// A real out-of-memory kill: a memory child in its own memory cgroup with a small limit grows
// past it, the kernel ends it, and a real sampler over the real /proc must record the kill for
// the child's family. A larger bystander in another memory cgroup is ended the moment the kill
// is counted, an ordinary exit in the same pass: it must not be taken for the victim.

#include "monitor/live/Sampler.h"
#include "monitor/proc/VmStat.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileText.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::readFile;

constexpr uint64_t kLimitBytes = 48ull << 20;
constexpr uid_t kNobody = 65534;

bool writeFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file);
    out << text;
    out.flush();
    return static_cast<bool>(out);
}

// A memory cgroup of its own under whichever hierarchy is mounted and writable (v1's memory
// controller, or v2 with the memory controller enabled), removed at the end.
class MemoryCgroup {
public:
    explicit MemoryCgroup(const std::string& role) {
        std::string name = "velmora-oom-test-" + std::to_string(::getpid()) + "-" + role;
        if (tryCreate(fs::path("/sys/fs/cgroup/memory") / name, "memory.limit_in_bytes")) {
            writeFile(path_ / "memory.swappiness", "0"); // no swap to escape into
            v1_ = true;
        } else if (tryCreate(fs::path("/sys/fs/cgroup") / name, "memory.max")) {
            writeFile(path_ / "memory.swap.max", "0");
        } else {
            why_ = "no writable memory cgroup (cgroup v1 memory controller or v2 with memory "
                   "enabled) on this machine";
        }
    }
    ~MemoryCgroup() {
        if (path_.empty()) {
            return;
        }
        // The cgroup empties once its last task is reaped; rmdir may need a moment after.
        for (int attempt = 0; attempt < 50 && ::rmdir(path_.c_str()) != 0 && errno == EBUSY;
             ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    MemoryCgroup(const MemoryCgroup&) = delete;
    MemoryCgroup& operator=(const MemoryCgroup&) = delete;

    // Why there is none, when there is none.
    const std::optional<std::string>& unavailable() const { return why_; }
    bool limit(uint64_t bytes) const {
        return writeFile(path_ / (v1_ ? "memory.limit_in_bytes" : "memory.max"),
                         std::to_string(bytes));
    }
    fs::path procs() const { return path_ / "cgroup.procs"; }
    // The cgroup's own count of out-of-memory kills.
    std::optional<uint64_t> kills() const {
        std::string text = readFile(path_ / (v1_ ? "memory.oom_control" : "memory.events"));
        return parseOutOfMemoryKillCount(text);
    }

private:
    bool tryCreate(const fs::path& path, const char* limitFile) {
        if (::mkdir(path.c_str(), 0755) != 0) {
            return false;
        }
        if (!fs::exists(path / limitFile)) {
            ::rmdir(path.c_str());
            return false;
        }
        path_ = path;
        return true;
    }

    fs::path path_;
    bool v1_ = false;
    std::optional<std::string> why_;
};

// The memory child, started inside the cgroup: it joins the cgroup between fork and exec (and,
// when given, takes another user's identity), and the constructor returns once the exec
// happened (the close-on-exec pipe closes), so the sampler never sees the forked copy of this
// test.
class ChildInCgroup {
public:
    enum class Failure : char { join = 'j', identity = 'i', exec = 'e' };

    ChildInCgroup(const fs::path& procs, std::optional<uid_t> user,
                  std::vector<std::string> arguments) {
        int pipe[2];
        if (::pipe2(pipe, O_CLOEXEC) != 0) {
            return;
        }
        std::string procsPath = procs.string();
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(pipe[0]);
            char number[32];
            int length = 0;
            for (pid_t self = ::getpid(); self > 0; self /= 10) {
                number[length++] = static_cast<char>('0' + self % 10);
            }
            char text[32];
            for (int i = 0; i < length; ++i) {
                text[i] = number[length - 1 - i];
            }
            auto fail = [&](Failure failure) {
                char byte = static_cast<char>(failure);
                [[maybe_unused]] auto ignored = ::write(pipe[1], &byte, 1);
                ::_exit(127);
            };
            int fd = ::open(procsPath.c_str(), O_WRONLY | O_CLOEXEC);
            if (fd < 0 || ::write(fd, text, static_cast<std::size_t>(length)) != length) {
                fail(Failure::join);
            }
            ::close(fd);
            if (user &&
                (::setgroups(0, nullptr) != 0 || ::setgid(*user) != 0 || ::setuid(*user) != 0)) {
                fail(Failure::identity);
            }
            ::execv(argv[0], argv.data());
            fail(Failure::exec);
        }
        ::close(pipe[1]);
        char byte = 0;
        if (pid_ < 0) {
            failure_ = Failure::exec;
        } else if (::read(pipe[0], &byte, 1) == 1) {
            failure_ = static_cast<Failure>(byte);
        }
        ::close(pipe[0]);
    }
    ~ChildInCgroup() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildInCgroup(const ChildInCgroup&) = delete;
    ChildInCgroup& operator=(const ChildInCgroup&) = delete;

    pid_t pid() const { return pid_; }
    // What kept the child from starting its program in the cgroup, if anything did.
    std::optional<Failure> failure() const { return failure_; }
    // Reaps the child when it has ended, as its parent would; its wait status once ended.
    std::optional<int> reap() {
        int status = 0;
        if (!status_ && ::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    std::optional<Failure> failure_;
    std::optional<int> status_;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(OutOfMemoryCgroup, TheSamplerRecordsARealKillForTheChildsFamily) {
    if (!readOutOfMemoryKillCount(ProcRoot("/proc"))) {
        GTEST_SKIP() << "this kernel publishes no oom_kill counter in /proc/vmstat";
    }
    MemoryCgroup cgroup("victim");
    if (cgroup.unavailable()) {
        GTEST_SKIP() << *cgroup.unavailable();
    }
    ASSERT_TRUE(cgroup.limit(kLimitBytes));
    MemoryCgroup other("bystander");
    ASSERT_FALSE(other.unavailable());

    // As root, the child runs as nobody and the sampler watches nobody's processes, as a
    // desktop monitor watches its own user's: the compilers and tests that come and go as
    // root meanwhile stay out of the picture.
    std::optional<uid_t> user;
    if (::getuid() == 0) {
        user = kNobody;
    }
    SamplerOptions options;
    options.uid = user.value_or(::getuid());
    options.self = ::getpid();
    Sampler sampler(options);
    auto start = std::chrono::steady_clock::now();
    sampler.pass(0.0, 1.78e9);

    // Twice the victim's limit, flat, in a cgroup without one.
    ChildInCgroup bystander(other.procs(), user, {VELMORA_MEMORY_CHILD, "flat", "96"});
    using Failure = ChildInCgroup::Failure;
    ASSERT_FALSE(bystander.failure()) << "the bystander could not start in " << other.procs();
    // 16 MiB at once, then 40 MiB/s: past the 48 MiB limit in under a second.
    ChildInCgroup child(cgroup.procs(), user, {VELMORA_MEMORY_CHILD, "leak", "40", "16"});
    ASSERT_NE(child.failure(), Failure::join) << "the child could not join " << cgroup.procs();
    if (child.failure()) {
        GTEST_SKIP() << "the memory child cannot run as uid " << options.uid << " from "
                     << VELMORA_MEMORY_CHILD;
    }

    std::string familyKey;
    std::optional<OutOfMemoryKill> recorded;
    std::optional<OutOfMemoryKill> misattributed;
    std::optional<double> endedAt;
    while (secondsSince(start) < 20.0 && !recorded) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        // The kill is counted: the bystander ends too, before the sampler's next pass.
        if (cgroup.kills().value_or(0) > 0 && !bystander.reap()) {
            ::kill(bystander.pid(), SIGKILL);
            while (!bystander.reap()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        double now = secondsSince(start);
        auto view = sampler.pass(now, 1.78e9 + now);
        if (const ProcessRecord* record = sampler.table().find(child.pid())) {
            familyKey = record->familyKey;
        }
        for (const OutOfMemoryKill& kill : view->outOfMemoryKills) {
            if (kill.pid == child.pid()) {
                recorded = kill;
            } else if (kill.pid == bystander.pid()) {
                misattributed = kill;
            }
        }
        if (child.reap() && !endedAt) {
            endedAt = now;
        }
        if (endedAt && now - *endedAt > 3.0) {
            break; // ended, reaped, and three seconds of passes saw no kill
        }
    }
    // A few more passes: a misattribution may come late.
    for (int pass = 0; pass < 3 && !misattributed; ++pass) {
        double now = secondsSince(start);
        auto view = sampler.pass(now, 1.78e9 + now); // kept alive while its kills are read
        for (const OutOfMemoryKill& kill : view->outOfMemoryKills) {
            if (kill.pid == bystander.pid()) {
                misattributed = kill;
            }
        }
    }
    EXPECT_FALSE(misattributed) << "the bystander's ordinary exit was taken for a kill";
    // The kill can be seen (its memory gone) a moment before the child can be reaped.
    testing::eventually([&] { return child.reap().has_value(); }, std::chrono::seconds(3));
    std::optional<int> status = child.reap();
    ASSERT_TRUE(status) << "the child outgrew its limit without being ended";
    ASSERT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL)
        << "the child ended otherwise (wait status " << *status << ")";
    EXPECT_GE(cgroup.kills().value_or(1), 1u) << "the cgroup's own count confirms the kill";
    ASSERT_FALSE(familyKey.empty()) << "the sampler never saw the child";
    ASSERT_TRUE(recorded) << "the kill of " << familyKey << " was not recorded";
    EXPECT_EQ(recorded->key, familyKey);
    EXPECT_GT(recorded->processKiB, 8u * 1024) << "its footprint at the pass before the kill";
    EXPECT_GE(recorded->familyKiB, recorded->processKiB);
    EXPECT_EQ(outOfMemoryKillMessage(*recorded).rfind("Ended by the out-of-memory killer at ", 0),
              0u);
}

} // namespace
} // namespace velmora
