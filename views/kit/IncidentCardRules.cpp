// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/IncidentCardRules.h"

namespace velmora {

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
