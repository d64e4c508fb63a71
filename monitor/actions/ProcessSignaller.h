// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UniqueFd.h"
#include "monitor/families/ProtectedProcesses.h"
#include "monitor/proc/ProcRoot.h"
#include "monitor/proc/ProcessIdentity.h"

#include <string>

namespace velmora {

enum class SignalResult { sent, gone, changed, otherUser, protectedProcess, failed };

struct SignalOutcome {
    SignalResult result = SignalResult::failed;
    std::string reason; // display text for failures
    UniqueFd pidfd;     // open when sent: poll it to learn when the process ended
};

// Sends signals only the safe way: the target must be the current user's, outside the
// protected set; the signal goes through a pidfd, and the start time, owner and executable
// are checked again after the pidfd is open, so a reused PID is never hit.
class ProcessSignaller {
public:
    ProcessSignaller(const ProcRoot& root, uid_t ownUid, pid_t self);

    SignalOutcome send(const ProcessIdentity& target, int signal) const;
    // Waits up to `seconds` for the process behind the pidfd to end.
    static bool waitForExit(int pidfd, double seconds);
    const ProtectedProcesses& protectedProcesses() const { return protected_; }

private:
    SignalResult verify(const ProcessIdentity& target, std::string& reason) const;

    const ProcRoot& root_;
    uid_t ownUid_;
    ProtectedProcesses protected_;
};

// pidfd_open and pidfd_send_signal through syscall(), for C libraries without the wrappers.
int openPidfd(pid_t pid);
int sendPidfdSignal(int pidfd, int signal);

} // namespace velmora
