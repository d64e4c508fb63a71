// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/SupportingActionPill.h"

#include "views/kit/SurfacePanel.h"

namespace velmora {

namespace {

ActionCapsuleButton::Metrics pillMetrics() {
    ActionCapsuleButton::Metrics metrics;
    metrics.paddingX = 1;
    metrics.paddingY = 2;
    metrics.pendingOpacity = 0.92;
    metrics.spinnerScale = 0.6;
    return metrics;
}

} // namespace

SupportingActionPill::SupportingActionPill(QWidget* parent)
    : ActionCapsuleButton(pillMetrics(), parent) {
    setColorOverride(
        std::pair{paletteRef(PaletteColor::mutedText), ColorRef::fixedColor(Qt::transparent)});
}

} // namespace velmora
