// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <time.h>

namespace velmora {

// Where one sampling pass spent the sampling thread's CPU time, in seconds, phase by phase.
struct PassCost {
    double listing = 0;    // listing /proc and dropping the processes that left it
    double memory = 0;     // statm of the known processes, and what a change there calls for
    double discovery = 0;  // new processes: who they are, their first reads, their family
    double background = 0; // swap, CPU time and shared memory at their slower cadences
    double details = 0;    // smaps_rollup of the suspects
    double machine = 0;    // meminfo, pressure, out-of-memory kill counters
    double forecast = 0;   // out-of-memory scores and the daemon look-up
    double series = 0;     // families' and members' series, kills seen
    double scoring = 0;    // judgements, the runaway rule, retiring families
    double publishing = 0; // the view the answers are composed from

    double total() const {
        return listing + memory + discovery + background + details + machine + forecast + series +
               scoring + publishing;
    }
};

// This thread's CPU time in seconds.
inline double threadCpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Measures consecutive phases: each lap() returns the thread CPU time since the previous one.
class CpuLaps {
public:
    double lap() {
        const double now = threadCpuSeconds();
        const double spent = now - last_;
        last_ = now;
        return spent;
    }

private:
    double last_ = threadCpuSeconds();
};

} // namespace velmora
