// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/AdvancedHistoryDetailView.h"

#include "state/HistoryTexts.h"
#include "views/history/FlexibleTags.h"
#include "views/history/OffenderMemoryBlock.h"
#include "views/kit/QtString.h"
#include "views/kit/SectionBlock.h"
#include "views/kit/TextLineList.h"
#include "views/kit/WrappingRowLayout.h"

#include <QBoxLayout>

namespace velmora {

namespace {

constexpr double offenderBlockRadius = 16;

} // namespace

AdvancedHistoryDetailView::AdvancedHistoryDetailView(QWidget* parent) : QWidget(parent) {
    setObjectName("advancedHistoryDetail");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(11);
    //: The back button of one offender's history, and the page's title in capitals.
    auto* header = new SurfaceHeader(tr("Back to History"), tr("ADVANCED"), this);
    header->backButton()->setOnTap([this] {
        if (onBack_) {
            onBack_();
        }
    });
    layout->addWidget(header);
    offenderBlock_ = buildOffenderBlock();
    layout->addWidget(offenderBlock_);
    memory_ = new OffenderMemoryBlock(offenderBlockRadius, this);
    memory_->hide();
    layout->addWidget(memory_);

    auto* metricsBlock = new SectionBlock(offenderBlockRadius, this);
    metricsBlock->setObjectName("metricsBlock");
    //: The heading, in capitals, over the offender's figures over 30 days.
    metricsBlock->setTitle(tr("METRICS"));
    metrics_ = new LabeledValueList(7, "historyMetric", metricsBlock);
    metricsBlock->content()->addWidget(metrics_);
    layout->addWidget(metricsBlock);

    readBlock_ = new SectionBlock(offenderBlockRadius, this);
    readBlock_->setObjectName("readBlock");
    //: The heading, in capitals, over what Velmora reads from the offender's history.
    readBlock_->setTitle(tr("READ"));
    insights_ = new TextLineList(TypeRole::body, paletteRef(PaletteColor::mutedText), 6,
                                 "insightLine", readBlock_);
    insights_->setPrefix(QStringLiteral("\u2022 "));
    readBlock_->content()->addWidget(insights_);
    readBlock_->hide();
    layout->addWidget(readBlock_);
}

SectionBlock* AdvancedHistoryDetailView::buildOffenderBlock() {
    auto* block = new SectionBlock(offenderBlockRadius, this);
    block->setObjectName("offenderBlock");
    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    // The interpretation with the last-seen time at its trailing edge, then the two pills on
    // a row of their own that wraps rather than cutting a label short.
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    interpretation_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::neutralText), 0, block);
    interpretation_->setObjectName("interpretation");
    top->addWidget(interpretation_, 1);
    lastSeen_ =
        makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::mutedText), 1, block);
    lastSeen_->setObjectName("lastSeen");
    lastSeen_->setUppercase(true);
    lastSeen_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    top->addWidget(lastSeen_, 0, Qt::AlignTop);
    column->addLayout(top);
    auto* pills = new QWidget(block);
    auto* row = new WrappingRowLayout(8, 8, pills);
    row->setContentsMargins(0, 0, 0, 0);
    risk_ = new AdvancedHistoryTag(pills);
    risk_->setObjectName("riskTag");
    risk_->label()->setUppercase(true);
    typicality_ = new AdvancedHistoryTag(pills);
    typicality_->setObjectName("typicalityTag");
    typicality_->label()->setUppercase(true);
    row->addWidget(risk_);
    row->addWidget(typicality_);
    column->addWidget(pills);
    tags_ = new FlexibleTags(block);
    column->addWidget(tags_);
    block->content()->addLayout(column);
    return block;
}

void AdvancedHistoryDetailView::setDetail(const HistoricalOffenderDetailSnapshot& sent) {
    const HistoricalOffenderDetailSnapshot detail = localized(sent);
    offenderBlock_->setTitle(qs(detail.title));
    interpretation_->setText(qs(detail.interpretation));
    risk_->setTag(qs(detail.riskLabel), paletteRef(PaletteColor::suspectText));
    typicality_->setTag(qs(detail.typicalityLabel), paletteRef(PaletteColor::mutedText, 0.9));
    lastSeen_->setText(qs(detail.lastSeenText));
    tags_->setTags(detail.evidenceTags);
    setShown(tags_, !detail.evidenceTags.empty());
    std::vector<std::pair<std::string, std::string>> values;
    for (const auto& metric : detail.metrics) {
        values.emplace_back(metric.label, metric.value);
    }
    metrics_->setValues(values);
    insights_->setLines(detail.insightLines);
    setShown(readBlock_, !detail.insightLines.empty());
    if (detail.memorySeries) {
        memory_->setSeries(*detail.memorySeries);
    }
    setShown(memory_, detail.memorySeries.has_value());
}

} // namespace velmora
