// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "views/kit/SurfacePanel.h"

#include <functional>

class QShortcut;

namespace velmora {

class ArtifactBoundaryCard;
class DetailActionChip;
class DetailActionList;
class DiagnosticsDisclosure;
class IncidentTimelineList;
class MemoryChartBlock;
class NextCommandRow;
class SectionBlock;
class TextLineList;
class WhereItGrowsCard;

// The drill-down of one finding: the way back (also Escape), the verdict, the reasons, the
// timeline, the actions and suggested commands, the evidence artifact, where memory grows (once
// heap tracking was asked for) and the collapsed diagnostics. It shows the record as sent and
// sends every action back through its closures.
//
// Object names: "detailView"; "backButton" ("backLabel"), "eyebrow"; blocks "verdictBlock"
// ("verdictLabel", "confidenceLabel", "verdictExplanation"), "whyBlock" ("reason:<n>"),
// "memoryBlock" (see MemoryChartBlock), "timelineBlock", "actBlock" ("actionChips" holding
// "actionChip:<id>", "nextCommand:<id>"), "artifactBoundaryCard", "whereItGrowsCard", "diagnostics"
// ("diagnosticsToggle", "diagnosticsContent", "identityLine:<n>", "evidenceLine:<n>",
// "diagnosticMetric:<label>").
class DetailView : public QWidget {
    Q_OBJECT
public:
    using ActionHandler = std::function<void(const ActionDescriptor&)>;
    using PendingTest = std::function<bool(const ActionDescriptor&)>;

    explicit DetailView(QWidget* parent = nullptr);
    ~DetailView() override;

    void setDetail(const DetailSnapshot& detail);
    const DetailSnapshot& detail() const { return detail_; }
    void setOnBack(std::function<void()> onBack) { onBack_ = std::move(onBack); }
    void setOnDispatchAction(ActionHandler onDispatch) { onDispatch_ = std::move(onDispatch); }
    void setIsActionPending(PendingTest isPending);
    void refreshPending();

    bool isDiagnosticsExpanded() const;
    void setDiagnosticsExpanded(bool expanded);
    std::vector<DetailActionChip*> actionChips() const;
    std::vector<NextCommandRow*> nextCommandRows() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildHeader();
    SectionBlock* buildVerdictBlock();
    SectionBlock* buildActBlock();
    void goBack();
    void dispatch(const ActionDescriptor& action);

    DetailSnapshot detail_;
    bool hasDetail_ = false;

    SectionBlock* verdictBlock_;
    VelmoraText* verdictLabel_;
    VelmoraText* confidenceLabel_;
    VelmoraText* explanation_;
    MemoryChartBlock* memory_;
    SectionBlock* whyBlock_;
    TextLineList* reasons_;
    SectionBlock* timelineBlock_;
    IncidentTimelineList* timeline_;
    DetailActionList* actions_;
    ArtifactBoundaryCard* artifact_;
    WhereItGrowsCard* where_;
    DiagnosticsDisclosure* diagnostics_;
    QShortcut* escape_;

    std::function<void()> onBack_;
    ActionHandler onDispatch_;
    PendingTest isPending_;
};

} // namespace velmora
