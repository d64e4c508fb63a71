// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/WhereItGrowsCard.h"

#include "state/WhereTexts.h"
#include "views/detail/DetailActionList.h"
#include "views/kit/ProgressBar.h"
#include "views/kit/TextLineList.h"

#include <QBoxLayout>

namespace velmora {

// One allocation site: its plain-words line, then its stack one frame a line, on a cool tile.
class WhereSiteRow : public Panel {
public:
    explicit WhereSiteRow(QWidget* parent)
        : Panel(PanelStyle{8, paletteRef(PaletteColor::coolSurface, 0.72), {}, {}, 0}, parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(10, 8, 10, 8);
        layout->setSpacing(4);
        headline_ = makeText(TypeRole::body, QFont::DemiBold, paletteRef(PaletteColor::neutralText),
                             0, this);
        headline_->setObjectName("siteHeadline");
        frames_ = new TextLineList(TypeRole::caption, paletteRef(PaletteColor::mutedText), 2,
                                   "frame", this);
        frames_->setSelectable(true);
        layout->addWidget(headline_);
        layout->addWidget(frames_);
    }

    // `headline` is the site's line as shown.
    void setSite(const WhereSiteSnapshot& site, const std::string& headline) {
        headline_->setText(QString::fromStdString(headline));
        frames_->setLines(site.stack);
        setShown(frames_, !site.stack.empty());
        setAccessibleName(QString::fromStdString(headline));
    }

private:
    VelmoraText* headline_;
    TextLineList* frames_;
};

WhereItGrowsCard::WhereItGrowsCard(double radius, QWidget* parent) : SectionBlock(radius, parent) {
    setObjectName("whereItGrowsCard");
    //: The heading, in capitals, over the places in the app's code where its memory grows.
    setTitle(tr("WHERE IT GROWS"));
    //: The same heading as a screen reader says it.
    setAccessibleName(tr("Where it grows"));
    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    status_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::neutralText), 0, this);
    status_->setObjectName("whereStatus");
    progress_ = new ProgressBar(this);
    progress_->setObjectName("whereProgress");
    sitesList_ = new QWidget(this);
    auto* sites = new QVBoxLayout(sitesList_);
    sites->setContentsMargins(0, 0, 0, 0);
    sites->setSpacing(6);
    sites_.attach(sites);
    notes_ = new TextLineList(TypeRole::caption, paletteRef(PaletteColor::mutedText), 4,
                              "whereNote", this);
    notes_->setSelectable(true);
    actions_ = new DetailActionList(this);
    column->addWidget(status_);
    column->addWidget(progress_);
    column->addWidget(sitesList_);
    column->addWidget(notes_);
    column->addWidget(actions_);
    content()->addLayout(column);
}

WhereItGrowsCard::~WhereItGrowsCard() = default;

void WhereItGrowsCard::setBlock(const WhereItGrowsBlock& block) {
    status_->setText(QString::fromStdString(whereStatusShown(block)));
    status_->setColor(paletteRef(block.stage == WhereStage::blocked ? PaletteColor::suspectText
                                                                    : PaletteColor::neutralText));
    if (block.progress) {
        progress_->setValue(*block.progress);
    }
    setShown(progress_, block.progress.has_value());
    const std::vector<std::string> headlines = whereSitesShown(block);
    std::size_t index = 0;
    sites_.reconcile(
        block.sites, [](const WhereSiteSnapshot& site) { return site.headline; },
        [this](const WhereSiteSnapshot&) { return new WhereSiteRow(sitesList_); },
        [&index, &headlines](WhereSiteRow& row, const WhereSiteSnapshot& site) {
            row.setObjectName(QStringLiteral("whereSite:%1").arg(index));
            row.setSite(site, headlines[index++]);
        });
    setShown(sitesList_, !sites_.empty());
    const std::vector<std::string> notes = whereNotesShown(block);
    notes_->setLines(notes);
    setShown(notes_, !notes.empty());
    actions_->setActions(block.actions, whereCommandsShown(block));
    setShown(actions_, !block.actions.empty() || !block.commands.empty());
}

void WhereItGrowsCard::setOnDispatchAction(ActionHandler onDispatch) {
    actions_->setOnDispatchAction(std::move(onDispatch));
}

void WhereItGrowsCard::setIsActionPending(PendingTest isPending) {
    actions_->setIsActionPending(std::move(isPending));
}

} // namespace velmora
