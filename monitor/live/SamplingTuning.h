// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// How often the sampler reads what, and what it publishes besides scores. The defaults are the
// production values; the "tuning" object in config.json can shorten them.
struct SamplingTuning {
    double sampleIntervalSeconds = 1.0;    // enumeration tick: list /proc, read statm
    double suspectDetailSeconds = 2.0;     // smaps_rollup for active suspects
    double backgroundDetailSeconds = 10.0; // stat (CPU), descriptors; status if statm moved
    double quietDetailSeconds = 60.0;      // ... for processes that did not run since the last
    // How often the descriptors of a process that did not run are looked at (memory held by a
    // memfd grows without a fault or a whole CPU tick); never less than the background period.
    double quietHeldSeconds = 10.0;
    // Between ticks longer than this, the statm of families at watch or above is read this
    // often, and each tick records the median of those reads: a slow tick (the headless
    // monitor's 10 s) judges suspects from as steady a series as the desktop's 1 s tick.
    double suspectSampleSeconds = 1.0;
    int sparklineBuckets = 60;
    double recentFindingSeconds = 3600.0; // suspects that left the rows stay this long

    bool operator==(const SamplingTuning&) const = default;
};

} // namespace velmora
