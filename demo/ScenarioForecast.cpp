// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"
#include "demo/ScenarioParts.h"

namespace velmora::ScenarioLibrary {

using namespace parts;

namespace {

constexpr const char* firstVictimText = "First to be ended if memory runs out: Chrome, 5.6 GB";
constexpr const char* killerText =
    "earlyoom ends the largest process below 10% available memory and 10% free swap";

FindingSnapshot drainingChromeRow() {
    FindingSnapshot row = chromeRow();
    row.rate = "+61.4 MB/min";
    row.sparklineSamples = {4520, 4580, 4650, 4710, 4780, 4840, 4910,
                            4970, 5040, 5100, 5170, 5230, 5300, 5360};
    row.explanation = "Probable leak. 18m of steady growth while the window sat idle.";
    row.exhaustionEstimate = "Memory runs out in about 40 min at this rate";
    row.footprintLabel = "5.6 GB";
    row.growthSpanLabel = "18 min";
    return row;
}

IncidentSnapshot drainingChromeIncident() {
    IncidentSnapshot value = chromeStrongSignalIncident();
    value.impactLine = "Memory runs out in about 40 min at this rate.";
    value.metricLine = "5.6 GB footprint, +61.4 MB/min over 18m";
    value.primaryMetrics = {
        {"Footprint", "5.6 GB"}, {"Growth", "+61.4 MB/min"}, {"Runs out", "~40 min"}};
    value.changeLine = "Changed: 18m trend +61.4 MB/min; memory runs out in about 40 min";
    value.timeline.back() = {"Now", "Strong signal", "5.6 GB, +61.4 MB/min.",
                             TimelineTone::neutral};
    return value;
}

ReliefPlanSnapshot forecastRelief() {
    return ReliefPlanSnapshot{
        ReliefUrgencyTone::actNow,
        "Memory runs out in ~40 min",
        std::string("Memory runs out in about 40 min at this rate. Quitting the recommended apps "
                    "gracefully gives their memory back. ") +
            firstVictimText + ". " + killerText + ".",
        "High pressure",
        "Free 4.8 GB to get back to 20% headroom",
        "About 5.6 GB back",
        1,
        {
            {chromeKey, "Chrome", "5.6 GB",
             "Probable leak at +61.4 MB/min \u00B7 first to be ended if memory runs out", true,
             quitAction("Chrome", chromeKey)},
            {cargoKey, "cargo run", "1.3 GB", "Largest footprint, not growing", false,
             quitAction("cargo run", cargoKey)},
        }};
}

} // namespace

const PopoverSnapshot& memoryForecast() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value =
            baseSnapshot("Runs out in ~40 min", "Storage 640 MB", "Last prune 15m ago");
        value.systemState.pressureLabel = "High pressure";
        value.systemState.headroomLabel = "1.6 GB available of 32.0 GB";
        value.systemState.usedMemoryFraction = 0.95;
        value.globalTone = SnapshotTone::suspect;
        value.summaryText = "1 SUSPECTED LEAK";
        value.incident = drainingChromeIncident();
        value.rows = {drainingChromeRow(), cargoRow()};
        value.relief = forecastRelief();
        value.memoryForecast = MemoryForecastSnapshot{
            .exhaustionSeconds = 2400,
            .exhaustionText = "Memory runs out in about 40 min at this rate",
            .firstVictimKey = chromeKey,
            .firstVictimText = firstVictimText,
            .killerText = killerText,
        };
        return value;
    }();
    return snapshot;
}

} // namespace velmora::ScenarioLibrary
