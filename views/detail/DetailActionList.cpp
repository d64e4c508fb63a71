// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/DetailActionList.h"

#include "views/detail/DetailActionChip.h"
#include "views/detail/NextCommandRow.h"
#include "views/kit/SurfacePanel.h"

#include <QBoxLayout>

namespace velmora {

DetailActionList::DetailActionList(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    chipsRow_ = new QWidget(this);
    chipsRow_->setObjectName("actionChips");
    chips_.attach(new WrappingRowLayout(6, 6, chipsRow_));
    commandsList_ = new QWidget(this);
    auto* commands = new QVBoxLayout(commandsList_);
    commands->setContentsMargins(0, 0, 0, 0);
    commands->setSpacing(8);
    commands_.attach(commands);
    column->addWidget(chipsRow_);
    column->addWidget(commandsList_);
}

void DetailActionList::setActions(const std::vector<ActionDescriptor>& actions,
                                  const std::vector<NextCommandDescriptor>& commands) {
    chips_.reconcile(
        actions, [](const ActionDescriptor& action) { return action.id; },
        [this](const ActionDescriptor&) { return new DetailActionChip(chipsRow_); },
        [this](DetailActionChip& chip, const ActionDescriptor& action) {
            chip.setObjectName(QString::fromStdString("actionChip:" + action.id));
            chip.setAction(action);
            chip.setPending(pending(action));
            chip.setOnTap([this, action] { dispatch(action); });
        });
    setShown(chipsRow_, !chips_.empty());
    commands_.reconcile(
        commands, [](const NextCommandDescriptor& command) { return identity(command); },
        [this](const NextCommandDescriptor&) { return new NextCommandRow(commandsList_); },
        [this](NextCommandRow& row, const NextCommandDescriptor& command) {
            row.setNextCommand(command);
            row.setPending(pending(command.action));
            row.setOnCopy([this, action = command.action] { dispatch(action); });
        });
    setShown(commandsList_, !commands_.empty());
}

void DetailActionList::setIsActionPending(PendingTest isPending) {
    isPending_ = std::move(isPending);
    refreshPending();
}

void DetailActionList::refreshPending() {
    for (auto* chip : chips_.widgets()) {
        chip->setPending(pending(chip->action()));
    }
    for (auto* row : commands_.widgets()) {
        row->setPending(pending(row->chip()->action()));
    }
}

void DetailActionList::dispatch(const ActionDescriptor& action) {
    if (onDispatch_) {
        onDispatch_(action);
    }
}

} // namespace velmora
