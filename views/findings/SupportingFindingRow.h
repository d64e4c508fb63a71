// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/FindingSnapshot.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"

#include <QAbstractButton>
#include <functional>

namespace velmora {

class CriticalAttention;
class SparklineView;
class SupportingActionPill;
class SymbolView;

// One other live suspect: dot, title, sparkline, rate, verdict pill, explanation, curvature
// chip and at most two quick actions, on a card that opens the detail when tapped. A critical
// row brightens with a short ease-out when it appears, when it is newly escalated and when its
// severity changes; the bright state follows the row's key across refreshes.
//
// Object names: "supportingFindingRow:<key>" (unless the owner names it), and inside it
// "titleRow" (holding "title", "sparkline", "rate", "verdictPill"), "explanation",
// "curvatureChip", "curvatureLabel", "actionPill:<id>".
class SupportingFindingRow : public QAbstractButton {
    Q_OBJECT
public:
    using ActionHandler = std::function<void(const ActionDescriptor&)>;
    using PendingTest = std::function<bool(const ActionDescriptor&)>;

    explicit SupportingFindingRow(QWidget* parent = nullptr);
    ~SupportingFindingRow() override;

    void setFinding(const FindingSnapshot& finding);
    const FindingSnapshot& finding() const { return finding_; }
    // The view model highlights this row's key as newly critical.
    void setEscalated(bool escalated);
    bool isEscalated() const { return escalated_; }

    void setOnOpenDetail(std::function<void()> onOpenDetail) {
        onOpenDetail_ = std::move(onOpenDetail);
    }
    void setOnDispatchAction(ActionHandler onDispatch) { onDispatch_ = std::move(onDispatch); }
    void setIsActionPending(PendingTest isPending);
    // Re-reads the pending test for every action (after the pending set changed).
    void refreshPending();

    // The critical-attention flag and how far its animation has run (0 dim, 1 bright).
    bool animateCriticalAttention() const;
    double criticalAttentionProgress() const;

    // What the card paints now.
    PanelStyle cardStyle() const;
    double dotScale() const;
    std::vector<SupportingActionPill*> actionPills() const { return pills_.widgets(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildTitleRow();
    QWidget* buildCurvatureChip();
    void showTexts();
    void showActions();
    void syncCriticalAttention();
    void attentionChanged();
    void applyShadow();
    void paintDot(QPainter& painter);
    bool isCritical() const { return finding_.severity == FindingSeverity::critical; }

    FindingSnapshot finding_;
    bool hasFinding_ = false;
    bool escalated_ = false;
    unsigned attentionGeneration_ = 0;
    CriticalAttention* attention_;

    QWidget* dotSlot_;
    VelmoraText* title_;
    SparklineView* sparkline_;
    VelmoraText* rate_;
    CapsuleLabel* verdictPill_;
    VelmoraText* explanation_;
    Panel* curvatureChip_;
    SymbolView* curvatureSymbol_;
    VelmoraText* curvatureLabel_;
    QWidget* actionsRow_;
    KeyedWidgetList<SupportingActionPill> pills_;

    std::function<void()> onOpenDetail_;
    ActionHandler onDispatch_;
    PendingTest isPending_;
};

} // namespace velmora
