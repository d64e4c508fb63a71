// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SettingsSnapshot.h"

#include "base/SizeText.h"
#include "model/Codec.h"
#include "model/StorageModeFigures.h"

namespace velmora {

namespace {

// "every 30m", "every 1h".
std::string pruneEveryText(int minutes) {
    return minutes < 60 ? std::to_string(minutes) + "m" : std::to_string(minutes / 60) + "h";
}

StorageModeProfile profileOf(SettingsStorageMode mode, std::string_view label, int captureCap) {
    const auto& f = storageModeFigures(mode);
    const auto days = [](int count) { return std::to_string(count) + " days"; };
    return {label,
            formatKiB(f.totalBudgetMiB * 1024) + " total \u00b7 " +
                formatKiB(f.artifactBudgetMiB * 1024) + " artifacts \u00b7 " +
                formatKiB(f.exportBudgetMiB * 1024) + " exports",
            {"Artifacts: " + days(f.artifactDays) + " unless the local budget prunes earlier",
             "History: " + days(f.historyDays) + " for recurring incident memory",
             "Logs: " + days(f.logDays) + " for local troubleshooting",
             "Prune: on launch and every " + pruneEveryText(f.pruneEveryMinutes)},
            captureCap};
}

} // namespace

const StorageModeProfile& storageModeProfile(SettingsStorageMode mode) {
    static const std::array<StorageModeProfile, 3> kProfiles{
        profileOf(SettingsStorageMode::low, "Low storage", 1),
        profileOf(SettingsStorageMode::balanced, "Balanced storage", 2),
        profileOf(SettingsStorageMode::deepInvestigation, "Deep investigation storage", 5)};
    return kProfiles.at(static_cast<std::size_t>(mode));
}

std::vector<std::string> retentionLinesOf(SettingsStorageMode mode) {
    const auto& lines = storageModeProfile(mode).retentionLines;
    return {lines.begin(), lines.end()};
}

std::string evidenceCaptureLine(SettingsStorageMode mode, bool enabled) {
    if (!enabled) {
        return "Automatic evidence capture is off; capture starts only when you choose a proof or "
               "export action.";
    }
    const std::string cap = std::to_string(storageModeProfile(mode).captureCap);
    return "Wrapped dev sessions and pre-Force-Quit pressure assist may auto-capture local "
           "evidence, "
           "capped at " +
           cap + " per session and " + cap + " per process/day.";
}

SettingsSnapshot SettingsSnapshot::fallback() {
    return SettingsSnapshot{};
}

SettingsSnapshot SettingsSnapshot::updating(std::optional<SettingsStorageMode> mode,
                                            std::optional<bool> enabled) const {
    SettingsSnapshot copy = *this;
    copy.storageMode = mode.value_or(storageMode);
    copy.evidenceCaptureEnabled = enabled.value_or(evidenceCaptureEnabled);
    const auto& profile = storageModeProfile(copy.storageMode);
    copy.storageModeLabel = profile.label;
    copy.storageBudgetLine = profile.budgetLine;
    copy.retentionLines = retentionLinesOf(copy.storageMode);
    copy.evidenceCaptureLine =
        velmora::evidenceCaptureLine(copy.storageMode, copy.evidenceCaptureEnabled);
    return copy;
}

SettingsSnapshot decodeRecord(const Json& json, std::type_identity<SettingsSnapshot>) {
    static const SettingsSnapshot fallback = SettingsSnapshot::fallback();
    const ObjectReader in(json);
    // Later defaults depend on the mode and the capture flag, so those two come first.
    SettingsSnapshot out;
    out.storageMode = in.defaulted<SettingsStorageMode>("storageMode", fallback.storageMode);
    out.evidenceCaptureEnabled =
        in.defaulted<bool>("evidenceCaptureEnabled", fallback.evidenceCaptureEnabled);
    out.samplingLine = in.defaulted<std::string>("samplingLine", fallback.samplingLine);
    const auto& profile = storageModeProfile(out.storageMode);
    out.storageModeLabel = in.defaulted<std::string>("storageModeLabel", profile.label);
    out.storageBudgetLine = in.defaulted<std::string>("storageBudgetLine", profile.budgetLine);
    out.retentionLines = in.defaulted<std::vector<std::string>>(
        "retentionLines", [&] { return retentionLinesOf(out.storageMode); });
    out.evidenceCaptureLine = in.defaulted<std::string>("evidenceCaptureLine", [&] {
        return velmora::evidenceCaptureLine(out.storageMode, out.evidenceCaptureEnabled);
    });
    out.safetyLine = in.defaulted<std::string>("safetyLine", fallback.safetyLine);
    out.workspaceScopeLine =
        in.defaulted<std::string>("workspaceScopeLine", fallback.workspaceScopeLine);
    return out;
}

Json encodeRecord(const SettingsSnapshot& value) {
    return ObjectWriter()
        .field("samplingLine", value.samplingLine)
        .field("storageMode", value.storageMode)
        .field("storageModeLabel", value.storageModeLabel)
        .field("storageBudgetLine", value.storageBudgetLine)
        .field("retentionLines", value.retentionLines)
        .field("evidenceCaptureEnabled", value.evidenceCaptureEnabled)
        .field("evidenceCaptureLine", value.evidenceCaptureLine)
        .field("safetyLine", value.safetyLine)
        .field("workspaceScopeLine", value.workspaceScopeLine)
        .done();
}

} // namespace velmora
