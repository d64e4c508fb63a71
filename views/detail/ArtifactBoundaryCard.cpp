// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/ArtifactBoundaryCard.h"

#include "state/DetailTexts.h"
#include "views/detail/DetailActionChip.h"
#include "views/kit/TextLineList.h"
#include "views/kit/VelmoraSymbols.h"

#include <QBoxLayout>
#include <QDateTime>

namespace velmora {

ArtifactBoundaryCard::ArtifactBoundaryCard(QWidget* parent)
    : Panel(PanelStyle{8,
                       paletteRef(PaletteColor::warmSurface),
                       {},
                       paletteRef(PaletteColor::warmStroke, 0.62),
                       1},
            parent) {
    setObjectName("artifactBoundaryCard");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    auto* tile =
        new Panel(PanelStyle{9, paletteRef(PaletteColor::suspectText, 0.12), {}, {}, 0}, this);
    tile->setFixedSize(28, 28);
    auto* tileLayout = new QHBoxLayout(tile);
    tileLayout->setContentsMargins(0, 0, 0, 0);
    tileLayout->addWidget(
        new SymbolView("velmora-document-search", 16, paletteRef(PaletteColor::suspectText), tile),
        0, Qt::AlignCenter);
    top->addWidget(tile, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    title_ = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 0, this);
    title_->setObjectName("artifactTitle");
    body_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 0, this);
    body_->setObjectName("artifactBody");
    reason_ = makeText(TypeRole::caption, {}, paletteRef(PaletteColor::suspectText), 0, this);
    reason_->setObjectName("artifactReason");
    texts->addWidget(title_);
    texts->addWidget(body_);
    texts->addWidget(reason_);
    top->addLayout(texts, 1);
    layout->addLayout(top);

    metaLines_ = new TextLineList(TypeRole::caption, paletteRef(PaletteColor::mutedText), 4,
                                  "metaLine", this);
    metaLines_->setSelectable(true);
    layout->addWidget(metaLines_);

    actionsRow_ = new QWidget(this);
    actionsRow_->setObjectName("artifactActions");
    buttons_.attach(new WrappingRowLayout(6, 6, actionsRow_));
    layout->addWidget(actionsRow_);
}

void ArtifactBoundaryCard::setArtifactBoundary(const ArtifactBoundaryBlock& block,
                                               const std::string& family) {
    const auto now = static_cast<double>(QDateTime::currentSecsSinceEpoch());
    title_->setText(QString::fromStdString(artifactTitleShown(block)));
    body_->setText(QString::fromStdString(artifactBodyShown(block)));
    reason_->setText(QString::fromStdString(artifactReasonShown(block, family, now)));
    metaLines_->setLines(artifactMetaLinesShown(block));
    buttons_.reconcile(
        block.actions, [](const ActionDescriptor& action) { return action.id; },
        [this](const ActionDescriptor&) { return new ArtifactActionButton(actionsRow_); },
        [this](ArtifactActionButton& button, const ActionDescriptor& action) {
            button.setObjectName(QString::fromStdString("artifactAction:" + action.id));
            button.setAction(action);
            button.setPending(isPending_ && isPending_(action));
            button.setOnTap([this, action] {
                if (onDispatch_) {
                    onDispatch_(action);
                }
            });
        });
    setShown(actionsRow_, !block.actions.empty());
}

void ArtifactBoundaryCard::setIsActionPending(PendingTest isPending) {
    isPending_ = std::move(isPending);
    refreshPending();
}

void ArtifactBoundaryCard::refreshPending() {
    for (auto* button : buttons_.widgets()) {
        button->setPending(isPending_ && isPending_(button->action()));
    }
}

} // namespace velmora
