// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/ComposeContext.h"

namespace velmora {

const FamilyView* ComposeContext::family(const std::string& key) const {
    return findFamily(view, key);
}

} // namespace velmora
