// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/TraceAccess.h"

#include "monitor/common/DisplayText.h"

#include <cstdlib>
#include <sys/stat.h>

namespace velmora {
namespace {

// The four numbers after `key` in a status file ("Uid:\t1000\t1000\t1000\t1000").
template <class Id>
std::optional<std::array<Id, 4>> statusIds(const std::string& text, const std::string& key) {
    std::size_t at = text.find("\n" + key);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const char* cursor = text.c_str() + at + 1 + key.size();
    std::array<Id, 4> ids{};
    for (Id& id : ids) {
        char* end = nullptr;
        unsigned long value = std::strtoul(cursor, &end, 10);
        if (end == cursor) {
            return std::nullopt;
        }
        id = static_cast<Id>(value);
        cursor = end;
    }
    return ids;
}

std::string statusName(const std::string& text) {
    if (text.rfind("Name:", 0) != 0) {
        return {};
    }
    std::size_t start = text.find_first_not_of(" \t", 5);
    std::size_t end = text.find('\n');
    if (start == std::string::npos || start >= end) {
        return {};
    }
    return displayText(text.substr(start, end - start), 64);
}

template <class Id> bool allEqual(const std::array<Id, 4>& ids, Id value) {
    for (Id id : ids) {
        if (id != value) {
            return false;
        }
    }
    return true;
}

TraceAccess refusal(TraceBlock block, WhereFailureCode code, ActionFigures figures = {}) {
    TraceAccess access;
    access.block = block;
    access.failure = trackingFailure(traceBlockName(block), code, std::move(figures));
    return access;
}

// The refusal under a Yama ptrace_scope of 1 or more.
TraceAccess ptraceScopeRefusal(pid_t pid, const std::string& name, int scope) {
    const WhereFailureCode code = scope >= 3   ? WhereFailureCode::attachNeverUntilBoot
                                  : scope == 1 ? WhereFailureCode::attachOnlyToChildren
                                               : WhereFailureCode::attachOnlyAsAdmin;
    TraceAccess access = refusal(TraceBlock::ptraceScope, code, processFigures(name, pid));
    access.failure.restartHelps = true;
    if (scope >= 3) {
        return access;
    }
    access.failure.commands = {
        suggestedCommand("sudo sysctl kernel.yama.ptrace_scope=0", WhereCommandCode::allowAttach),
        suggestedCommand("heaptrack -p " + std::to_string(pid),
                         WhereCommandCode::trackUntilInterrupted),
        suggestedCommand("sudo sysctl kernel.yama.ptrace_scope=" + std::to_string(scope),
                         WhereCommandCode::restoreRule)};
    return access;
}

} // namespace

std::string traceBlockName(TraceBlock block) {
    switch (block) {
    case TraceBlock::none:
        return "none";
    case TraceBlock::noProcess:
        return "noProcess";
    case TraceBlock::self:
        return "self";
    case TraceBlock::otherUser:
        return "otherUser";
    case TraceBlock::setId:
        return "setId";
    case TraceBlock::notDumpable:
        return "notDumpable";
    case TraceBlock::ptraceScope:
        return "ptraceScope";
    case TraceBlock::attachRefused:
        break;
    }
    return "attachRefused";
}

std::string processLabel(const std::string& name, pid_t pid) {
    std::string label = "PID " + std::to_string(pid);
    return name.empty() ? label : name + " (" + label + ")";
}

ActionFigures processFigures(const std::string& name, int64_t pid) {
    return {.process = name, .pid = pid};
}

int readPtraceScope(const ProcRoot& root) {
    char buf[32];
    if (root.readFile("sys/kernel/yama/ptrace_scope", buf, sizeof buf) <= 0) {
        return 0;
    }
    return std::atoi(buf);
}

TraceFacts readTraceFacts(const ProcRoot& root, pid_t pid) {
    TraceFacts facts;
    facts.pid = pid;
    facts.ptraceScope = readPtraceScope(root);
    auto status = pid > 0 ? root.readWholePidFile(pid, "status", 64 * 1024) : std::nullopt;
    if (!status) {
        return facts;
    }
    auto uids = statusIds<uid_t>(*status, "Uid:");
    auto gids = statusIds<gid_t>(*status, "Gid:");
    if (!uids || !gids) {
        return facts;
    }
    facts.exists = true;
    facts.name = statusName(*status);
    facts.uids = *uids;
    facts.gids = *gids;
    // The files of a process that is not dumpable belong to root (its directory may not).
    const std::string directory = root.path() + "/" + std::to_string(pid);
    struct stat statusFile {};
    if (::stat((directory + "/status").c_str(), &statusFile) == 0) {
        facts.procOwner = statusFile.st_uid;
    }
    struct stat program {};
    std::string exe = directory + "/exe";
    facts.setIdExecutable =
        ::stat(exe.c_str(), &program) == 0 && (program.st_mode & (S_ISUID | S_ISGID)) != 0;
    return facts;
}

TraceAccess attachRefused(pid_t pid, const std::string& name) {
    TraceAccess access = refusal(TraceBlock::attachRefused, WhereFailureCode::attachRefused,
                                 processFigures(name, pid));
    access.failure.commands = {suggestedCommand("sudo heaptrack -p " + std::to_string(pid),
                                                WhereCommandCode::trackAsAdmin)};
    access.failure.restartHelps = true;
    return access;
}

TraceAccess decideTraceAccess(const TraceFacts& facts, uid_t ownUid, gid_t ownGid, pid_t self) {
    if (!facts.exists) {
        return refusal(TraceBlock::noProcess, WhereFailureCode::noProcess, {.pid = facts.pid});
    }
    const ActionFigures process = processFigures(facts.name, facts.pid);
    if (facts.pid == self) {
        return refusal(TraceBlock::self, WhereFailureCode::self);
    }
    if (facts.uids[0] != ownUid) {
        return refusal(TraceBlock::otherUser, WhereFailureCode::otherUser, process);
    }
    if (!allEqual(facts.uids, ownUid) || !allEqual(facts.gids, ownGid) || facts.setIdExecutable) {
        return refusal(TraceBlock::setId, WhereFailureCode::setId, process);
    }
    if (facts.procOwner && *facts.procOwner != ownUid) {
        return refusal(TraceBlock::notDumpable, WhereFailureCode::notDumpable, process);
    }
    if (facts.ptraceScope <= 0) {
        return {};
    }
    return ptraceScopeRefusal(facts.pid, facts.name, facts.ptraceScope);
}

WhereFailure failureOf(const TraceAccess& access) {
    return access.failure;
}

} // namespace velmora
