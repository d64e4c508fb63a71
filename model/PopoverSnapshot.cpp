// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PopoverSnapshot.h"

#include "model/Codec.h"

namespace velmora {

SystemStateSnapshot decodeRecord(const Json& json, std::type_identity<SystemStateSnapshot>) {
    const ObjectReader in(json);
    return {
        .pressureLabel = in.required<std::string>("pressureLabel"),
        .headroomLabel = in.required<std::string>("headroomLabel"),
        .scopeLabel = in.required<std::string>("scopeLabel"),
        .usedMemoryFraction = in.required<double>("usedMemoryFraction"),
        .codes = in.optional<SystemStateCodes>("codes"),
    };
}

Json encodeRecord(const SystemStateSnapshot& value) {
    return ObjectWriter()
        .field("pressureLabel", value.pressureLabel)
        .field("headroomLabel", value.headroomLabel)
        .field("scopeLabel", value.scopeLabel)
        .field("usedMemoryFraction", value.usedMemoryFraction)
        .field("codes", value.codes)
        .done();
}

FooterTelemetrySnapshot decodeRecord(const Json& json,
                                     std::type_identity<FooterTelemetrySnapshot>) {
    const ObjectReader in(json);
    return {.storageText = in.required<std::string>("storageText"),
            .pruneText = in.required<std::string>("pruneText"),
            .codes = in.optional<FooterCodes>("codes")};
}

Json encodeRecord(const FooterTelemetrySnapshot& value) {
    return ObjectWriter()
        .field("storageText", value.storageText)
        .field("pruneText", value.pruneText)
        .field("codes", value.codes)
        .done();
}

BootstrapScanSnapshot decodeRecord(const Json& json, std::type_identity<BootstrapScanSnapshot>) {
    const ObjectReader in(json);
    return {
        .active = in.required<bool>("active"),
        .historyRefining = in.required<bool>("historyRefining"),
        .watchedProcessCount = in.required<int64_t>("watchedProcessCount"),
    };
}

Json encodeRecord(const BootstrapScanSnapshot& value) {
    return ObjectWriter()
        .field("active", value.active)
        .field("historyRefining", value.historyRefining)
        .field("watchedProcessCount", value.watchedProcessCount)
        .done();
}

ActionFeedbackSnapshot decodeRecord(const Json& json, std::type_identity<ActionFeedbackSnapshot>) {
    const ObjectReader in(json);
    return {
        .id = in.required<std::string>("id"),
        .kind = in.required<ActionFeedbackKind>("kind"),
        .title = in.required<std::string>("title"),
        .message = in.required<std::string>("message"),
        .codes = in.optional<FeedbackCodes>("codes"),
        .whereFailure = in.defaulted<std::vector<WhereFailureCodes>>(
            "whereFailure", std::vector<WhereFailureCodes>{}),
    };
}

Json encodeRecord(const ActionFeedbackSnapshot& value) {
    ObjectWriter out;
    out.field("id", value.id)
        .field("kind", value.kind)
        .field("title", value.title)
        .field("message", value.message)
        .field("codes", value.codes);
    if (!value.whereFailure.empty()) {
        out.field("whereFailure", value.whereFailure);
    }
    return out.done();
}

DestructiveConfirmationSnapshot decodeRecord(const Json& json,
                                             std::type_identity<DestructiveConfirmationSnapshot>) {
    const ObjectReader in(json);
    return {
        .title = in.required<std::string>("title"),
        .message = in.required<std::string>("message"),
        .confirmAction = in.required<ActionDescriptor>("confirmAction"),
        .cancelAction = in.required<ActionDescriptor>("cancelAction"),
        .codes = in.optional<ConfirmationCodes>("codes"),
    };
}

Json encodeRecord(const DestructiveConfirmationSnapshot& value) {
    return ObjectWriter()
        .field("title", value.title)
        .field("message", value.message)
        .field("confirmAction", value.confirmAction)
        .field("cancelAction", value.cancelAction)
        .field("codes", value.codes)
        .done();
}

PopoverSnapshot decodeRecord(const Json& json, std::type_identity<PopoverSnapshot>) {
    const ObjectReader in(json);
    return {
        .globalTone = in.defaulted<SnapshotTone>("globalTone", SnapshotTone::allClear),
        .summaryText = in.defaulted<std::string>("summaryText", "ALL CLEAR"),
        .summaryCode = in.optional<SummaryCodes>("summaryCode"),
        .refreshIntervalMs = in.defaulted<uint64_t>("refreshIntervalMs", uint64_t{1000}),
        .systemState =
            in.defaulted<SystemStateSnapshot>("systemState", [] { return SystemStateSnapshot{}; }),
        .footerTelemetry = in.defaulted<FooterTelemetrySnapshot>(
            "footerTelemetry", [] { return FooterTelemetrySnapshot{}; }),
        .relief = in.optional<ReliefPlanSnapshot>("relief"),
        .actionFeedback = in.optional<ActionFeedbackSnapshot>("actionFeedback"),
        .bootstrapScan =
            in.defaulted<BootstrapScanSnapshot>("bootstrapScan", BootstrapScanSnapshot{}),
        .settings = in.defaulted<SettingsSnapshot>("settings", &SettingsSnapshot::fallback),
        .incident = in.defaulted<IncidentSnapshot>("incident", &IncidentSnapshot::fallback),
        .rows = in.defaulted<std::vector<FindingSnapshot>>("rows", std::vector<FindingSnapshot>{}),
        .recentFindings = in.defaulted<std::vector<RecentFindingSnapshot>>(
            "recentFindings", std::vector<RecentFindingSnapshot>{}),
        .trustAccess =
            in.defaulted<TrustAccessSnapshot>("trustAccess", [] { return TrustAccessSnapshot{}; }),
        .selectedDetail = in.optional<DetailSnapshot>("selectedDetail"),
        .destructiveConfirmation =
            in.optional<DestructiveConfirmationSnapshot>("destructiveConfirmation"),
        .samplingStalledMs = in.optional<uint64_t>("samplingStalledMs"),
        .memoryForecast = in.optional<MemoryForecastSnapshot>("memoryForecast"),
        .outOfMemoryKills = in.defaulted<std::vector<OutOfMemoryKillSnapshot>>(
            "outOfMemoryKills", std::vector<OutOfMemoryKillSnapshot>{}),
    };
}

Json encodeRecord(const PopoverSnapshot& value) {
    return ObjectWriter()
        .field("globalTone", value.globalTone)
        .field("summaryText", value.summaryText)
        .field("summaryCode", value.summaryCode)
        .field("refreshIntervalMs", value.refreshIntervalMs)
        .field("systemState", value.systemState)
        .field("footerTelemetry", value.footerTelemetry)
        .field("relief", value.relief)
        .field("actionFeedback", value.actionFeedback)
        .field("bootstrapScan", value.bootstrapScan)
        .field("settings", value.settings)
        .field("incident", value.incident)
        .field("rows", value.rows)
        .field("recentFindings", value.recentFindings)
        .field("trustAccess", value.trustAccess)
        .field("selectedDetail", value.selectedDetail)
        .field("destructiveConfirmation", value.destructiveConfirmation)
        .field("samplingStalledMs", value.samplingStalledMs)
        .field("memoryForecast", value.memoryForecast)
        .field("outOfMemoryKills", value.outOfMemoryKills)
        .done();
}

} // namespace velmora
