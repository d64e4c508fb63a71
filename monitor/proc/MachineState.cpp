// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/MachineState.h"

#include "monitor/common/Formatting.h"

#include <algorithm>

namespace velmora {

double MachineState::usedFraction() const {
    if (!valid || memory.totalKiB == 0) {
        return 0.0;
    }
    double used =
        1.0 - static_cast<double>(memory.availableKiB) / static_cast<double>(memory.totalKiB);
    return std::clamp(used, 0.0, 1.0);
}

double MachineState::headroomFraction() const {
    return valid ? 1.0 - usedFraction() : 1.0;
}

MachineState readMachineState(const ProcRoot& root, PassStatistics& stats) {
    MachineState state;
    char buf[8192];
    if (root.readFile("meminfo", buf, sizeof buf) > 0) {
        stats.meminfo = true;
        if (auto memory = parseMemInfo(buf)) {
            state.memory = *memory;
            state.valid = true;
        }
        state.shmemKiB = parseKiBField(buf, "Shmem:");
    }
    if (root.readFile("pressure/memory", buf, sizeof buf) > 0) {
        stats.pressure = true;
        state.pressure = parsePressure(buf);
    }
    if (state.valid) {
        state.level = classifyPressure(state.memory, state.pressure);
    }
    return state;
}

PressureLevel classifyPressure(const MemInfo& memory, const std::optional<Pressure>& pressure) {
    PressureLevel fromHeadroom = PressureLevel::normal;
    double headroom = memory.totalKiB == 0 ? 1.0
                                           : static_cast<double>(memory.availableKiB) /
                                                 static_cast<double>(memory.totalKiB);
    if (headroom < 0.05) {
        fromHeadroom = PressureLevel::critical;
    } else if (headroom < 0.10) {
        fromHeadroom = PressureLevel::high;
    } else if (headroom < 0.20) {
        fromHeadroom = PressureLevel::elevated;
    }
    PressureLevel fromStall = PressureLevel::normal;
    if (pressure) {
        if (pressure->someAvg10 >= 40 || pressure->fullAvg10 >= 10) {
            fromStall = PressureLevel::critical;
        } else if (pressure->someAvg10 >= 20 || pressure->fullAvg10 >= 5) {
            fromStall = PressureLevel::high;
        } else if (pressure->someAvg10 >= 5 || pressure->someAvg60 >= 2) {
            fromStall = PressureLevel::elevated;
        }
    }
    return std::max(fromHeadroom, fromStall);
}

std::string pressureLabel(PressureLevel level) {
    switch (level) {
    case PressureLevel::normal:
        return "Normal pressure";
    case PressureLevel::elevated:
        return "Elevated pressure";
    case PressureLevel::high:
        return "High pressure";
    case PressureLevel::critical:
        return "Critical pressure";
    }
    return "Normal pressure";
}

std::string headroomLabel(const MachineState& state) {
    if (!state.valid) {
        return "Headroom unavailable";
    }
    return formatKiB(state.memory.availableKiB) + " available of " +
           formatKiB(state.memory.totalKiB);
}

} // namespace velmora
