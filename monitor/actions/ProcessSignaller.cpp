// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/ProcessSignaller.h"

#include "monitor/families/FamilyResolver.h"
#include "monitor/proc/ProcParsers.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/syscall.h>

#ifndef SYS_pidfd_open
#define SYS_pidfd_open 434
#endif
#ifndef SYS_pidfd_send_signal
#define SYS_pidfd_send_signal 424
#endif

namespace velmora {

int openPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

int sendPidfdSignal(int pidfd, int signal) {
    return static_cast<int>(::syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0));
}

ProcessSignaller::ProcessSignaller(const ProcRoot& root, uid_t ownUid, pid_t self)
    : root_(root), ownUid_(ownUid), protected_(root, self) {}

SignalResult ProcessSignaller::verify(const ProcessIdentity& target, std::string& reason) const {
    char buf[2048];
    if (root_.readPidFile(target.pid, "stat", buf, sizeof buf) <= 0) {
        reason = "The process has already ended.";
        return SignalResult::gone;
    }
    auto stat = parseStat(buf);
    if (!stat || stat->startTime != target.startTime || stat->state == 'Z') {
        reason = stat && stat->state == 'Z' ? "The process has already ended."
                                            : "PID " + std::to_string(target.pid) +
                                                  " now belongs to another process; nothing was "
                                                  "signalled.";
        return stat && stat->state == 'Z' ? SignalResult::gone : SignalResult::changed;
    }
    auto owner = root_.ownerOf(target.pid);
    if (!owner || *owner != ownUid_) {
        reason = "The process belongs to another user; Velmora only acts on your own processes.";
        return SignalResult::otherUser;
    }
    auto exe = root_.readLink(target.pid, "exe").value_or("");
    if (exe != target.exe) {
        reason = "The process now runs another program; nothing was signalled.";
        return SignalResult::changed;
    }
    if (protected_.isProtected(target.pid, executableBaseName(exe), stat->comm)) {
        reason = "Velmora never signals itself, its app or the desktop session's own processes.";
        return SignalResult::protectedProcess;
    }
    return SignalResult::sent;
}

SignalOutcome ProcessSignaller::send(const ProcessIdentity& target, int signal) const {
    SignalOutcome outcome;
    if (target.uid != ownUid_) {
        outcome.result = SignalResult::otherUser;
        outcome.reason =
            "The process belongs to another user; Velmora only acts on your own processes.";
        return outcome;
    }
    if (target.pid <= 1) {
        outcome.result = SignalResult::protectedProcess;
        outcome.reason = "Velmora never signals the init process.";
        return outcome;
    }
    UniqueFd pidfd(openPidfd(target.pid));
    if (!pidfd.valid()) {
        outcome.result = errno == ESRCH ? SignalResult::gone : SignalResult::failed;
        outcome.reason = errno == ESRCH ? "The process has already ended."
                                        : std::string("Could not open the process: ") +
                                              std::strerror(errno) + ".";
        return outcome;
    }
    // The pidfd now pins one process; check that it is still the one that was sampled.
    outcome.result = verify(target, outcome.reason);
    if (outcome.result != SignalResult::sent) {
        return outcome;
    }
    if (sendPidfdSignal(pidfd.get(), signal) != 0) {
        int error = errno;
        outcome.result = error == ESRCH ? SignalResult::gone : SignalResult::failed;
        outcome.reason = error == ESRCH
                             ? "The process has already ended."
                             : std::string("The signal was refused: ") + std::strerror(error) + ".";
        return outcome;
    }
    outcome.pidfd = std::move(pidfd);
    return outcome;
}

bool ProcessSignaller::waitForExit(int pidfd, double seconds) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd item{pidfd, POLLIN, 0};
        int ready = ::poll(&item, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready > 0) {
            return true;
        }
        if (ready == 0) {
            return false;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

} // namespace velmora
