// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/KeyedWidgetList.h"
#include "views/popover/PopoverRenderState.h"

#include <QWidget>

class QVBoxLayout;

namespace velmora {

class IncidentSummaryCard;
class ReliefPlanStrip;
class SupportingFindingRow;
class SupportingFindingsSummary;

// The live surface's main area: the incident card, the relief strip beside it when it has
// something to add, then the other suspects (two rows in the list layout, one summary button in
// the focused layout). Rows keep their widgets by finding key across refreshes.
class LiveTriageList : public QWidget {
    Q_OBJECT
public:
    explicit LiveTriageList(QWidget* parent = nullptr);

    void setCallbacks(const PopoverCallbacks* callbacks) { callbacks_ = callbacks; }
    void render(const PopoverRenderState& state);

    IncidentSummaryCard* incidentCard() const { return card_; }
    ReliefPlanStrip* reliefStrip() const { return relief_; }
    SupportingFindingsSummary* supportingSummary() const { return summary_; }
    std::vector<SupportingFindingRow*> rows() const { return rows_.widgets(); }

private:
    SupportingFindingRow* makeRow();

    const PopoverCallbacks* callbacks_ = nullptr;
    IncidentSummaryCard* card_;
    ReliefPlanStrip* relief_;
    SupportingFindingsSummary* summary_;
    QWidget* rowsBox_;
    KeyedWidgetList<SupportingFindingRow> rows_;
    std::set<std::string> pendingActions_;
};

} // namespace velmora
