// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "model/DetailSnapshot.h"
#include "model/Enums.h"
#include "model/IncidentSnapshot.h"
#include "model/PopoverSnapshot.h"

#include <string>
#include <string_view>
#include <vector>

// Canned snapshots for the mock backend, the demo modes, the self-checks, the stdio client's
// placeholder and the screenshot gallery. Every value is built once, on first use, and never
// changes. All snapshots poll every 1000 ms, use 75 % of memory with "8.0 GB available of
// 32.0 GB" and "Normal pressure", and carry the default trust-and-access description.
namespace velmora::ScenarioLibrary {

// Nothing suspicious: the calm placeholder.
const PopoverSnapshot& allClear();
// Chrome and adapter-os are suspected; the incident is Chrome's strong signal.
const PopoverSnapshot& suspect();
// The two suspects of suspect() plus a wrapped "cargo run" target, with a relief plan.
const PopoverSnapshot& multiRowSuspect();
// suspect() with Chrome's detail already open.
const PopoverSnapshot& detailOpened();
// Two recurring offenders, Chrome and WindowServer, without a selected detail.
const AdvancedHistorySnapshot& advancedHistory();

// Demo states the scenarios above never reach.
// Chrome has turned critical (coming from suspect() it is a newly critical row); a critical
// relief plan proposes what to stop.
const PopoverSnapshot& criticalRunaway();
// One process on watch, nothing suspected yet; recent findings from earlier in the day.
const PopoverSnapshot& watchOnly();
// suspect() with Chrome's detail open and a force quit waiting for confirmation.
const PopoverSnapshot& pendingConfirmation();
// suspect() right after a restart of Chrome: the feedback banner and the outcome.
const PopoverSnapshot& actionFeedback();
// The first scan after launch is still running.
const PopoverSnapshot& firstScan();
// The list layout (no incident has formed): three processes on watch, each with its
// sparkline and curvature, and recent findings.
const PopoverSnapshot& listWatch();
// The list layout under a critical tone: Chrome, a critical renderer with a long name and a
// fast rate, and cargo run; recent findings below.
const PopoverSnapshot& listSuspects();
// Memory runs out within the hour: the header says when, and an act-now relief plan names
// Chrome as the process the kernel would end first and earlyoom as the daemon that would.
const PopoverSnapshot& memoryForecast();

// detailOpened() while heap tracking of Chrome counts down; once it found where Chrome's memory
// grows (two sites with their stacks); and when the kernel's ptrace rule refuses the attach
// (the reason, the command to run with the rights it needs, the restart under tracking).
const PopoverSnapshot& whereTracking();
const PopoverSnapshot& whereItGrows();
const PopoverSnapshot& whereRefused();

// The two incidents the scenarios use.
const IncidentSnapshot& allClearIncident();
const IncidentSnapshot& chromeStrongSignalIncident();

// The drill-down of one finding: Chrome's texts for "com.google.Chrome", the key itself as
// title otherwise; severity critical selects the critical-runaway variant.
DetailSnapshot detail(const std::string& key, FindingSeverity severity);
// The memory a detail charts: an hour of a leak that began 45 minutes ago at the severity's
// rate, with its verdict changes (and, when critical, where memory runs out); and a warm-up
// that rose and levelled off, calm again.
MemorySeries leakingSeries(FindingSeverity severity);
MemorySeries warmUpSeries();
// A family whose workers come and go while one member (PID 4242, "worker") grows on its own.
MemorySeries growingMemberSeries();
// Thirty days of Chrome's memory in the history: growth after each restart, its incidents and
// an out-of-memory kill.
MemorySeries offenderMonthSeries();
// criticalRunaway() with the runaway's detail open: its chart reaches the moment memory runs
// out. suspect() with the detail of a family whose warm-up levelled off.
const PopoverSnapshot& detailRunaway();
const PopoverSnapshot& detailWarmUp();
// suspect() with the detail of a family whose growing member the chart can show on its own.
const PopoverSnapshot& detailGrowingMember();

// advancedHistory() with a selected offender detail: Chrome's for "com.google.Chrome",
// WindowServer's (carrying `key` unchanged) for any other key.
AdvancedHistorySnapshot advancedHistoryDetail(const std::string& key);

// The message of the force-quit confirmation for a target.
std::string forceQuitConfirmationMessage(const std::string& targetKey);
// The confirmation the mock raises for "request_force_quit".
DestructiveConfirmationSnapshot forceQuitConfirmation(const std::string& targetKey);

struct NamedScenario {
    std::string_view name;
    const PopoverSnapshot& snapshot;
};

// Every named snapshot, in a stable order, for the gallery: allClear, suspect,
// multiRowSuspect, detailOpened, criticalRunaway, watchOnly, pendingConfirmation,
// actionFeedback, firstScan, listWatch, listSuspects, memoryForecast, whereTracking,
// whereItGrows, whereRefused, detailRunaway, detailWarmUp.
const std::vector<NamedScenario>& allScenarios();

} // namespace velmora::ScenarioLibrary
