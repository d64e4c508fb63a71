// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/DiagnosticsDisclosure.h"

#include "state/DetailTexts.h"
#include "views/kit/TextLineList.h"
#include "views/kit/VelmoraSymbols.h"

#include <QBoxLayout>

namespace velmora {

DiagnosticsDisclosure::DiagnosticsDisclosure(QWidget* parent)
    : Panel(PanelStyle{8,
                       paletteRef(PaletteColor::inset),
                       {},
                       paletteRef(PaletteColor::insetStroke, 0.82),
                       1},
            parent) {
    setObjectName("diagnostics");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(0);

    toggle_ =
        new PanelButton(PanelStyle{0, ColorRef::fixedColor(Qt::transparent), {}, {}, 0}, this);
    toggle_->setObjectName("diagnosticsToggle");
    //: The heading, in capitals, of the folded section with the raw figures.
    toggle_->setAccessibleName(tr("DIAGNOSTICS"));
    auto* toggleLayout = new QHBoxLayout(toggle_);
    toggleLayout->setContentsMargins(0, 0, 0, 0);
    toggleLayout->setSpacing(8);
    auto* labels = new QVBoxLayout;
    labels->setSpacing(3);
    auto* title = makeText(TypeRole::eyebrow, {}, paletteRef(PaletteColor::mutedText), 1, toggle_);
    title->setTracking(1);
    title->setText(tr("DIAGNOSTICS"));
    auto* subtitle =
        makeText(TypeRole::caption, {}, paletteRef(PaletteColor::mutedText), 1, toggle_);
    //: Under DIAGNOSTICS: what the folded section holds.
    subtitle->setText(tr("Raw identity, evidence, and metrics"));
    labels->addWidget(title);
    labels->addWidget(subtitle);
    toggleLayout->addLayout(labels, 1);
    chevron_ = new SymbolView("go-next", 11, paletteRef(PaletteColor::mutedText), toggle_);
    chevron_->setObjectName("diagnosticsChevron");
    chevron_->setFrameSize(QSize(12, 12)); // the same room pointing right or down
    toggleLayout->addWidget(chevron_, 0, Qt::AlignVCenter);
    toggle_->setOnTap([this] { setExpanded(!expanded_); });
    layout->addWidget(toggle_);

    content_ = new QWidget(this);
    content_->setObjectName("diagnosticsContent");
    auto* content = new QVBoxLayout(content_);
    content->setContentsMargins(0, 8, 0, 0);
    content->setSpacing(5);
    identityLines_ = new TextLineList(TypeRole::caption, paletteRef(PaletteColor::mutedText), 5,
                                      "identityLine", content_);
    evidenceLines_ = new TextLineList(TypeRole::caption, paletteRef(PaletteColor::mutedText), 5,
                                      "evidenceLine", content_);
    metrics_ = new LabeledValueList(5, "diagnosticMetric", content_);
    content->addWidget(identityLines_);
    content->addWidget(evidenceLines_);
    content->addWidget(metrics_);
    layout->addWidget(content_);
    content_->hide();
}

void DiagnosticsDisclosure::setDiagnostics(const DiagnosticsBlock& block) {
    identityLines_->setLines(identityLinesShown(block));
    evidenceLines_->setLines(evidenceLinesShown(block));
    std::vector<std::pair<std::string, std::string>> values;
    for (const auto& metric : metricsShown(block)) {
        values.emplace_back(metric.label, metric.value);
    }
    metrics_->setValues(values);
}

void DiagnosticsDisclosure::setExpanded(bool expanded) {
    if (expanded == expanded_) {
        return;
    }
    expanded_ = expanded;
    chevron_->setSymbol(expanded ? "go-down" : "go-next");
    setShown(content_, expanded);
}

} // namespace velmora
