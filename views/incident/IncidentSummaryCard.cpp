// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/incident/IncidentSummaryCard.h"

#include "state/IncidentFacts.h"
#include "views/kit/ActionCapsuleButton.h"
#include "views/kit/IncidentCardRules.h"
#include "views/kit/QtString.h"

#include <QBoxLayout>

namespace velmora {

IncidentSummaryCard::IncidentSummaryCard(QWidget* parent) : Panel(PanelStyle{}, parent) {
    setObjectName("incidentSummaryCard");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    buildHeader();

    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    headline_ = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 0, this);
    headline_->setObjectName("headline");
    attribution_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 0, this);
    attribution_->setObjectName("attributionLine");
    texts->addWidget(headline_);
    texts->addWidget(attribution_);
    layout->addLayout(texts);

    metricRow_ = new QWidget(this);
    metricRow_->setObjectName("metricRow");
    auto* metrics = new QHBoxLayout(metricRow_);
    metrics->setContentsMargins(0, 0, 0, 0);
    metrics->setSpacing(0);
    metricList_.attach(metrics);
    layout->addWidget(metricRow_);

    ladder_ = new IncidentConfidenceLadder(this);
    layout->addWidget(ladder_);
    facts_ = new IncidentPrimaryFactList(this);
    layout->addWidget(facts_);
    nextAction_ = new IncidentNextActionRow(this);
    nextAction_->setOnTap([this] {
        if (incident_.nextAction && onDispatch_) {
            onDispatch_(*incident_.nextAction);
        }
    });
    layout->addWidget(nextAction_);
    statusLine_ = makeText(TypeRole::caption, QFont::DemiBold,
                           paletteRef(PaletteColor::mutedText, 0.95), 0, this);
    statusLine_->setObjectName("actionStatusLine");
    layout->addWidget(statusLine_);
    ladder_->hide();
    nextAction_->hide();
    statusLine_->hide();
}

IncidentSummaryCard::~IncidentSummaryCard() = default;

void IncidentSummaryCard::buildHeader() {
    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    stagePill_ = new CapsuleLabel(TypeRole::caption, QFont::Bold, 9, 5, this);
    stagePill_->setObjectName("stagePill");
    stagePill_->label()->setObjectName("stageLabel");
    stagePill_->label()->setUppercase(true);
    auto* pillLayout = static_cast<QHBoxLayout*>(stagePill_->layout());
    pillLayout->setSpacing(7);
    stageDot_ = new DotView(8, paletteRef(PaletteColor::allClearText), 0, stagePill_);
    pillLayout->insertWidget(0, stageDot_, 0, Qt::AlignVCenter);
    header->addWidget(stagePill_, 0, Qt::AlignVCenter);
    evidence_ =
        makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::mutedText), 1, this);
    evidence_->setObjectName("evidenceLabel");
    evidence_->setTruncation(VelmoraText::Truncation::middle);
    evidence_->setTextAlignment(Qt::AlignRight);
    header->addWidget(evidence_, 1, Qt::AlignVCenter);
    static_cast<QVBoxLayout*>(layout())->addLayout(header);
}

void IncidentSummaryCard::setIncident(const IncidentSnapshot& incident, SnapshotTone tone) {
    if (hasIncident_ && incident == incident_ && tone == tone_) {
        return;
    }
    incident_ = incident;
    tone_ = tone;
    hasIncident_ = true;
    const ColorRef tint = stageTintRef();
    setPanelStyle(PanelStyle{16, ColorRef{tint.name, stageFillOpacity(incident_.stage), {}},
                             paletteRef(PaletteColor::inset),
                             ColorRef{tint.name, stageBorderOpacity(incident_.stage), {}}, 1});
    showHeader();
    showMetrics();
    const auto steps = cardConfidenceSteps(incident_);
    ladder_->setSteps(steps);
    setShown(ladder_, !steps.empty());
    facts_->setFacts(primarySurfaceFacts(incident_), tint);
    showAction();
}

ColorRef IncidentSummaryCard::stageTintRef() const {
    return paletteRef(stageTint(incident_.stage, tone_));
}

std::vector<IncidentInlineMetric*> IncidentSummaryCard::metrics() const {
    return metricList_.widgets();
}

void IncidentSummaryCard::showHeader() {
    const ColorRef tint = stageTintRef();
    stageDot_->setColor(tint);
    stagePill_->setText(qs(stageLabelText(incident_)));
    stagePill_->setTint(tint, ColorRef{tint.name, 0.12, {}});
    evidence_->setText(qs(evidenceLine(incident_)));
    headline_->setText(qs(headlineLine(incident_)));
    attribution_->setText(qs(attributionLineText(incident_)));
}

void IncidentSummaryCard::showMetrics() {
    const ColorRef tint = stageTintRef();
    bool first = true;
    metricList_.reconcile(
        cardMetrics(incident_), [](const DiagnosticMetric& metric) { return identity(metric); },
        [this](const DiagnosticMetric&) { return new IncidentInlineMetric(metricRow_); },
        [&](IncidentInlineMetric& widget, const DiagnosticMetric& metric) {
            widget.setObjectName(qs("metric:" + metric.label));
            widget.setMetric(metric, tint);
            widget.setLeadingDivider(!first);
            first = false;
        });
    setShown(metricRow_, !metricList_.empty());
}

void IncidentSummaryCard::showAction() {
    setShown(nextAction_, incident_.nextAction.has_value());
    if (incident_.nextAction) {
        nextAction_->setLine(nextActionLine(incident_), stageTintRef());
        nextAction_->setAction(*incident_.nextAction);
        nextAction_->setPending(isPending_ && isPending_(*incident_.nextAction));
        setShown(statusLine_, false);
        return;
    }
    const auto status = actionStatusLine(incident_);
    statusLine_->setText(status ? qs(*status) : QString());
    setShown(statusLine_, status.has_value());
}

void IncidentSummaryCard::setIsActionPending(PendingTest isPending) {
    isPending_ = std::move(isPending);
    refreshPending();
}

void IncidentSummaryCard::refreshPending() {
    if (incident_.nextAction) {
        nextAction_->setPending(isPending_ && isPending_(*incident_.nextAction));
    }
}

} // namespace velmora
