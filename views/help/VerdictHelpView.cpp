// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/help/VerdictHelpView.h"

#include "views/help/TranslatedTooltip.h"
#include "views/kit/QtString.h"

#include <QBoxLayout>
#include <QEvent>

namespace velmora {

VerdictHelpLine::VerdictHelpLine(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    label_ = makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::mutedText, 0.86),
                      1, this);
    label_->setObjectName("helpLabel");
    label_->setUppercase(true);
    text_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 0, this);
    text_->setObjectName("helpText");
    text_->setSelectable(true);
    layout->addWidget(label_);
    layout->addWidget(text_);
}

void VerdictHelpLine::setLine(const QString& label, const QString& text) {
    label_->setText(label);
    text_->setText(text);
}

VerdictHelpBlock::VerdictHelpBlock(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(7);
    title_ = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 0, this);
    title_->setObjectName("helpTitle");
    layout->addWidget(title_);
    means_ = new VerdictHelpLine(this);
    means_->setObjectName("means");
    falsePositive_ = new VerdictHelpLine(this);
    falsePositive_->setObjectName("falsePositive");
    posture_ = new VerdictHelpLine(this);
    posture_->setObjectName("posture");
    layout->addWidget(means_);
    layout->addWidget(falsePositive_);
    layout->addWidget(posture_);
}

void VerdictHelpBlock::setTooltip(const VerdictTooltip& shown) {
    const VerdictTooltip tooltip = translatedTooltip(shown);
    setObjectName(qs("verdictHelp:" + tooltip.id));
    title_->setText(qs(tooltip.title));
    //: What a verdict means (a small heading, shown in capitals).
    means_->setLine(tr("Means"), qs(tooltip.meaning));
    //: When a verdict can be wrong (a small heading, shown in capitals).
    falsePositive_->setLine(tr("False positive"), qs(tooltip.wrong));
    //: What to do about a verdict (a small heading, shown in capitals).
    posture_->setLine(tr("Posture"), qs(tooltip.posture));
}

VerdictHelpView::VerdictHelpView(QWidget* parent) : QScrollArea(parent) {
    setObjectName("verdictHelpView");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(true);
    page_ = new QWidget;
    auto* layout = new QVBoxLayout(page_);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(18);
    // The system's second title size, semibold.
    QFont headingFont = page_->font();
    headingFont.setPixelSize(17);
    headingFont.setWeight(QFont::DemiBold);
    auto* heading = new VelmoraText(page_);
    heading->setObjectName("helpHeading");
    heading->setTextFont(headingFont);
    heading->setColor(paletteRef(PaletteColor::neutralText));
    heading->setText(tr("What do the verdicts mean?"));
    layout->addWidget(heading);
    blockList_ = new QWidget(page_);
    auto* blocks = new QVBoxLayout(blockList_);
    blocks->setContentsMargins(0, 0, 0, 0);
    blocks->setSpacing(18);
    blocks_.attach(blocks);
    layout->addWidget(blockList_);
    layout->addStretch(1);
    setWidget(page_);
    applyBackground();
    connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, this,
            [this] { applyBackground(); });
}

void VerdictHelpView::setCatalog(const VerdictTooltipCatalog& catalog) {
    if (catalog_ && *catalog_ == catalog) {
        return;
    }
    catalog_ = catalog;
    const auto tooltips = catalog.orderedTooltips();
    blocks_.reconcile(
        tooltips, [](const VerdictTooltip& tooltip) { return tooltip.id; },
        [this](const VerdictTooltip&) { return new VerdictHelpBlock(blockList_); },
        [](VerdictHelpBlock& block, const VerdictTooltip& tooltip) { block.setTooltip(tooltip); });
    setShown(blockList_, !tooltips.empty());
}

bool VerdictHelpView::event(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        applyBackground();
    }
    return QScrollArea::event(event);
}

// The page sits on the shell colour, under every edge of the window.
void VerdictHelpView::applyBackground() {
    const QColor shell = VelmoraPalette::current().color(PaletteColor::shell);
    for (QWidget* surface : {static_cast<QWidget*>(viewport()), page_}) {
        QPalette palette = surface->palette();
        if (palette.color(QPalette::Window) == shell) {
            continue;
        }
        palette.setColor(QPalette::Window, shell);
        surface->setPalette(palette);
        surface->setAutoFillBackground(true);
    }
}

} // namespace velmora
