// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/ProcRoot.h"
#include "monitor/where/LeakReport.h"

#include <array>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

// Why heaptrack may not attach to a process. The first four are Velmora's own rules and never
// change; the kernel's ptrace rules can be relaxed by an administrator or avoided by starting
// the program under tracking, which needs no attach.
enum class TraceBlock {
    none,
    noProcess,     // no process has that PID
    self,          // Velmora does not track itself
    otherUser,     // another user's process: never
    setId,         // runs with other rights (setuid or setgid): never
    notDumpable,   // has disabled tracing of itself: never
    ptraceScope,   // Yama lets a process attach only to its children (or not at all)
    attachRefused, // the kernel turned the attach down when it was tried
};

// "notDumpable", "ptraceScope", ...: the wire name of a refusal.
std::string traceBlockName(TraceBlock block);

// What /proc says about a process and the machine's ptrace rule.
struct TraceFacts {
    pid_t pid = 0;
    bool exists = false;
    std::string name;               // display text of status "Name:"
    std::array<uid_t, 4> uids{};    // real, effective, saved, filesystem
    std::array<gid_t, 4> gids{};    // the same for groups
    std::optional<uid_t> procOwner; // owner of /proc/PID/status: root when not dumpable
    bool setIdExecutable = false;   // its program file has the setuid or setgid bit
    int ptraceScope = 0;            // /proc/sys/kernel/yama/ptrace_scope, 0 without Yama
};

// Reads the facts through `root` (a fake tree in tests).
TraceFacts readTraceFacts(const ProcRoot& root, pid_t pid);
// /proc/sys/kernel/yama/ptrace_scope below `root`; 0 where Yama is missing or unreadable.
int readPtraceScope(const ProcRoot& root);

// The decision and, for a refusal, what to tell a person: the reason, the commands they can run
// themselves with the rights it needs, and whether restarting the program under tracking would
// do instead.
struct TraceAccess {
    TraceBlock block = TraceBlock::none;
    WhereFailure failure;

    bool allowed() const { return block == TraceBlock::none; }
};

TraceAccess decideTraceAccess(const TraceFacts& facts, uid_t ownUid, gid_t ownGid, pid_t self);

// The refusal for an attach the kernel turned down.
TraceAccess attachRefused(pid_t pid, const std::string& name);

// A refusal as the failure Velmora reports: its wire name, text, commands and whether a restart
// under tracking would do instead.
WhereFailure failureOf(const TraceAccess& access);

// "leak (PID 4242)", or "PID 4242" without a name.
std::string processLabel(const std::string& name, pid_t pid);
// The figures that name a process in a sentence, written as processLabel writes it.
ActionFigures processFigures(const std::string& name, int64_t pid);

} // namespace velmora
