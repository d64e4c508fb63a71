// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/DetailView.h"

#include "state/DetailTexts.h"
#include "state/ReasonTexts.h"
#include "state/SummaryTexts.h"
#include "state/TimelineTexts.h"
#include "views/detail/ArtifactBoundaryCard.h"
#include "views/detail/DetailActionList.h"
#include "views/detail/DiagnosticsDisclosure.h"
#include "views/detail/IncidentTimelineList.h"
#include "views/detail/MemoryChartBlock.h"
#include "views/detail/WhereItGrowsCard.h"
#include "views/kit/QtString.h"
#include "views/kit/SectionBlock.h"
#include "views/kit/TextLineList.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QShortcut>

namespace velmora {

namespace {

constexpr double detailBlockRadius = 8;

} // namespace

DetailView::DetailView(QWidget* parent) : QWidget(parent) {
    setObjectName("detailView");
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(11);
    layout->addWidget(buildHeader());
    verdictBlock_ = buildVerdictBlock();
    layout->addWidget(verdictBlock_);
    memory_ = new MemoryChartBlock(detailBlockRadius, this);
    memory_->hide();
    layout->addWidget(memory_);

    whyBlock_ = new SectionBlock(detailBlockRadius, this);
    whyBlock_->setObjectName("whyBlock");
    //: The heading, in capitals, over the reasons for the verdict.
    whyBlock_->setTitle(tr("WHY"));
    reasons_ = new TextLineList(TypeRole::body, paletteRef(PaletteColor::mutedText), 5, "reason",
                                whyBlock_);
    whyBlock_->content()->addWidget(reasons_);
    layout->addWidget(whyBlock_);

    timelineBlock_ = new SectionBlock(detailBlockRadius, this);
    timelineBlock_->setObjectName("timelineBlock");
    //: The heading, in capitals, over what happened to the suspect, in order.
    timelineBlock_->setTitle(tr("TIMELINE"));
    timeline_ = new IncidentTimelineList(timelineBlock_);
    timelineBlock_->content()->addWidget(timeline_);
    timelineBlock_->hide();
    layout->addWidget(timelineBlock_);

    layout->addWidget(buildActBlock());
    artifact_ = new ArtifactBoundaryCard(this);
    artifact_->setOnDispatchAction([this](const ActionDescriptor& action) { dispatch(action); });
    artifact_->hide();
    layout->addWidget(artifact_);
    where_ = new WhereItGrowsCard(detailBlockRadius, this);
    where_->setOnDispatchAction([this](const ActionDescriptor& action) { dispatch(action); });
    where_->hide();
    layout->addWidget(where_);
    diagnostics_ = new DiagnosticsDisclosure(this);
    layout->addWidget(diagnostics_);

    // Escape leaves the detail wherever the focus is in the popover window.
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape_->setContext(Qt::WindowShortcut);
    connect(escape_, &QShortcut::activated, this, [this] { goBack(); });
    setDetail(DetailSnapshot{});
}

DetailView::~DetailView() = default;

QWidget* DetailView::buildHeader() {
    //: The back button of a suspect's detail, and the page's title in capitals.
    auto* header = new SurfaceHeader(tr("Back to Suspects"), tr("DETAIL"), this);
    //: The back button's tooltip; Esc is the key that does the same.
    header->backButton()->setToolTip(tr("Back to Suspects (Esc)"));
    header->backButton()->setOnTap([this] { goBack(); });
    return header;
}

SectionBlock* DetailView::buildVerdictBlock() {
    auto* block = new SectionBlock(detailBlockRadius, this);
    block->setObjectName("verdictBlock");
    auto* column = new QVBoxLayout;
    column->setSpacing(6);
    verdictLabel_ = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 0, block);
    verdictLabel_->setObjectName("verdictLabel");
    confidenceLabel_ =
        makeText(TypeRole::caption, {}, paletteRef(PaletteColor::mutedText), 0, block);
    confidenceLabel_->setObjectName("confidenceLabel");
    confidenceLabel_->setUppercase(true);
    explanation_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 0, block);
    explanation_->setObjectName("verdictExplanation");
    column->addWidget(verdictLabel_);
    column->addWidget(confidenceLabel_);
    column->addWidget(explanation_);
    block->content()->addLayout(column);
    return block;
}

SectionBlock* DetailView::buildActBlock() {
    auto* block = new SectionBlock(detailBlockRadius, this);
    block->setObjectName("actBlock");
    //: The heading, in capitals, over what the person can do about the suspect.
    block->setTitle(tr("ACT"));
    actions_ = new DetailActionList(block);
    actions_->setOnDispatchAction([this](const ActionDescriptor& action) { dispatch(action); });
    block->content()->addWidget(actions_);
    return block;
}

void DetailView::setDetail(const DetailSnapshot& detail) {
    if (hasDetail_ && detail == detail_) {
        return;
    }
    detail_ = detail;
    hasDetail_ = true;
    verdictBlock_->setTitle(qs(detailTitleShown(detail_)));
    verdictLabel_->setText(qs(verdictLabelShown(detail_.verdictBlock)));
    confidenceLabel_->setText(qs(verdictConfidenceShown(detail_.verdictBlock)));
    explanation_->setText(qs(summaryShown(detail_.verdictBlock)));
    if (detail_.memorySeries) {
        memory_->setSeries(*detail_.memorySeries);
    }
    setShown(memory_, detail_.memorySeries.has_value());
    reasons_->setLines(reasonTexts(detail_.whyBlock.reasonCodes, detail_.whyBlock.reasons));
    timeline_->setItems(timelineShown(detail_));
    setShown(timelineBlock_, !detail_.timeline.empty());
    actions_->setActions(detail_.actBlock.actions, detail_.actBlock.nextCommands);
    if (detail_.artifactBoundary) {
        artifact_->setArtifactBoundary(*detail_.artifactBoundary, detail_.title);
    }
    setShown(artifact_, detail_.artifactBoundary.has_value());
    if (detail_.whereItGrows) {
        where_->setBlock(*detail_.whereItGrows);
    }
    setShown(where_, detail_.whereItGrows.has_value());
    diagnostics_->setDiagnostics(detail_.diagnosticsBlock);
}

std::vector<DetailActionChip*> DetailView::actionChips() const {
    return actions_->chips();
}

std::vector<NextCommandRow*> DetailView::nextCommandRows() const {
    return actions_->commandRows();
}

void DetailView::setIsActionPending(PendingTest isPending) {
    isPending_ = std::move(isPending);
    refreshPending();
}

void DetailView::refreshPending() {
    actions_->setIsActionPending(isPending_);
    artifact_->setIsActionPending(isPending_);
    where_->setIsActionPending(isPending_);
}

bool DetailView::isDiagnosticsExpanded() const {
    return diagnostics_->isExpanded();
}

void DetailView::setDiagnosticsExpanded(bool expanded) {
    diagnostics_->setExpanded(expanded);
}

void DetailView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        goBack();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DetailView::goBack() {
    if (onBack_) {
        onBack_();
    }
}

void DetailView::dispatch(const ActionDescriptor& action) {
    if (onDispatch_) {
        onDispatch_(action);
    }
}

} // namespace velmora
