// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VerdictTooltip.h"

namespace velmora {

// The verdict explanations in the person's language: each text of the bundled catalogue
// (resources/VerdictTooltips.txt) has its translation under the context "VerdictTooltips"; a
// text the catalogues do not know (an edited file) is shown as written.
VerdictTooltip translatedTooltip(const VerdictTooltip& tooltip);

} // namespace velmora
