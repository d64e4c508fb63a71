// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/ProcessActions.h"

#include "monitor/common/ProcessLauncher.h"
#include "monitor/proc/ProcParsers.h"

#include <algorithm>
#include <csignal>
#include <set>

namespace velmora {

std::vector<const MemberView*> topMembers(const FamilyView& family) {
    std::set<pid_t> pids;
    for (const MemberView& member : family.members) {
        pids.insert(member.identity.pid);
    }
    std::vector<const MemberView*> tops;
    for (const MemberView& member : family.members) {
        if (pids.count(member.ppid) == 0) {
            tops.push_back(&member);
        }
    }
    return tops;
}

ProcessActions::ProcessActions(const ProcRoot& root, const ProcessSignaller& signaller,
                               const ExitClock& clock)
    : root_(root), signaller_(signaller), clock_(clock) {}

QuitOutcome ProcessActions::quit(const FamilyView& family, bool force, double waitSeconds) const {
    return quitBy(family, force, clock_.now() + waitSeconds);
}

QuitOutcome ProcessActions::quitBy(const FamilyView& family, bool force, double deadline) const {
    QuitOutcome outcome;
    if (family.isProtected) {
        outcome.refused = true;
        outcome.reason = "Velmora never signals itself, its app or the desktop session's own "
                         "processes.";
        return outcome;
    }
    std::vector<const MemberView*> targets;
    if (force) {
        for (const MemberView& member : family.members) {
            targets.push_back(&member);
        }
    } else {
        targets = topMembers(family);
    }
    std::vector<UniqueFd> pidfds;
    for (const MemberView* member : targets) {
        SignalOutcome sent = signaller_.send(member->identity, force ? SIGKILL : SIGTERM);
        if (sent.result == SignalResult::sent) {
            pidfds.push_back(std::move(sent.pidfd));
        } else if (sent.result != SignalResult::gone && outcome.reason.empty()) {
            outcome.reason = sent.reason;
        }
    }
    outcome.signalled = pidfds.size();
    if (pidfds.empty()) {
        outcome.refused = true;
        if (outcome.reason.empty()) {
            outcome.reason = "Its processes had already ended.";
        }
        return outcome;
    }
    for (UniqueFd& pidfd : pidfds) {
        // One deadline for the whole action: each process gets what the ones before it left,
        // and once it has passed the rest are only checked.
        if (clock_.waitForExit(pidfd.get(), std::max(0.0, deadline - clock_.now()))) {
            ++outcome.ended;
        } else {
            outcome.stillRunning.push_back(std::move(pidfd));
        }
    }
    return outcome;
}

std::optional<LaunchSpec> ProcessActions::relaunchSpecOf(const FamilyView& family,
                                                         std::string& message) const {
    auto tops = topMembers(family);
    if (tops.size() != 1) {
        message = "Restart needs one main process; this family has " + std::to_string(tops.size()) +
                  ". Quit it and start it again yourself.";
        return std::nullopt;
    }
    const MemberView& top = *tops.front();
    pid_t pid = top.identity.pid;
    auto rawArguments = root_.readWholePidFile(pid, "cmdline", 1 << 20);
    auto rawEnvironment = root_.readWholePidFile(pid, "environ", 1 << 20);
    LaunchSpec spec;
    spec.program = top.identity.exe;
    spec.command = rawArguments ? splitNulSeparated(*rawArguments) : std::vector<std::string>{};
    if (spec.command.empty() || spec.program.empty()) {
        message = "Its command line could not be read, so it could not be started again.";
        return std::nullopt;
    }
    if (spec.program.ends_with(" (deleted)")) {
        message = "Its program file was replaced or removed since it started; start it again "
                  "yourself.";
        return std::nullopt;
    }
    spec.environment =
        rawEnvironment ? splitNulSeparated(*rawEnvironment) : std::vector<std::string>{};
    spec.directory = root_.readLink(pid, "cwd").value_or("/");
    return spec;
}

LaunchResult ProcessActions::startAgain(const LaunchSpec& spec) const {
    return launchDetached(spec.program, spec.command, spec.environment, spec.directory);
}

std::optional<pid_t> ProcessActions::restart(const FamilyView& family, double waitSeconds,
                                             std::string& message) const {
    const double deadline = clock_.now() + waitSeconds;
    auto spec = relaunchSpecOf(family, message);
    if (!spec) {
        return std::nullopt;
    }
    QuitOutcome quitOutcome = quitBy(family, false, deadline);
    if (quitOutcome.refused || quitOutcome.ended == 0) {
        message = quitOutcome.refused
                      ? quitOutcome.reason
                      : "It did not quit within " + std::to_string(static_cast<int>(waitSeconds)) +
                            " s, so it was not started again.";
        return std::nullopt;
    }
    LaunchResult launched = startAgain(*spec);
    if (!launched.ok) {
        message = "It quit, but starting it again failed: " + launched.error;
        return std::nullopt;
    }
    return launched.pid;
}

} // namespace velmora
