// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/StatusWording.h"

#include "monitor/common/Formatting.h"

#include <algorithm>

namespace velmora {
namespace {

std::string summaryWords(const SummaryCodes& summary) {
    const int64_t count = summary.count.value_or(0);
    switch (*summary.code.known) {
    case SummaryCode::allClear:
        return "ALL CLEAR";
    case SummaryCode::familiesToWatch:
        return count == 1 ? "1 FAMILY TO WATCH" : std::to_string(count) + " FAMILIES TO WATCH";
    case SummaryCode::suspectedLeaks:
        return count == 1 ? "1 SUSPECTED LEAK" : std::to_string(count) + " SUSPECTED LEAKS";
    case SummaryCode::criticalRunaway:
        return "CRITICAL RUNAWAY";
    case SummaryCode::criticalPressure:
        return "CRITICAL PRESSURE";
    case SummaryCode::highPressure:
        return "HIGH PRESSURE";
    }
    return "ALL CLEAR";
}

SummaryCodes summaryCodeOf(SnapshotTone tone, const std::vector<FindingSnapshot>& rows) {
    auto count = [&](FindingSeverity floor) {
        return static_cast<int64_t>(
            std::count_if(rows.begin(), rows.end(),
                          [&](const FindingSnapshot& row) { return row.severity >= floor; }));
    };
    switch (tone) {
    case SnapshotTone::allClear:
        return {SummaryCode::allClear, std::nullopt};
    case SnapshotTone::watch:
        return {SummaryCode::familiesToWatch, count(FindingSeverity::watch)};
    case SnapshotTone::suspect: {
        // High pressure alone raises the strip to this level; it names no leak then.
        const int64_t suspects = count(FindingSeverity::suspect);
        return suspects >= 1 ? SummaryCodes{SummaryCode::suspectedLeaks, suspects}
                             : SummaryCodes{SummaryCode::highPressure, std::nullopt};
    }
    case SnapshotTone::critical:
        return count(FindingSeverity::critical) >= 1
                   ? SummaryCodes{SummaryCode::criticalRunaway, std::nullopt}
                   : SummaryCodes{SummaryCode::criticalPressure, std::nullopt};
    }
    return {SummaryCode::allClear, std::nullopt};
}

std::string recentStatusWords(RecentStatusCode status) {
    switch (status) {
    case RecentStatusCode::outOfMemory:
        return "Ended: out of memory";
    case RecentStatusCode::processEnded:
        return "Process ended";
    case RecentStatusCode::growthStopped:
        return "Growth stopped";
    }
    return "Growth stopped";
}

SystemStateCodes& codesOf(SystemStateSnapshot& state) {
    if (!state.codes) {
        state.codes.emplace();
    }
    return *state.codes;
}

} // namespace

PressureCode pressureCodeOf(PressureLevel level) {
    switch (level) {
    case PressureLevel::normal:
        return PressureCode::normal;
    case PressureLevel::elevated:
        return PressureCode::elevated;
    case PressureLevel::high:
        return PressureCode::high;
    case PressureLevel::critical:
        return PressureCode::critical;
    }
    return PressureCode::normal;
}

void setSummary(PopoverSnapshot& snapshot, SnapshotTone tone,
                const std::vector<FindingSnapshot>& rows) {
    snapshot.summaryCode = summaryCodeOf(tone, rows);
    snapshot.summaryText = summaryWords(*snapshot.summaryCode);
}

void setMachineState(SystemStateSnapshot& state, const MachineState& machine) {
    if (!machine.valid) {
        setMemoryUnread(state);
        return;
    }
    state.pressureLabel = pressureLabel(machine.level);
    state.headroomLabel = headroomLabel(machine);
    state.usedMemoryFraction = machine.usedFraction();
    SystemStateCodes& codes = codesOf(state);
    codes.pressure = pressureCodeOf(machine.level);
    codes.availableKiB = static_cast<double>(machine.memory.availableKiB);
    codes.totalKiB = static_cast<double>(machine.memory.totalKiB);
}

void setMemoryUnread(SystemStateSnapshot& state) {
    state.pressureLabel = "Memory state unavailable";
    state.headroomLabel = "Headroom unavailable";
    codesOf(state).memoryState = MemoryStateCode::unread;
}

void setScanRunning(SystemStateSnapshot& state) {
    state.scopeLabel = "First process scan running";
    codesOf(state).scope = ScopeCode::scanRunning;
}

void setScope(SystemStateSnapshot& state, std::size_t processes, std::size_t families) {
    state.scopeLabel = std::to_string(processes) + " same-user processes in " +
                       std::to_string(families) + " families";
    SystemStateCodes& codes = codesOf(state);
    codes.scope = ScopeCode::watching;
    codes.processCount = static_cast<int64_t>(processes);
    codes.familyCount = static_cast<int64_t>(families);
}

void setRunsOut(SystemStateSnapshot& state, double exhaustionSeconds) {
    state.scopeLabel = exhaustionSeconds < 60 ? "Runs out in < 1 min"
                                              : "Runs out in ~" + formatSpan(exhaustionSeconds);
    SystemStateCodes& codes = codesOf(state);
    codes.scope = ScopeCode::runsOut;
    codes.exhaustionSeconds = exhaustionSeconds;
}

void setForecastUnavailable(SystemStateSnapshot& state) {
    state.scopeLabel = "Memory forecast unavailable";
    codesOf(state).scope = ScopeCode::forecastUnavailable;
}

void setRecentStatus(RecentFindingSnapshot& finding, RecentStatusCode status, double agoSeconds) {
    finding.statusLabel = recentStatusWords(status);
    finding.lastSeenText = formatAgo(agoSeconds);
    finding.codes = RecentFindingCodes{status, agoSeconds};
}

} // namespace velmora
