// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/help/VerdictOnboardingTooltip.h"

#include "views/help/TranslatedTooltip.h"
#include "views/kit/PlainTextButton.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>

namespace velmora {

TooltipLine::TooltipLine(const QString& label, QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* title =
        new VelmoraText(label, TypeRole::caption, {PaletteColor::mutedText, 0.86, {}}, this);
    title->setRole(TypeRole::caption, QFont::DemiBold);
    title->setLineLimit(1);
    text_ = new VelmoraText(QString(), TypeRole::body, {PaletteColor::mutedText, 1.0, {}}, this);
    column->addWidget(title);
    column->addWidget(text_);
}

void TooltipLine::setText(const QString& text) {
    text_->setText(text);
}

VerdictOnboardingTooltip::VerdictOnboardingTooltip(QWidget* parent) : SurfaceFrame(parent) {
    setObjectName(QStringLiteral("verdictOnboardingTooltip"));
    setRadius(14);
    setFill({PaletteColor::coolSurface, 1.0, {}});
    setBorder({PaletteColor::watchText, 0.24, {}});
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);

    auto* header = new QHBoxLayout();
    header->setSpacing(8);
    title_ =
        new VelmoraText(QString(), TypeRole::title, {PaletteColor::neutralText, 1.0, {}}, this);
    title_->setObjectName(QStringLiteral("tooltipTitle"));
    dismiss_ = new PlainTextButton(this);
    dismiss_->setObjectName(QStringLiteral("tooltipDismiss"));
    dismiss_->setLabel(tr("Dismiss"));
    dismiss_->setLabelFont(velmoraFont(TypeRole::caption, QFont::DemiBold));
    dismiss_->setColor({PaletteColor::mutedText, 1.0, {}});
    dismiss_->setOnTap([this] {
        if (onDismiss_) {
            onDismiss_();
        }
    });
    header->addWidget(title_, 1);
    header->addSpacing(8);
    header->addWidget(dismiss_, 0, Qt::AlignTop);
    column->addLayout(header);

    auto* lines = new QVBoxLayout();
    lines->setSpacing(5);
    //: What a verdict means (a small heading).
    means_ = new TooltipLine(tr("Means"), this);
    means_->setObjectName(QStringLiteral("tooltipMeans"));
    //: When a verdict can be wrong (a small heading).
    falsePositive_ = new TooltipLine(tr("False positive"), this);
    falsePositive_->setObjectName(QStringLiteral("tooltipFalsePositive"));
    //: What to do about a verdict (a small heading).
    posture_ = new TooltipLine(tr("Posture"), this);
    posture_->setObjectName(QStringLiteral("tooltipPosture"));
    lines->addWidget(means_);
    lines->addWidget(falsePositive_);
    lines->addWidget(posture_);
    column->addLayout(lines);
}

void VerdictOnboardingTooltip::setTooltip(const VerdictTooltip& shown) {
    const VerdictTooltip tooltip = translatedTooltip(shown);
    title_->setText(QString::fromStdString(tooltip.title));
    means_->setText(QString::fromStdString(tooltip.meaning));
    falsePositive_->setText(QString::fromStdString(tooltip.wrong));
    posture_->setText(QString::fromStdString(tooltip.posture));
}

} // namespace velmora
