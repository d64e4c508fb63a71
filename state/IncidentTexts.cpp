// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/IncidentTexts.h"

#include "base/Translate.h"
#include "state/LocalFigures.h"
#include "state/ReasonTexts.h"

#include <algorithm>

namespace velmora {

std::string stageText(IncidentStage stage) {
    switch (stage) {
    case IncidentStage::normal:
        //: The stage of a memory incident, in its pill.
        return translate("IncidentStage", "Normal");
    case IncidentStage::watch:
        return translate("IncidentStage", "Watch");
    case IncidentStage::suspicious:
        return translate("IncidentStage", "Suspicious");
    case IncidentStage::strongSignal:
        return translate("IncidentStage", "Strong signal");
    case IncidentStage::evidenceRunning:
        return translate("IncidentStage", "Capturing evidence");
    case IncidentStage::evidenceCaptured:
        return translate("IncidentStage", "Evidence captured");
    case IncidentStage::actionTaken:
        return translate("IncidentStage", "Action taken");
    }
    return translate("IncidentStage", "Normal");
}

std::optional<std::string> decisionText(const CodeFigures& decision) {
    if (!decision.verdict || !decision.verdict->known) {
        return std::nullopt;
    }
    const std::string rate = decision.rateKiBPerSecond ? localRate(*decision.rateKiBPerSecond)
                                                       //: No growth rate measured yet.
                                                       : translate("IncidentTexts", "N/A");
    //: The incident's decision: a verdict at a growth rate, as in "Probable leak at +8.2 MB/min".
    return withArguments(translate("IncidentTexts", "%1 at %2"),
                         {verdictText(*decision.verdict->known), rate});
}

std::optional<std::string> causeText(const OpenCode<CauseCode>& cause) {
    if (!cause.known) {
        return std::nullopt;
    }
    switch (*cause.known) {
    case CauseCode::idleGrowth:
        return translate("IncidentTexts", "Memory rises while the app is idle, typical of a leak");
    case CauseCode::steadyGrowth:
        return translate("IncidentTexts", "Steady growth that is not released again");
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
        return translate("IncidentTexts", "History unavailable");
    case HistoryCode::noIncidents:
        //: "30d" is the last 30 days.
        return translate("IncidentTexts", "No incidents in 30d");
    case HistoryCode::incidents: {
        if (!f.count || !f.score) {
            return std::nullopt;
        }
        // Exactly one has a text of its own, so English reads right without a catalogue.
        const int count = pluralCount(*f.count);
        const std::string incidents =
            count == 1 ? translate("IncidentTexts", "1 incident in 30d")
                       //: How many incidents the application had over the last 30 days.
                       : translate("IncidentTexts", "%n incidents in 30d", nullptr, count);
        const std::string score = std::to_string(*f.score);
        if (f.criticalCount && *f.criticalCount > 0) {
            //: %1 is the incidents ("3 incidents in 30d"), %2 how many were critical, %3 the
            //: highest score.
            return withArguments(translate("IncidentTexts", "%1; %2 critical; peak score %3"),
                                 {incidents, std::to_string(*f.criticalCount), score});
        }
        //: %1 is the incidents ("3 incidents in 30d"), %2 the highest score.
        return withArguments(translate("IncidentTexts", "%1; peak score %2"), {incidents, score});
    }
    case HistoryCode::typicalThisSession:
        if (!f.typicalKiB) {
            return std::nullopt;
        }
        //: %1 is a size, as in "1.2 GB".
        return withArguments(translate("IncidentTexts", "Typical footprint %1 this session"),
                             {localSize(*f.typicalKiB)});
    }
    return std::nullopt;
}

std::optional<std::string> changeText(const CodeFigures& change) {
    if (!change.growthKiB || !change.seconds) {
        return std::nullopt;
    }
    //: %1 is a size, %2 a span, as in "48.0 MB more over 15 min".
    return withArguments(translate("IncidentTexts", "%1 more over %2"),
                         {localSize(*change.growthKiB), localSpan(*change.seconds)});
}

std::optional<std::string> nextStepText(const OpenCode<NextStepCode>& step) {
    if (!step.known) {
        return std::nullopt;
    }
    switch (*step.known) {
    case NextStepCode::captureEvidence:
        //: smaps_rollup and status are files the kernel writes; keep their names.
        return translate("IncidentTexts", "Capture smaps_rollup, status and the largest "
                                          "anonymous mappings before acting");
    case NextStepCode::restartGracefully:
        return translate("IncidentTexts", "Restart it gracefully to give the memory back");
    case NextStepCode::protectedSession:
        return translate("IncidentTexts",
                         "This belongs to the desktop session; Velmora will not signal it");
    }
    return std::nullopt;
}

std::optional<std::string> headlineText(const OpenCode<HeadlineCode>& headline,
                                        const std::string& title) {
    if (!headline.known) {
        return std::nullopt;
    }
    switch (*headline.known) {
    case HeadlineCode::keepsGrowing:
        //: The incident's headline; %1 is an application's name.
        return withArguments(translate("IncidentTexts", "%1 keeps growing"), {title});
    case HeadlineCode::runningAway:
        //: The incident's headline; %1 is an application's name.
        return withArguments(translate("IncidentTexts", "%1 is running away with memory"), {title});
    }
    return std::nullopt;
}

std::optional<std::string> impactText(const CodeFigures& impact) {
    if (!impact.footprintKiB) {
        return std::nullopt;
    }
    const std::string held = localSize(*impact.footprintKiB);
    if (impact.seconds) {
        //: %1 is a size, %2 an estimate, as in "about 25 min".
        return withArguments(translate("IncidentTexts", "Holds %1 of anonymous memory and swap; "
                                                        "Memory runs out in %2 at this rate"),
                             {held, localEstimate(*impact.seconds)});
    }
    //: %1 is a size, as in "1.9 GB".
    return withArguments(translate("IncidentTexts", "Holds %1 of anonymous memory and swap"),
                         {held});
}

} // namespace velmora
