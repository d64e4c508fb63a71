// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/WrappingRowLayout.h"

#include <QWidget>
#include <functional>

namespace velmora {

class DetailActionChip;
class NextCommandRow;

// The actions of a detail block: a row of chips that continues on a new line rather than cut a
// label, then one row per suggested command with the chip that copies it (spacing 8). Each part
// hides while it is empty. Object names: "actionChips" holding "actionChip:<id>", and
// "nextCommand:<id>".
class DetailActionList : public QWidget {
    Q_OBJECT
public:
    using ActionHandler = std::function<void(const ActionDescriptor&)>;
    using PendingTest = std::function<bool(const ActionDescriptor&)>;

    explicit DetailActionList(QWidget* parent = nullptr);

    void setActions(const std::vector<ActionDescriptor>& actions,
                    const std::vector<NextCommandDescriptor>& commands);
    void setOnDispatchAction(ActionHandler onDispatch) { onDispatch_ = std::move(onDispatch); }
    void setIsActionPending(PendingTest isPending);
    void refreshPending();
    std::vector<DetailActionChip*> chips() const { return chips_.widgets(); }
    std::vector<NextCommandRow*> commandRows() const { return commands_.widgets(); }

private:
    void dispatch(const ActionDescriptor& action);
    bool pending(const ActionDescriptor& action) const { return isPending_ && isPending_(action); }

    QWidget* chipsRow_;
    QWidget* commandsList_;
    KeyedWidgetList<DetailActionChip, WrappingRowLayout> chips_;
    KeyedWidgetList<NextCommandRow> commands_;
    ActionHandler onDispatch_;
    PendingTest isPending_;
};

} // namespace velmora
