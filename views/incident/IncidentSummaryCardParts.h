// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/IncidentSnapshot.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"

#include <functional>
#include <optional>
#include <string>

namespace velmora {

class ActionCapsuleButton;

// The pieces of the incident card. Each shows one value and keeps its child widgets by
// identity, so a refresh of the card only touches what changed.

// An upper-cased label over a value, with a divider before it unless it comes first.
// Object names inside: "metricLabel", "metricValue".
class IncidentInlineMetric : public QWidget {
    Q_OBJECT
public:
    explicit IncidentInlineMetric(QWidget* parent = nullptr);

    void setMetric(const DiagnosticMetric& metric, ColorRef tint);
    void setLeadingDivider(bool divider);
    bool hasLeadingDivider() const;

private:
    QWidget* divider_;
    VelmoraText* label_;
    VelmoraText* value_;
};

// One rung of the confidence ladder: a tone dot and upper-cased label over the value.
// Object names inside: "stepLabel", "stepValue".
class IncidentConfidenceStepSummary : public QWidget {
    Q_OBJECT
public:
    explicit IncidentConfidenceStepSummary(QWidget* parent = nullptr);

    void setStep(const IncidentConfidenceStep& step);
    void setLeadingDivider(bool divider);

private:
    QWidget* divider_;
    DotView* dot_;
    VelmoraText* label_;
    VelmoraText* value_;
};

// The confidence steps side by side; one accessibility container. Object name
// "confidenceLadder", steps "confidenceStep:<identity>".
class IncidentConfidenceLadder : public QWidget {
    Q_OBJECT
public:
    explicit IncidentConfidenceLadder(QWidget* parent = nullptr);

    void setSteps(const std::vector<IncidentConfidenceStep>& steps);
    std::vector<IncidentConfidenceStepSummary*> steps() const { return steps_.widgets(); }

private:
    KeyedWidgetList<IncidentConfidenceStepSummary> steps_;
};

// A labelled fact, emphasised when it is the primary one. Object names inside: "factLabel",
// "factText".
class IncidentPrimaryFactRow : public QWidget {
    Q_OBJECT
public:
    explicit IncidentPrimaryFactRow(QWidget* parent = nullptr);

    void setFact(const IncidentPrimarySurfaceFact& fact, ColorRef tint);

private:
    VelmoraText* label_;
    VelmoraText* text_;
};

// Object name "primaryFacts", rows "fact:<label>|<text>".
class IncidentPrimaryFactList : public QWidget {
    Q_OBJECT
public:
    explicit IncidentPrimaryFactList(QWidget* parent = nullptr);

    void setFacts(const std::vector<IncidentPrimarySurfaceFact>& facts, ColorRef tint);
    std::vector<IncidentPrimaryFactRow*> rows() const { return rows_.widgets(); }

private:
    KeyedWidgetList<IncidentPrimaryFactRow> rows_;
};

// "SAFEST" and the cleaned line, then the next action's capsule button at the trailing edge.
// Object names inside: "safestLabel", "nextActionLine", "nextActionButton".
class IncidentNextActionRow : public QWidget {
    Q_OBJECT
public:
    explicit IncidentNextActionRow(QWidget* parent = nullptr);

    void setLine(const std::optional<std::string>& line, ColorRef tint);
    void setAction(const ActionDescriptor& action);
    void setPending(bool pending);
    void setOnTap(std::function<void()> onTap);
    ActionCapsuleButton* button() const { return button_; }

private:
    QWidget* lineGroup_;
    VelmoraText* safest_;
    VelmoraText* line_;
    ActionCapsuleButton* button_;
};

} // namespace velmora
