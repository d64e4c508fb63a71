// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One process of a family at a sample: a number that names it for its whole life in the trace
// (never reused), its footprint and the CPU ticks it has used.
struct MemberPoint {
    uint32_t id = 0;
    uint64_t footprintKiB = 0;
    uint64_t cpuTicks = 0;
    bool operator==(const MemberPoint&) const = default;
};

// One sample of a family: seconds since the family appeared, its footprint (anonymous memory
// plus swap) and the CPU ticks its live members have used; and, where the trace has them, its
// members at that moment (a member is born at the first sample that holds it and has ended at
// the first that no longer does).
struct TracePoint {
    double seconds = 0;
    uint64_t footprintKiB = 0;
    uint64_t cpuTicks = 0;
    std::vector<MemberPoint> members; // empty: the family's total only
};

// A labelled memory behaviour: what a family's footprint did, whether that is a leak and, for a
// leak, the time by which a monitor must call it one.
struct MemoryTrace {
    std::string name;
    std::string behaviour; // the class: "warmup", "steadyLeak", ...
    bool leak = false;
    // Not a leak but growth that stops by itself (a warm-up, a job, a cache filling to its
    // bound): "suspect" while it grows is fair, "probable", which notifies, is a false alarm.
    bool bounded = false;
    double onsetSeconds = 0;            // leaks: when the growth starts
    double deadlineSeconds = 0;         // leaks: flagged at "suspect" or above by then
    std::optional<double> settledAfter; // growth stops here: the verdict must fall back
    // The first sample is the process's birth (a few MB, rising to its working size within
    // seconds); otherwise the trace begins in mid-life, at its working size.
    bool fromBirth = false;
    // Memory the machine has left (available plus free swap) at the first sample; the family's
    // own growth uses it up. Absent: plenty, so that nothing runs out.
    std::optional<uint64_t> availableKiB;
    std::vector<TracePoint> points;
};

// The text form: "# key: value" header lines (name, class, truth: leak, notLeak or bounded,
// onset, deadline, settled, seen, available), then one "seconds footprint_kib cpu_ticks" line
// per sample, followed, in traces that have members, by one "id:footprint_kib:cpu_ticks" field
// per member.
std::optional<MemoryTrace> readTraceFile(const std::string& path, std::string& error);
void writeTraceFile(const MemoryTrace& trace, const std::string& path);

} // namespace velmora
