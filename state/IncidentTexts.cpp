// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/IncidentTexts.h"

#include "base/DurationText.h"
#include "base/SizeText.h"
#include "state/ReasonTexts.h"

namespace velmora {

std::string stageText(IncidentStage stage) {
    switch (stage) {
    case IncidentStage::normal:
        return "Normal";
    case IncidentStage::watch:
        return "Watch";
    case IncidentStage::suspicious:
        return "Suspicious";
    case IncidentStage::strongSignal:
        return "Strong signal";
    case IncidentStage::evidenceRunning:
        return "Capturing evidence";
    case IncidentStage::evidenceCaptured:
        return "Evidence captured";
    case IncidentStage::actionTaken:
        return "Action taken";
    }
    return "Normal";
}

std::optional<std::string> decisionText(const CodeFigures& decision) {
    if (!decision.verdict || !decision.verdict->known) {
        return std::nullopt;
    }
    const std::string rate = decision.rateKiBPerSecond
                                 ? rateText(*decision.rateKiBPerSecond * 60.0 / 1024.0)
                                 : std::string("N/A");
    return verdictText(*decision.verdict->known) + " at " + rate;
}

std::optional<std::string> causeText(const OpenCode<CauseCode>& cause) {
    if (!cause.known) {
        return std::nullopt;
    }
    switch (*cause.known) {
    case CauseCode::idleGrowth:
        return "Memory rises while the app is idle, typical of a leak";
    case CauseCode::steadyGrowth:
        return "Steady growth that is not released again";
    }
    return std::nullopt;
}

std::optional<std::string> historyText(const Coded<HistoryCode>& history) {
    if (!history.code.known) {
        return std::nullopt;
    }
    const CodeFigures& f = history.figures;
    switch (*history.code.known) {
    case HistoryCode::unavailable:
        return "History unavailable";
    case HistoryCode::noIncidents:
        return "No incidents in 30d";
    case HistoryCode::incidents: {
        if (!f.count || !f.score) {
            return std::nullopt;
        }
        std::string line =
            std::to_string(*f.count) + (*f.count == 1 ? " incident" : " incidents") + " in 30d";
        if (f.criticalCount && *f.criticalCount > 0) {
            line += "; " + std::to_string(*f.criticalCount) + " critical";
        }
        return line + "; peak score " + std::to_string(*f.score);
    }
    case HistoryCode::typicalThisSession:
        if (!f.typicalKiB) {
            return std::nullopt;
        }
        return "Typical footprint " + formatKiB(*f.typicalKiB) + " this session";
    }
    return std::nullopt;
}

std::optional<std::string> changeText(const CodeFigures& change) {
    if (!change.growthKiB || !change.seconds) {
        return std::nullopt;
    }
    return formatKiB(*change.growthKiB) + " more over " + spanText(*change.seconds);
}

std::optional<std::string> nextStepText(const OpenCode<NextStepCode>& step) {
    if (!step.known) {
        return std::nullopt;
    }
    switch (*step.known) {
    case NextStepCode::captureEvidence:
        return "Capture smaps_rollup, status and the largest anonymous mappings before acting";
    case NextStepCode::restartGracefully:
        return "Restart it gracefully to give the memory back";
    case NextStepCode::protectedSession:
        return "This belongs to the desktop session; Velmora will not signal it";
    }
    return std::nullopt;
}

} // namespace velmora
