// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/ProcParsers.h"
#include "monitor/proc/ProcRoot.h"
#include "monitor/proc/ProcessIdentity.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test {

// A real child running /bin/sleep until it is signalled. The constructor returns once the exec
// happened (the close-on-exec pipe closed), so /proc/PID/exe is sleep; the destructor kills and
// reaps it. With ignoreTerm it ignores SIGTERM, as a program that will not quit does.
class SleepingChild {
public:
    explicit SleepingChild(bool ignoreTerm = false) {
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) {
            return;
        }
        pid = ::fork();
        if (pid == 0) {
            if (ignoreTerm) {
                ::signal(SIGTERM, SIG_IGN); // kept across exec
            }
            ::execl("/bin/sleep", "sleep", "60", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(ready[1]);
        char byte = 0;
        [[maybe_unused]] auto closed = ::read(ready[0], &byte, 1);
        ::close(ready[0]);
    }
    ~SleepingChild() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    SleepingChild(const SleepingChild&) = delete;
    SleepingChild& operator=(const SleepingChild&) = delete;

    // Not yet ended (an ended child stays a zombie until the destructor reaps it).
    bool running() const {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == 0;
    }
    // Ends it now and returns once it has ended, leaving it unreaped.
    void end() const {
        ::kill(pid, SIGKILL);
        siginfo_t info{};
        ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
    }

    pid_t pid = -1;
};

// The identity the sampler would have recorded for a process.
inline ProcessIdentity identityOf(const ProcRoot& proc, pid_t pid) {
    char buf[2048];
    ProcessIdentity identity;
    identity.pid = pid;
    if (proc.readPidFile(pid, "stat", buf, sizeof buf) > 0) {
        if (auto stat = parseStat(buf)) {
            identity.startTime = stat->startTime;
        }
    }
    identity.uid = proc.ownerOf(pid).value_or(0);
    identity.exe = proc.readLink(pid, "exe").value_or("");
    return identity;
}

} // namespace velmora::test
