// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/Enums.h"
#include "model/IncidentSnapshot.h"
#include "views/incident/IncidentSummaryCardParts.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"

#include <functional>

namespace velmora {

// The focused incident: stage pill and evidence, headline and attribution, up to three key
// metrics, the confidence ladder, up to three primary facts and the safest next action (or,
// without one, the status line), on a card tinted by the stage.
//
// Object names: "incidentSummaryCard"; inside it "stagePill" (its text "stageLabel"),
// "evidenceLabel", "headline", "attributionLine", "metricRow" (metrics "metric:<label>"),
// "confidenceLadder", "primaryFacts", "nextActionRow" (button "nextActionButton"),
// "actionStatusLine".
class IncidentSummaryCard : public Panel {
    Q_OBJECT
public:
    using ActionHandler = std::function<void(const ActionDescriptor&)>;
    using PendingTest = std::function<bool(const ActionDescriptor&)>;

    explicit IncidentSummaryCard(QWidget* parent = nullptr);
    ~IncidentSummaryCard() override;

    // The incident and the snapshot's global tone.
    void setIncident(const IncidentSnapshot& incident, SnapshotTone tone);
    const IncidentSnapshot& incident() const { return incident_; }
    void setOnDispatchAction(ActionHandler onDispatch) { onDispatch_ = std::move(onDispatch); }
    void setIsActionPending(PendingTest isPending);
    void refreshPending();

    // The accent of the card now.
    ColorRef stageTintRef() const;
    std::vector<IncidentInlineMetric*> metrics() const;

private:
    void buildHeader();
    void showHeader();
    void showMetrics();
    void showAction();

    IncidentSnapshot incident_;
    SnapshotTone tone_ = SnapshotTone::allClear;
    bool hasIncident_ = false;

    CapsuleLabel* stagePill_;
    DotView* stageDot_;
    VelmoraText* evidence_;
    VelmoraText* headline_;
    VelmoraText* attribution_;
    QWidget* metricRow_;
    KeyedWidgetList<IncidentInlineMetric> metricList_;
    IncidentConfidenceLadder* ladder_;
    IncidentPrimaryFactList* facts_;
    IncidentNextActionRow* nextAction_;
    VelmoraText* statusLine_;

    ActionHandler onDispatch_;
    PendingTest isPending_;
};

} // namespace velmora
