// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/DetailSnapshot.h"
#include "model/Enums.h"
#include "model/FindingSnapshot.h"
#include "model/IncidentSnapshot.h"
#include "model/MemoryOutlookSnapshot.h"
#include "model/ReliefPlanSnapshot.h"
#include "model/SettingsSnapshot.h"
#include "model/StatusCodes.h"
#include "model/TrustAccessSnapshot.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The memory-state header. Every key is required; the initialisers are the placeholder a
// snapshot without a header shows.
struct SystemStateSnapshot {
    std::string pressureLabel = "Memory state unavailable";
    std::string headroomLabel = "Headroom unavailable";
    std::string scopeLabel = "Process scan pending";
    double usedMemoryFraction = 0.0;
    // The pill, headroom and scope as codes and figures, from a monitor that sends them.
    std::optional<SystemStateCodes> codes;

    bool operator==(const SystemStateSnapshot&) const = default;
};

// The footer chips. Every key is required; the initialisers are the placeholder.
struct FooterTelemetrySnapshot {
    std::string storageText = "Storage unavailable";
    std::string pruneText = "Prune unavailable";
    // The chips' figures, from a monitor that sends them.
    std::optional<FooterCodes> codes;

    bool operator==(const FooterTelemetrySnapshot&) const = default;
};

// Progress of the first scan after launch. Every key is required.
struct BootstrapScanSnapshot {
    bool active = false;
    bool historyRefining = false;
    int64_t watchedProcessCount = 0;

    bool operator==(const BootstrapScanSnapshot&) const = default;
};

// The result of the latest user action; a different `id` is a new event. Every key is required.
struct ActionFeedbackSnapshot {
    std::string id;
    ActionFeedbackKind kind = ActionFeedbackKind::success;
    std::string title;
    std::string message;
    // The title and message as a code and figures, from a monitor that sends them.
    std::optional<FeedbackCodes> codes = std::nullopt;
    // Where the message is why heap tracking could not be done or finish: its sentences.
    std::vector<WhereFailureCodes> whereFailure{};

    bool operator==(const ActionFeedbackSnapshot&) const = default;
};

// A destructive action waiting for the user's confirmation. Every key is required.
struct DestructiveConfirmationSnapshot {
    std::string title;
    std::string message;
    ActionDescriptor confirmAction;
    ActionDescriptor cancelAction;
    // The title and message as a code and figures, from a monitor that sends them.
    std::optional<ConfirmationCodes> codes = std::nullopt;

    bool operator==(const DestructiveConfirmationSnapshot&) const = default;
};

// The whole live state in one backend answer. Every key is defaulted or optional, so `{}` is
// a valid snapshot; a default-constructed value is that calm all-clear placeholder.
struct PopoverSnapshot {
    SnapshotTone globalTone = SnapshotTone::allClear;
    std::string summaryText = "ALL CLEAR";
    // The summary strip as a code and a count, from a monitor that sends them.
    std::optional<SummaryCodes> summaryCode;
    uint64_t refreshIntervalMs = 1000;
    SystemStateSnapshot systemState;
    FooterTelemetrySnapshot footerTelemetry;
    std::optional<ReliefPlanSnapshot> relief;
    std::optional<ActionFeedbackSnapshot> actionFeedback;
    BootstrapScanSnapshot bootstrapScan;
    SettingsSnapshot settings = SettingsSnapshot::fallback();
    IncidentSnapshot incident = IncidentSnapshot::fallback();
    std::vector<FindingSnapshot> rows;
    std::vector<RecentFindingSnapshot> recentFindings;
    TrustAccessSnapshot trustAccess;
    std::optional<DetailSnapshot> selectedDetail;
    std::optional<DestructiveConfirmationSnapshot> destructiveConfirmation;
    // Present only when the monitor's sampler has not completed a pass for three ticks: how
    // long ago it last completed one (or started, before the first), in milliseconds. The rows
    // are then as old as that.
    std::optional<uint64_t> samplingStalledMs;
    // Present when the monitor knows when memory runs out or who the kernel would end first.
    std::optional<MemoryForecastSnapshot> memoryForecast;
    // Processes of watched families ended by the out-of-memory killer in the last hour.
    std::vector<OutOfMemoryKillSnapshot> outOfMemoryKills;

    bool operator==(const PopoverSnapshot&) const = default;
};

} // namespace velmora
