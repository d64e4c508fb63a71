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
    if (activeTooltip_) {
        return;
    }
    if (std::optional<VerdictTooltip> tooltip = firstUndismissedTooltip(snapshot)) {
        assign(activeTooltip_, std::move(tooltip), ViewModelField::activeVerdictTooltip,
               MotionName::overlay);
    }
}

void PopoverViewModel::dismissActiveVerdictTooltip() {
    if (!activeTooltip_) {
        return;
    }
    ChangeNotifier::Batch batch(notifier_);
    tooltipDismissalStore_->dismiss(activeTooltip_->id);
    assign(activeTooltip_, std::optional<VerdictTooltip>(), ViewModelField::activeVerdictTooltip,
           MotionName::overlay);
    presentFirstUndismissedTooltip(snapshot_);
}

} // namespace velmora
