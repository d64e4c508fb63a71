#include "views/DetailView.h"

#include "views/ArtifactBoundaryCard.h"
#include "views/DetailActionChip.h"
#include "views/DiagnosticsDisclosure.h"
#include "views/IncidentTimelineList.h"
#include "views/NextCommandRow.h"
#include "views/SectionBlock.h"
#include "views/TextLineList.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QShortcut>

namespace velmora {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr double blockRadius = 8;

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

    whyBlock_ = new SectionBlock(blockRadius, this);
    whyBlock_->setObjectName("whyBlock");
    whyBlock_->setTitle(QStringLiteral("WHY"));
    reasons_ = new TextLineList(TypeRole::body, paletteRef(PaletteColor::mutedText), 5, "reason",
                                whyBlock_);
    whyBlock_->content()->addWidget(reasons_);
    layout->addWidget(whyBlock_);

    timelineBlock_ = new SectionBlock(blockRadius, this);
    timelineBlock_->setObjectName("timelineBlock");
    timelineBlock_->setTitle(QStringLiteral("TIMELINE"));
    timeline_ = new IncidentTimelineList(timelineBlock_);
    timelineBlock_->content()->addWidget(timeline_);
    timelineBlock_->hide();
    layout->addWidget(timelineBlock_);

    layout->addWidget(buildActBlock());
    artifact_ = new ArtifactBoundaryCard(this);
    artifact_->setOnDispatchAction([this](const ActionDescriptor& action) { dispatch(action); });
    artifact_->hide();
    layout->addWidget(artifact_);
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
    auto* header =
        new SurfaceHeader(QStringLiteral("Back to Suspects"), QStringLiteral("DETAIL"), this);
    header->backButton()->setToolTip(QStringLiteral("Back to Suspects (Esc)"));
    header->backButton()->setOnTap([this] { goBack(); });
    return header;
}

SectionBlock* DetailView::buildVerdictBlock() {
    auto* block = new SectionBlock(blockRadius, this);
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
    auto* block = new SectionBlock(blockRadius, this);
    block->setObjectName("actBlock");
    block->setTitle(QStringLiteral("ACT"));
    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    // The chips continue on a new line rather than cut a label when they do not fit one.
    chipsRow_ = new QWidget(block);
    chipsRow_->setObjectName("actionChips");
    chips_.attach(new WrappingRowLayout(6, 6, chipsRow_));
    commandsList_ = new QWidget(block);
    auto* commands = new QVBoxLayout(commandsList_);
    commands->setContentsMargins(0, 0, 0, 0);
    commands->setSpacing(8);
    commands_.attach(commands);
    column->addWidget(chipsRow_);
    column->addWidget(commandsList_);
    block->content()->addLayout(column);
    return block;
}

void DetailView::setDetail(const DetailSnapshot& detail) {
    if (hasDetail_ && detail == detail_) {
        return;
    }
    detail_ = detail;
    hasDetail_ = true;
    verdictBlock_->setTitle(qs(detail_.title));
    verdictLabel_->setText(qs(detail_.verdictBlock.verdictLabel));
    confidenceLabel_->setText(qs(detail_.verdictBlock.confidenceLabel));
    explanation_->setText(qs(detail_.verdictBlock.explanation));
    reasons_->setLines(detail_.whyBlock.reasons);
    timeline_->setItems(detail_.timeline);
    setShown(timelineBlock_, !detail_.timeline.empty());
    showActions();
    if (detail_.artifactBoundary) {
        artifact_->setArtifactBoundary(*detail_.artifactBoundary);
    }
    setShown(artifact_, detail_.artifactBoundary.has_value());
    diagnostics_->setDiagnostics(detail_.diagnosticsBlock);
}

void DetailView::showActions() {
    chips_.reconcile(
        detail_.actBlock.actions, [](const ActionDescriptor& action) { return action.id; },
        [this](const ActionDescriptor&) { return new DetailActionChip(chipsRow_); },
        [this](DetailActionChip& chip, const ActionDescriptor& action) {
            chip.setObjectName(qs("actionChip:" + action.id));
            chip.setAction(action);
            chip.setPending(pending(action));
            chip.setOnTap([this, action] { dispatch(action); });
        });
    setShown(chipsRow_, !chips_.empty());
    commands_.reconcile(
        detail_.actBlock.nextCommands,
        [](const NextCommandDescriptor& command) { return identity(command); },
        [this](const NextCommandDescriptor&) { return new NextCommandRow(commandsList_); },
        [this](NextCommandRow& row, const NextCommandDescriptor& command) {
            row.setNextCommand(command);
            row.setPending(pending(command.action));
            row.setOnCopy([this, action = command.action] { dispatch(action); });
        });
    setShown(commandsList_, !commands_.empty());
}

void DetailView::setIsActionPending(PendingTest isPending) {
    isPending_ = std::move(isPending);
    refreshPending();
}

void DetailView::refreshPending() {
    for (auto* chip : chips_.widgets()) {
        chip->setPending(pending(chip->action()));
    }
    for (auto* row : commands_.widgets()) {
        row->setPending(pending(row->chip()->action()));
    }
    artifact_->setIsActionPending(isPending_);
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
