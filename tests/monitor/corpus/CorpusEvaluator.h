// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MemoryTrace.h"
#include "TraceViews.h"
#include "model/Enums.h"
#include "monitor/session/Tuning.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What the monitor said about one trace, replayed through the series store, the scorer and the
// runaway rule the sampler uses, with the trace's own clock.
struct TraceOutcome {
    MemoryTrace trace; // as seen from `view`
    TraceView view = TraceView::midLife;
    FindingVerdict peak = FindingVerdict::normal;
    std::optional<double> firstFlagged;    // first moment at "suspect" or above
    std::optional<double> firstWatch;      // first moment at "watch"
    std::optional<double> firstProbable;   // first moment at "probable" or above (it notifies)
    std::optional<double> firstMemberFlag; // first moment a member's own growth flagged it
    std::optional<double> stillFlaggedAt;  // after settling: flagged past the fall-back allowance
    // First flagged only "suspect" while the family alone would use up the memory left within
    // two hours: the verdict understates the danger.
    std::optional<double> understatedAt;
    // "criticalRunaway" while memory would last more than an hour at the family's real rate.
    std::optional<double> criticalWithoutRiskAt;
    std::optional<double> firstCritical;
    std::string lastExplanation;  // of the last verdict at "suspect" or above
    std::string firstFlagSignals; // the signals behind the first flag
    int flaps = 0; // times a flag was dropped and raised again: a verdict that comes and goes

    // Seconds from the leak's onset to its first flag.
    std::optional<double> delay() const;
    // A non-leak at "suspect" or above, or growth that stops by itself at "probable", which
    // notifies.
    bool falseAlarm() const;
    bool missed() const; // a leak not flagged by its deadline
    bool passed() const {
        return !falseAlarm() && !missed() && !stillFlaggedAt && !understatedAt &&
               !criticalWithoutRiskAt;
    }
    std::string describe() const;
};

// Time allowed, after growth stops, for the verdict to fall below "suspect".
constexpr double kFallBackSeconds = 6 * 60;

// The trace is sampled as the sampler would at the tuning's tick and suspect cadence.
TraceOutcome replayTrace(const MemoryTrace& trace, TraceView view, const Tuning& tuning);

// Per class and overall: traces (each seen from birth and from mid-life), recall at "suspect"
// or above, the worst delay from the onset in each view, false alarms (a non-leak at "suspect"
// or above at any moment; for growth that stops by itself, "probable"), noise (a non-leak at
// "watch"), flaps (a flag dropped and raised again) and runaways (traces that reached
// "criticalRunaway").
std::string corpusTable(const std::vector<TraceOutcome>& outcomes);

} // namespace velmora
