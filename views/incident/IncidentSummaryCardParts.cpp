// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/incident/IncidentSummaryCardParts.h"

#include "views/kit/ActionCapsuleButton.h"
#include "views/kit/IncidentCardRules.h"
#include "views/kit/QtString.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <cmath>

namespace velmora {

namespace {

constexpr int labelColumnWidth = 64;
constexpr double minimumLabelScale = 0.75;

// Top margin that puts a text in `smaller` on the first baseline of a text in `larger`.
int baselineOffset(const QFont& smaller, const QFont& larger) {
    const double offset = QFontMetricsF(larger).ascent() - QFontMetricsF(smaller).ascent();
    return std::max(0, static_cast<int>(std::lround(offset)));
}

// At least `minimum` high with the content at the top, and never taller than that content:
// a card that gets more height than it asked for must not open a band under its metric row.
void keepsItsHeight(QWidget* widget, int minimum) {
    widget->setMinimumHeight(minimum);
    widget->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

// A row holding a divider (hidden for the first item) and a column of texts.
QVBoxLayout* dividedColumn(QWidget* owner, int dividerHeight, QWidget*& divider) {
    auto* row = new QHBoxLayout(owner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    divider = new VerticalDivider(dividerHeight, 8, owner);
    row->addWidget(divider, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    row->addLayout(column, 1);
    return column;
}

} // namespace

IncidentInlineMetric::IncidentInlineMetric(QWidget* parent) : QWidget(parent) {
    auto* column = dividedColumn(this, 25, divider_);
    column->setSpacing(2);
    label_ = makeText(TypeRole::caption, QFont::Bold, paletteRef(PaletteColor::allClearText, 0.88),
                      1, this);
    label_->setObjectName("metricLabel");
    label_->setUppercase(true);
    value_ = makeText(TypeRole::caption, QFont::DemiBold,
                      paletteRef(PaletteColor::neutralText, 0.92), 1, this);
    value_->setObjectName("metricValue");
    value_->setMinimumScaleFactor(0.82);
    column->addWidget(label_);
    column->addWidget(value_);
    column->addStretch(1);
    keepsItsHeight(this, 36);
    divider_->hide();
}

void IncidentInlineMetric::setMetric(const DiagnosticMetric& metric, ColorRef tint) {
    label_->setText(qs(metric.label));
    label_->setColor(ColorRef{tint.name, 0.88, tint.fixed});
    value_->setText(qs(metric.value));
    //: A figure of the incident card as a screen reader says it: its label, then its value.
    setAccessibleName(tr("%1: %2").arg(qs(metric.label), qs(metric.value)));
}

void IncidentInlineMetric::setLeadingDivider(bool divider) {
    setShown(divider_, divider);
}

bool IncidentInlineMetric::hasLeadingDivider() const {
    return !divider_->isHidden();
}

IncidentConfidenceStepSummary::IncidentConfidenceStepSummary(QWidget* parent) : QWidget(parent) {
    auto* column = dividedColumn(this, 34, divider_);
    column->setSpacing(3);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(5);
    dot_ = new DotView(5, paletteRef(PaletteColor::mutedText), 0, this);
    label_ =
        makeText(TypeRole::caption, QFont::Bold, paletteRef(PaletteColor::mutedText, 0.9), 1, this);
    label_->setObjectName("stepLabel");
    label_->setUppercase(true);
    label_->setMinimumScaleFactor(0.82);
    heading->addWidget(dot_, 0, Qt::AlignVCenter);
    heading->addWidget(label_, 1, Qt::AlignVCenter);
    column->addLayout(heading);
    value_ = makeText(TypeRole::caption, QFont::DemiBold,
                      paletteRef(PaletteColor::neutralText, 0.86), 1, this);
    value_->setObjectName("stepValue");
    value_->setMinimumScaleFactor(0.78);
    value_->setTruncation(VelmoraText::Truncation::tail);
    column->addWidget(value_);
    column->addStretch(1);
    keepsItsHeight(this, 34);
    divider_->hide();
}

void IncidentConfidenceStepSummary::setStep(const IncidentConfidenceStep& step) {
    const PaletteColor tone = confidenceToneColor(step.tone);
    dot_->setColor(paletteRef(tone));
    label_->setText(qs(step.label));
    label_->setColor(paletteRef(tone, 0.9));
    value_->setText(qs(step.value));
    //: A step of the confidence ladder as a screen reader says it: its label, then its value.
    setAccessibleName(tr("%1, %2").arg(label_->displayText(), qs(step.value)));
}

void IncidentConfidenceStepSummary::setLeadingDivider(bool divider) {
    setShown(divider_, divider);
}

IncidentConfidenceLadder::IncidentConfidenceLadder(QWidget* parent) : QWidget(parent) {
    setObjectName("confidenceLadder");
    setAccessibleName(tr("Confidence"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    steps_.attach(layout);
}

void IncidentConfidenceLadder::setSteps(const std::vector<IncidentConfidenceStep>& steps) {
    bool first = true;
    steps_.reconcile(
        steps, [](const IncidentConfidenceStep& step) { return identity(step); },
        [this](const IncidentConfidenceStep&) { return new IncidentConfidenceStepSummary(this); },
        [&first](IncidentConfidenceStepSummary& summary, const IncidentConfidenceStep& step) {
            summary.setObjectName(qs("confidenceStep:" + identity(step)));
            summary.setStep(step);
            summary.setLeadingDivider(!first);
            first = false;
        });
}

IncidentPrimaryFactRow::IncidentPrimaryFactRow(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(9);
    label_ = makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::mutedText, 0.82),
                      1, this);
    label_->setObjectName("factLabel");
    label_->setUppercase(true);
    label_->setFixedWidth(labelColumnWidth);
    // A long label such as "DECISION" shrinks a little before it truncates.
    label_->setMinimumScaleFactor(minimumLabelScale);
    text_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::neutralText, 0.78), 0, this);
    text_->setObjectName("factText");
    label_->setContentsMargins(
        0, baselineOffset(velmoraFont(TypeRole::caption), velmoraFont(TypeRole::body)), 0, 0);
    layout->addWidget(label_, 0, Qt::AlignTop);
    layout->addWidget(text_, 1, Qt::AlignTop);
}

void IncidentPrimaryFactRow::setFact(const IncidentPrimarySurfaceFact& fact, ColorRef tint) {
    label_->setText(qs(fact.label));
    label_->setRole(TypeRole::caption, fact.isPrimary ? QFont::Bold : QFont::DemiBold);
    label_->setColor(fact.isPrimary ? ColorRef{tint.name, 0.94, tint.fixed}
                                    : paletteRef(PaletteColor::mutedText, 0.82));
    text_->setText(qs(fact.text));
    text_->setRole(TypeRole::body, fact.isPrimary ? QFont::Medium : QFont::Normal);
    text_->setColor(fact.isPrimary ? paletteRef(PaletteColor::neutralText)
                                   : paletteRef(PaletteColor::neutralText, 0.78));
}

IncidentPrimaryFactList::IncidentPrimaryFactList(QWidget* parent) : QWidget(parent) {
    setObjectName("primaryFacts");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(7);
    rows_.attach(layout);
}

void IncidentPrimaryFactList::setFacts(const std::vector<IncidentPrimarySurfaceFact>& facts,
                                       ColorRef tint) {
    rows_.reconcile(
        facts, [](const IncidentPrimarySurfaceFact& fact) { return identity(fact); },
        [this](const IncidentPrimarySurfaceFact&) { return new IncidentPrimaryFactRow(this); },
        [tint](IncidentPrimaryFactRow& row, const IncidentPrimarySurfaceFact& fact) {
            row.setObjectName(qs("fact:" + identity(fact)));
            row.setFact(fact, tint);
        });
    setShown(this, !facts.empty());
}

IncidentNextActionRow::IncidentNextActionRow(QWidget* parent) : QWidget(parent) {
    setObjectName("nextActionRow");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(9);
    lineGroup_ = new QWidget(this);
    auto* group = new QHBoxLayout(lineGroup_);
    group->setContentsMargins(0, 0, 0, 0);
    group->setSpacing(9);
    safest_ = makeText(TypeRole::caption, QFont::Bold, paletteRef(PaletteColor::allClearText, 0.94),
                       1, lineGroup_);
    safest_->setObjectName("safestLabel");
    //: The label, in capitals, before the safest next step for the suspect.
    safest_->setText(tr("SAFEST"));
    safest_->setFixedWidth(labelColumnWidth);
    safest_->setMinimumScaleFactor(minimumLabelScale);
    safest_->setContentsMargins(
        0,
        baselineOffset(velmoraFont(TypeRole::caption), velmoraFont(TypeRole::body, QFont::Medium)),
        0, 0);
    line_ = makeText(TypeRole::body, QFont::Medium, paletteRef(PaletteColor::neutralText, 0.84), 0,
                     lineGroup_);
    line_->setObjectName("nextActionLine");
    group->addWidget(safest_, 0, Qt::AlignTop);
    group->addWidget(line_, 1, Qt::AlignTop);
    layout->addWidget(lineGroup_, 1, Qt::AlignTop);
    button_ = new ActionCapsuleButton(ActionCapsuleButton::card(), this);
    button_->setObjectName("nextActionButton");
    layout->addStretch(0); // the flexible space before the button; spacing keeps it >= 8
    layout->addWidget(button_, 0, Qt::AlignTop);
}

void IncidentNextActionRow::setLine(const std::optional<std::string>& line, ColorRef tint) {
    setShown(lineGroup_, line.has_value());
    safest_->setColor(ColorRef{tint.name, 0.94, tint.fixed});
    line_->setText(line ? qs(*line) : QString());
    auto* row = static_cast<QBoxLayout*>(layout());
    // Without a line the button still sits at the trailing edge.
    row->setStretch(row->indexOf(lineGroup_), line ? 1 : 0);
    row->setStretch(row->count() - 2, line ? 0 : 1);
}

void IncidentNextActionRow::setAction(const ActionDescriptor& action) {
    button_->setAction(action);
}

void IncidentNextActionRow::setPending(bool pending) {
    button_->setPending(pending);
}

void IncidentNextActionRow::setOnTap(std::function<void()> onTap) {
    button_->setOnTap(std::move(onTap));
}

} // namespace velmora
