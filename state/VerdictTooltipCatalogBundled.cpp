// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ResourcesDirectory.h"
#include "state/VerdictTooltipCatalog.h"

namespace velmora {

const VerdictTooltipCatalog& VerdictTooltipCatalog::bundled() {
    static const VerdictTooltipCatalog catalog = load(resourcesDirectory() / "VerdictTooltips.txt");
    return catalog;
}

} // namespace velmora
