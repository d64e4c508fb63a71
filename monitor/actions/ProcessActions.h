// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/actions/ExitClock.h"
#include "monitor/actions/ProcessSignaller.h"
#include "monitor/common/LaunchSpec.h"
#include "monitor/common/ProcessLauncher.h"
#include "monitor/live/LiveView.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The outcome of quitting a family's processes.
struct QuitOutcome {
    bool refused = false; // nothing was signalled (protected, gone, changed, other user)
    std::string reason;   // why, for refusals and failures
    std::size_t signalled = 0;
    std::size_t ended = 0;              // of those signalled, how many ended within the wait
    std::vector<UniqueFd> stillRunning; // pidfds of those that did not end yet
};

// Graceful quit, force quit and restart of a family, through the signaller only.
class ProcessActions {
public:
    ProcessActions(const ProcRoot& root, const ProcessSignaller& signaller,
                   const ExitClock& clock = systemExitClock());

    // SIGTERM (graceful) or SIGKILL to the family's top processes (those whose parent is not in
    // the family; with force, every process), then waits for them to end: waitSeconds in all,
    // however many processes there are.
    QuitOutcome quit(const FamilyView& family, bool force, double waitSeconds) const;
    // Graceful quit of the family's one top process, then the same command line again,
    // detached, in the same directory with the same environment. The whole restart waits at
    // most waitSeconds.
    // The new process's id, or none with `message` saying why.
    std::optional<pid_t> restart(const FamilyView& family, double waitSeconds,
                                 std::string& message) const;
    // How to start the family's one top process again, read from /proc before it is quit; or
    // nothing, with `message` saying why it cannot be restarted.
    std::optional<LaunchSpec> relaunchSpecOf(const FamilyView& family, std::string& message) const;

    // Starts a program read by relaunchSpecOf again: detached, in its own session.
    LaunchResult startAgain(const LaunchSpec& spec) const;

private:
    // quit, waiting until `deadline` on the clock at most.
    QuitOutcome quitBy(const FamilyView& family, bool force, double deadline) const;

    const ProcRoot& root_;
    const ProcessSignaller& signaller_;
    const ExitClock& clock_;
};

// The top processes of a family: members whose parent is not a member.
std::vector<const MemberView*> topMembers(const FamilyView& family);

} // namespace velmora
