// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/IncidentCardRules.h"

#include "model/SurfaceText.h"

namespace velmora {

const std::vector<std::string>& nextStepPrefixes() {
    static const std::vector<std::string> prefixes{
        "Safe next move:", "Next proof step:", "Last action:"};
    return prefixes;
}

namespace {

const std::optional<std::string>& rationaleOrOutcome(const IncidentSnapshot& incident) {
    return incident.actionRationale ? incident.actionRationale : incident.outcomeLine;
}

} // namespace

std::optional<std::string> nextActionLine(const IncidentSnapshot& incident) {
    const auto& line = rationaleOrOutcome(incident);
    if (!line) {
        return std::nullopt;
    }
    return primarySurfaceLine(*line, nextStepPrefixes());
}

std::optional<std::string> actionStatusLine(const IncidentSnapshot& incident) {
    if (incident.nextAction) {
        return std::nullopt;
    }
    if (auto cleaned = nextActionLine(incident)) {
        return cleaned;
    }
    return incident.outcomeLine;
}

PaletteColor stageTint(IncidentStage stage, SnapshotTone tone) {
    switch (stage) {
    case IncidentStage::normal:
    case IncidentStage::actionTaken:
        return PaletteColor::allClearText;
    case IncidentStage::watch:
        return PaletteColor::watchText;
    case IncidentStage::suspicious:
    case IncidentStage::strongSignal:
    case IncidentStage::evidenceRunning:
    case IncidentStage::evidenceCaptured:
        return toneColor(tone);
    }
    return toneColor(tone);
}

double stageFillOpacity(IncidentStage stage) {
    return stage == IncidentStage::normal ? 0.07 : 0.13;
}

double stageBorderOpacity(IncidentStage stage) {
    switch (stage) {
    case IncidentStage::normal:
        return 0.28;
    case IncidentStage::watch:
        return 0.36;
    case IncidentStage::suspicious:
    case IncidentStage::strongSignal:
        return 0.52;
    case IncidentStage::evidenceRunning:
    case IncidentStage::evidenceCaptured:
    case IncidentStage::actionTaken:
        return 0.44;
    }
    return 0.44;
}

PaletteColor confidenceToneColor(IncidentConfidenceTone tone) {
    switch (tone) {
    case IncidentConfidenceTone::neutral:
        return PaletteColor::mutedText;
    case IncidentConfidenceTone::watch:
        return PaletteColor::watchText;
    case IncidentConfidenceTone::strong:
        return PaletteColor::suspectText;
    case IncidentConfidenceTone::evidence:
        return PaletteColor::coolStroke;
    case IncidentConfidenceTone::outcome:
        return PaletteColor::allClearText;
    }
    return PaletteColor::mutedText;
}

PaletteColor timelineToneColor(TimelineTone tone) {
    switch (tone) {
    case TimelineTone::neutral:
        return PaletteColor::mutedText;
    case TimelineTone::watch:
        return PaletteColor::suspectText;
    case TimelineTone::evidence:
        return PaletteColor::coolStroke;
    case TimelineTone::action:
        return PaletteColor::watchText;
    case TimelineTone::outcome:
        return PaletteColor::allClearText;
    }
    return PaletteColor::mutedText;
}

} // namespace velmora
