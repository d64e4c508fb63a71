// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/SectionBlock.h"

#include "views/kit/VelmoraSymbols.h"

#include <QBoxLayout>

namespace velmora {

SectionBlock::SectionBlock(double radius, QWidget* parent)
    : Panel(PanelStyle{radius,
                       paletteRef(PaletteColor::inset),
                       {},
                       paletteRef(PaletteColor::insetStroke, 0.82),
                       1},
            parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(8);
    title_ = makeText(TypeRole::eyebrow, {}, paletteRef(PaletteColor::mutedText), 1, this);
    title_->setObjectName("blockTitle");
    title_->setTracking(1);
    layout->addWidget(title_);
    content_ = new QVBoxLayout;
    content_->setContentsMargins(0, 0, 0, 0);
    content_->setSpacing(0);
    layout->addLayout(content_);
}

void SectionBlock::setTitle(const QString& title) {
    title_->setText(title);
    setAccessibleName(title);
}

SurfaceHeader::SurfaceHeader(const QString& backLabel, const QString& eyebrow, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    back_ = new PanelButton(PanelStyle{PanelStyle::capsule,
                                       paletteRef(PaletteColor::coolSurface),
                                       {},
                                       paletteRef(PaletteColor::coolStroke, 0.55),
                                       1},
                            this);
    back_->setObjectName("backButton");
    back_->setAccessibleName(backLabel);
    back_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* backLayout = new QHBoxLayout(back_);
    backLayout->setContentsMargins(12, 8, 12, 8);
    backLayout->setSpacing(6);
    backLayout->addWidget(
        new SymbolView("go-previous", 11, paletteRef(PaletteColor::neutralText), back_), 0,
        Qt::AlignVCenter);
    auto* text = makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::neutralText),
                          1, back_);
    text->setObjectName("backLabel");
    text->setText(backLabel);
    backLayout->addWidget(text, 0, Qt::AlignVCenter);
    layout->addWidget(back_, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    auto* label = makeText(TypeRole::eyebrow, {}, paletteRef(PaletteColor::mutedText), 1, this);
    label->setObjectName("eyebrow");
    label->setTracking(1.2);
    label->setText(eyebrow);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(label, 0, Qt::AlignVCenter);
}

} // namespace velmora
