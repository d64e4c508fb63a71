// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/PopoverViewModel.h"

namespace velmora {

namespace {

// The tooltip id of a verdict; `normal` has none.
std::optional<std::string_view> tooltipID(FindingVerdict verdict) {
    switch (verdict) {
    case FindingVerdict::normal:
        return std::nullopt;
    case FindingVerdict::watch:
        return "watch";
    case FindingVerdict::suspect:
        return "suspect";
    case FindingVerdict::probable:
        return "probable";
    case FindingVerdict::criticalRunaway:
        return "criticalRunaway";
    }
    return std::nullopt;
}

} // namespace

std::optional<VerdictTooltip>
PopoverViewModel::firstUndismissedTooltip(const PopoverSnapshot& snapshot) const {
    for (const FindingSnapshot& row : snapshot.rows) {
        const std::optional<std::string_view> id = tooltipID(row.verdict);
        if (!id) {
            continue;
        }
        const VerdictTooltip* tooltip = tooltipCatalog_.find(*id);
        if (tooltip && !tooltipDismissalStore_->isDismissed(tooltip->id)) {
            return *tooltip;
        }
    }
    return std::nullopt;
}

void PopoverViewModel::presentFirstUndismissedTooltip(const PopoverSnapshot& snapshot) {
    // A tooltip stays until it is dismissed, even when its verdict has left the rows.
    if (state_.activeVerdictTooltip) {
        return;
    }
    if (std::optional<VerdictTooltip> tooltip = firstUndismissedTooltip(snapshot)) {
        assign(state_.activeVerdictTooltip, std::move(tooltip),
               ViewModelField::activeVerdictTooltip, MotionName::overlay);
    }
}

void PopoverViewModel::dismissActiveVerdictTooltip() {
    if (!state_.activeVerdictTooltip) {
        return;
    }
    ChangeNotifier::Batch batch(notifier_);
    tooltipDismissalStore_->dismiss(state_.activeVerdictTooltip->id);
    assign(state_.activeVerdictTooltip, std::optional<VerdictTooltip>(),
           ViewModelField::activeVerdictTooltip, MotionName::overlay);
    presentFirstUndismissedTooltip(state_.snapshot);
}

} // namespace velmora
