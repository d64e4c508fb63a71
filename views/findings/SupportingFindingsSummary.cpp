// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/SupportingFindingsSummary.h"

#include "views/kit/AccessibleValue.h"
#include "views/kit/VelmoraSymbols.h"

#include <QBoxLayout>

namespace velmora {

std::string supportingSummaryTitle(const std::vector<FindingSnapshot>& findings) {
    if (findings.size() == 1) {
        return "1 other suspect";
    }
    return std::to_string(findings.size()) + " other suspects";
}

std::string supportingSummaryDetail(const std::vector<FindingSnapshot>& findings) {
    constexpr std::size_t named = 2;
    std::string detail;
    for (std::size_t i = 0; i < findings.size() && i < named; ++i) {
        if (i > 0) {
            detail += ", ";
        }
        detail += findings[i].title;
    }
    if (findings.size() > named) {
        detail += " +" + std::to_string(findings.size() - named);
    }
    return detail;
}

SupportingFindingsSummary::SupportingFindingsSummary(QWidget* parent)
    : PanelButton(PanelStyle{11,
                             paletteRef(PaletteColor::utilitySurface, 0.66),
                             {},
                             paletteRef(PaletteColor::utilityStroke, 0.36),
                             1},
                  parent) {
    setObjectName("supportingFindingsSummary");
    setToolTip(tr("Inspect supporting suspect"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(11, 8, 11, 8);
    layout->setSpacing(10);
    symbol_ =
        new SymbolView("velmora-list-indented", 12, paletteRef(PaletteColor::watchText), this);
    symbol_->setObjectName("summarySymbol");
    symbol_->setFrameSize(QSize(18, 18));
    layout->addWidget(symbol_, 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    title_ = makeText(TypeRole::caption, QFont::DemiBold, paletteRef(PaletteColor::neutralText), 1,
                      this);
    title_->setObjectName("summaryTitle");
    detail_ = makeText(TypeRole::caption, {}, paletteRef(PaletteColor::mutedText), 1, this);
    detail_->setObjectName("summaryDetail");
    texts->addWidget(title_);
    texts->addWidget(detail_);
    layout->addLayout(texts, 1);
    layout->addSpacing(8);
    auto* chevron = new SymbolView("go-next", 11, paletteRef(PaletteColor::mutedText, 0.76), this);
    chevron->setObjectName("summaryChevron");
    layout->addWidget(chevron, 0, Qt::AlignVCenter);
    setOnTap([this] {
        if (!findings_.empty() && onOpenDetail_) {
            onOpenDetail_(findings_.front());
        }
    });
    hide();
}

void SupportingFindingsSummary::setFindings(const std::vector<FindingSnapshot>& findings) {
    if (hasFindings_ && findings == findings_) {
        return;
    }
    findings_ = findings;
    hasFindings_ = true;
    setShown(this, !findings_.empty());
    if (findings_.empty()) {
        return;
    }
    const QString title = QString::fromStdString(supportingSummaryTitle(findings_));
    const QString detail = QString::fromStdString(supportingSummaryDetail(findings_));
    title_->setText(title);
    detail_->setText(detail);
    symbol_->setColor(ColorRef{severityColor(findings_.front().severity), 1.0, {}});
    setAccessibleName(title);
    setAccessibleValue(this, detail);
}

} // namespace velmora
