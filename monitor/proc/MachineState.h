// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/PassStatistics.h"
#include "monitor/proc/ProcParsers.h"
#include "monitor/proc/ProcRoot.h"

#include <optional>
#include <string>

namespace velmora {

enum class PressureLevel { normal, elevated, high, critical };

// The machine's memory as of one pass: /proc/meminfo and, where the kernel has it, PSI.
struct MachineState {
    bool valid = false;
    MemInfo memory;
    std::optional<Pressure> pressure;
    // The machine's shared memory (meminfo's Shmem), where the kernel gives it.
    std::optional<uint64_t> shmemKiB;
    PressureLevel level = PressureLevel::normal;

    double usedFraction() const;
    double headroomFraction() const;
};

MachineState readMachineState(const ProcRoot& root, PassStatistics& stats);
// PSI when present (some/full averages), else headroom alone; the worse of the two.
PressureLevel classifyPressure(const MemInfo& memory, const std::optional<Pressure>& pressure);
std::string pressureLabel(PressureLevel level);       // "Normal pressure", ...
std::string headroomLabel(const MachineState& state); // "8.0 GB available of 32.0 GB"

} // namespace velmora
