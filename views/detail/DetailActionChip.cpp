// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/DetailActionChip.h"

#include "views/kit/SurfacePanel.h"

namespace velmora {

namespace {

ActionCapsuleButton::Metrics artifactMetrics() {
    auto metrics = ActionCapsuleButton::chip();
    metrics.spinnerScale = 0.6;
    return metrics;
}

} // namespace

DetailActionChip::DetailActionChip(QWidget* parent)
    : ActionCapsuleButton(ActionCapsuleButton::chip(), parent) {}

ArtifactActionButton::ArtifactActionButton(QWidget* parent)
    : ActionCapsuleButton(artifactMetrics(), parent) {
    setColorOverride(std::pair{paletteRef(PaletteColor::mutedText),
                               paletteRef(PaletteColor::insetStroke, 0.22)});
}

} // namespace velmora
