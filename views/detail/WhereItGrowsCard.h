// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SectionBlock.h"

#include <functional>

namespace velmora {

class DetailActionList;
class ProgressBar;
class TextLineList;
class WhereSiteRow;

// The "Where it grows" block of a detail: the status line (the countdown while heap tracking
// runs, what was tracked once done, why not when it cannot be done), a progress bar while it
// runs, one row per allocation site (its plain-words line above its stack), notes, then the
// block's actions and the commands to copy. Object names: "whereItGrowsCard", inside it
// "whereStatus", "whereProgress", "whereSite:<n>" (with "siteHeadline" and "frame:<n>"),
// "whereNote:<n>", "actionChip:<id>", "nextCommand:<id>".
class WhereItGrowsCard : public SectionBlock {
    Q_OBJECT
public:
    using ActionHandler = std::function<void(const ActionDescriptor&)>;
    using PendingTest = std::function<bool(const ActionDescriptor&)>;

    explicit WhereItGrowsCard(double radius, QWidget* parent = nullptr);
    ~WhereItGrowsCard() override;

    void setBlock(const WhereItGrowsBlock& block);
    void setOnDispatchAction(ActionHandler onDispatch);
    void setIsActionPending(PendingTest isPending);
    DetailActionList* actions() const { return actions_; }

private:
    VelmoraText* status_;
    ProgressBar* progress_;
    QWidget* sitesList_;
    KeyedWidgetList<WhereSiteRow> sites_;
    TextLineList* notes_;
    DetailActionList* actions_;
};

} // namespace velmora
