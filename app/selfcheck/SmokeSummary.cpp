// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/selfcheck/SmokeSummary.h"

#include "model/Enums.h"

#include <nlohmann/json.hpp>

namespace velmora {

SmokeSummary SmokeSummary::from(const PopoverSnapshot& snapshot, bool menuBarButtonPresent,
                                bool popoverShown) {
    SmokeSummary summary;
    const auto& incident = snapshot.incident;
    summary.globalTone = std::string(toWire(snapshot.globalTone));
    summary.rowCount = static_cast<int64_t>(snapshot.rows.size());
    summary.incidentStage = std::string(toWire(incident.stage));
    summary.incidentHeadline = incident.headline;
    summary.incidentSuspectTitle = incident.suspectTitle;
    summary.incidentDecisionLine = incident.decisionLine;
    summary.incidentEvidenceLabel = incident.evidenceLabel;
    if (incident.nextAction) {
        summary.incidentNextActionID = incident.nextAction->id;
    }
    summary.incidentPrimaryMetricCount = static_cast<int64_t>(incident.primaryMetrics.size());
    summary.hasSelectedDetail = snapshot.selectedDetail.has_value();
    summary.hasConfirmation = snapshot.destructiveConfirmation.has_value();
    summary.menuBarButtonPresent = menuBarButtonPresent;
    summary.popoverShown = popoverShown;
    return summary;
}

std::string SmokeSummary::encode() const {
    nlohmann::ordered_json json;
    const auto optional = [&json](const char* key, const auto& value) {
        if (value) {
            json[key] = *value;
        }
    };
    json["globalTone"] = globalTone;
    json["rowCount"] = rowCount;
    json["incidentStage"] = incidentStage;
    json["incidentHeadline"] = incidentHeadline;
    json["incidentSuspectTitle"] = incidentSuspectTitle;
    optional("incidentDecisionLine", incidentDecisionLine);
    json["incidentEvidenceLabel"] = incidentEvidenceLabel;
    optional("incidentNextActionID", incidentNextActionID);
    json["incidentPrimaryMetricCount"] = incidentPrimaryMetricCount;
    json["hasSelectedDetail"] = hasSelectedDetail;
    json["hasConfirmation"] = hasConfirmation;
    json["menuBarButtonPresent"] = menuBarButtonPresent;
    json["popoverShown"] = popoverShown;
    json["advancedHistoryShown"] = advancedHistoryShown;
    json["historicalOffenderCount"] = historicalOffenderCount;
    json["historicalDetailShown"] = historicalDetailShown;
    json["actionFeedbackShown"] = actionFeedbackShown;
    optional("actionFeedbackTitle", actionFeedbackTitle);
    optional("recoveryTargetExited", recoveryTargetExited);
    return json.dump();
}

} // namespace velmora
