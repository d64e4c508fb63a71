// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/LiveTriageList.h"

#include "views/findings/SupportingFindingRow.h"
#include "views/findings/SupportingFindingsSummary.h"
#include "views/incident/IncidentSummaryCard.h"
#include "views/relief/ReliefPlanStrip.h"

#include <QBoxLayout>

namespace velmora {

LiveTriageList::LiveTriageList(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("liveList"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    const auto dispatch = [this](const ActionDescriptor& action) {
        if (callbacks_ && callbacks_->dispatch) {
            callbacks_->dispatch(action);
        }
    };
    const auto pending = [this](const ActionDescriptor& action) {
        return pendingActions_.count(action.id + "::" + action.targetKey) != 0;
    };
    card_ = new IncidentSummaryCard(this);
    card_->setObjectName(QStringLiteral("incidentSummaryCard"));
    card_->setOnDispatchAction(dispatch);
    card_->setIsActionPending(pending);
    relief_ = new ReliefPlanStrip(this);
    relief_->setOnDispatchAction(dispatch);
    relief_->hide();
    summary_ = new SupportingFindingsSummary(this);
    summary_->setObjectName(QStringLiteral("supportingFindingsSummary"));
    summary_->setOnOpenDetail([this](const FindingSnapshot& finding) {
        if (callbacks_ && callbacks_->openDetail) {
            callbacks_->openDetail(finding.key);
        }
    });
    summary_->hide();
    rowsBox_ = new QWidget(this);
    rowsBox_->setObjectName(QStringLiteral("supportingRows"));
    auto* rowsLayout = new QVBoxLayout(rowsBox_);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(8);
    rows_.attach(rowsLayout);
    column->addWidget(card_);
    column->addWidget(relief_);
    column->addWidget(summary_);
    column->addWidget(rowsBox_);
}

SupportingFindingRow* LiveTriageList::makeRow() {
    auto* row = new SupportingFindingRow(rowsBox_);
    row->setOnDispatchAction([this](const ActionDescriptor& action) {
        if (callbacks_ && callbacks_->dispatch) {
            callbacks_->dispatch(action);
        }
    });
    row->setIsActionPending([this](const ActionDescriptor& action) {
        return pendingActions_.count(action.id + "::" + action.targetKey) != 0;
    });
    return row;
}

void LiveTriageList::render(const PopoverRenderState& state) {
    const bool pendingChanged = pendingActions_ != state.pendingActions;
    pendingActions_ = state.pendingActions;
    const PopoverSnapshot& snapshot = state.snapshot;
    card_->setIncident(snapshot.incident, snapshot.globalTone);

    const bool showRelief = shouldShowReliefPlanStrip(snapshot);
    if (showRelief) {
        relief_->setRelief(*snapshot.relief, [this](const ActionDescriptor& action) {
            return pendingActions_.count(action.id + "::" + action.targetKey) != 0;
        });
    }
    relief_->setVisible(showRelief);

    const bool focused = isFocusedIncidentLayout(snapshot);
    const auto supporting = allSupportingFindings(snapshot);
    summary_->setVisible(focused && !supporting.empty());
    if (focused) {
        summary_->setFindings(supporting);
        rows_.reconcile(
            std::vector<FindingSnapshot>{}, [](const FindingSnapshot& f) { return f.key; },
            [this](const FindingSnapshot&) { return makeRow(); },
            [](SupportingFindingRow&, const FindingSnapshot&) {});
    } else {
        rows_.reconcile(
            visibleSupportingFindings(snapshot), [](const FindingSnapshot& f) { return f.key; },
            [this](const FindingSnapshot&) { return makeRow(); },
            [this, &state](SupportingFindingRow& row, const FindingSnapshot& finding) {
                row.setObjectName(
                    QStringLiteral("supportingRow_%1").arg(QString::fromStdString(finding.key)));
                row.setFinding(finding);
                row.setEscalated(state.highlightedCriticalKeys.count(finding.key) != 0);
                row.setOnOpenDetail([this, key = finding.key] {
                    if (callbacks_ && callbacks_->openDetail) {
                        callbacks_->openDetail(key);
                    }
                });
            });
    }
    rowsBox_->setVisible(!rows_.empty());
    if (pendingChanged) {
        card_->refreshPending();
        for (auto* row : rows_.widgets()) {
            row->refreshPending();
        }
    }
}

} // namespace velmora
