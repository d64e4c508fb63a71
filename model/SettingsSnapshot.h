// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The texts and capture cap of one storage mode; the budget and retention lines are written
// from the mode's figures (model/StorageModeFigures.h).
struct StorageModeProfile {
    std::string_view label;
    std::string budgetLine;
    std::array<std::string, 4> retentionLines;
    int captureCap;
};

const StorageModeProfile& storageModeProfile(SettingsStorageMode mode);

// The mode's four retention lines as strings.
std::vector<std::string> retentionLinesOf(SettingsStorageMode mode);

// The sentence describing automatic evidence capture in `mode`.
std::string evidenceCaptureLine(SettingsStorageMode mode, bool enabled);

// The backend's current settings. Every key is defaulted; per-mode texts default to the
// decoded mode's texts. A default-constructed value equals fallback().
struct SettingsSnapshot {
    std::string samplingLine =
        "Enumerates every 1s; active suspects every 2s; background targets every 10s.";
    SettingsStorageMode storageMode = SettingsStorageMode::balanced;
    std::string storageModeLabel{storageModeProfile(SettingsStorageMode::balanced).label};
    std::string storageBudgetLine{storageModeProfile(SettingsStorageMode::balanced).budgetLine};
    std::vector<std::string> retentionLines = retentionLinesOf(SettingsStorageMode::balanced);
    bool evidenceCaptureEnabled = true;
    std::string evidenceCaptureLine =
        velmora::evidenceCaptureLine(SettingsStorageMode::balanced, true);
    std::string safetyLine =
        "Auto-manage is off; restart, recover, and force quit stay user-triggered.";
    std::string workspaceScopeLine =
        "Workspace attribution uses process paths, parent trees, and command-line hints.";

    static SettingsSnapshot fallback();

    // A copy for an optimistic local change: the per-mode texts and the evidence line follow
    // the resulting mode and flag; the sampling, safety and workspace lines are kept.
    SettingsSnapshot updating(std::optional<SettingsStorageMode> mode,
                              std::optional<bool> evidenceCaptureEnabled) const;

    bool operator==(const SettingsSnapshot&) const = default;
};

} // namespace velmora
