// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The relief plan's texts, each written together with the code and figures the app composes it
// from, so the two cannot drift.

#include "model/ReliefPlanSnapshot.h"
#include "monitor/live/LiveView.h"

#include <cstdint>
#include <optional>

namespace velmora {

// "Memory runs out in ~40 min" while a forecast is stated, else "Memory is getting tight" when
// the plan only advises and "Free memory now" when it asks to act.
void setReliefHeadline(ReliefPlanSnapshot& plan, std::optional<double> runsOutSeconds);

// "High pressure".
void setReliefPressure(ReliefPlanSnapshot& plan, PressureLevel level);

// "Free 1.5 GB to get back to 20% headroom", or "Headroom is back above 20%".
void setReliefTarget(ReliefPlanSnapshot& plan, const MachineState& machine, double targetFraction);

// "About 2.6 GB back": what quitting the recommended candidates gives.
void setReliefReclaim(ReliefPlanSnapshot& plan, uint64_t reclaimKiB);

// What happens if nothing is done and what the plan advises: when memory runs out, quitting
// the recommended apps (or that none holds enough to matter), who the kernel ends first and,
// with a forecast, which out-of-memory daemon acts and how many kills the machine has seen.
// Set after the candidates.
void setReliefSummary(ReliefPlanSnapshot& plan, const LiveView& view,
                      std::optional<double> runsOutSeconds);

// A candidate's footprint ("3.2 GB") and detail: "Suspected leak at +8.2 MB/min" for a
// suspect, else "Largest footprint, not growing", with " · first to be ended if memory runs
// out" when the kernel would end it first.
void setCandidateTexts(ReliefCandidateSnapshot& candidate, const FamilyView& family, bool suspect,
                       bool endedFirst);

} // namespace velmora
