#include "model/SettingsSnapshot.h"

#include "model/Codec.h"

namespace velmora {

namespace {

constexpr std::array<StorageModeProfile, 3> kProfiles{{
    {
        "Low storage",
        "128.0 MB total \u00b7 64.0 MB artifacts \u00b7 24.0 MB exports",
        {"Artifacts: 3 days unless the local budget prunes earlier",
         "History: 7 days for recurring incident memory", "Logs: 3 days for local troubleshooting",
         "Prune: on launch and every 30m"},
        1,
    },
    {
        "Balanced storage",
        "512.0 MB total \u00b7 384.0 MB artifacts \u00b7 48.0 MB exports",
        {"Artifacts: 14 days unless the local budget prunes earlier",
         "History: 30 days for recurring incident memory", "Logs: 7 days for local troubleshooting",
         "Prune: on launch and every 1h"},
        2,
    },
    {
        "Deep investigation storage",
        "2.0 GB total \u00b7 1.5 GB artifacts \u00b7 192.0 MB exports",
        {"Artifacts: 30 days unless the local budget prunes earlier",
         "History: 90 days for recurring incident memory",
         "Logs: 14 days for local troubleshooting", "Prune: on launch and every 2h"},
        5,
    },
}};

} // namespace

const StorageModeProfile& storageModeProfile(SettingsStorageMode mode) {
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
