// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/VerdictTooltipDismissalStore.h"

#include <algorithm>

namespace velmora {

StoredVerdictTooltipDismissals::StoredVerdictTooltipDismissals(
    std::shared_ptr<AppSettings> settings)
    : settings_(std::move(settings)) {}

bool StoredVerdictTooltipDismissals::isDismissed(const std::string& id) const {
    const auto ids = settings_->get(settingsKeys::dismissedVerdictTooltips);
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void StoredVerdictTooltipDismissals::dismiss(const std::string& id) {
    settings_->add(settingsKeys::dismissedVerdictTooltips, id);
}

} // namespace velmora
