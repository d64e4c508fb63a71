// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/SupportingFindingsSummary.h"

#include "views/kit/AccessibleValue.h"
#include "views/kit/VelmoraSymbols.h"

#include <QBoxLayout>
#include <QCoreApplication>

namespace velmora {

std::string supportingSummaryTitle(const std::vector<FindingSnapshot>& findings) {
    // English has no catalogue: the one form stands apart from the plural.
    const auto count = static_cast<int>(findings.size());
    if (count == 1) {
        //: The button that opens the one suspect beside the one the card shows.
        return QCoreApplication::translate("velmora::SupportingFindingsSummary", "1 other suspect")
            .toStdString();
    }
    //: The button that opens the suspects beside the one the card shows.
    return QCoreApplication::translate("velmora::SupportingFindingsSummary", "%n other suspects",
                                       nullptr, count)
        .toStdString();
}

std::string supportingSummaryDetail(const std::vector<FindingSnapshot>& findings) {
    constexpr std::size_t named = 2;
    std::string detail;
    for (std::size_t i = 0; i < findings.size() && i < named; ++i) {
        if (i > 0) {
            //: Between two application names in the list of other suspects.
            detail += QCoreApplication::translate("velmora::SupportingFindingsSummary", ", ")
                          .toStdString();
        }
        detail += findings[i].title;
    }
    if (findings.size() > named) {
        //: After the first names of the other suspects: how many more there are, as in
        //: "Firefox, Slack +3".
        detail += QCoreApplication::translate("velmora::SupportingFindingsSummary", " +%1")
                      .arg(findings.size() - named)
                      .toStdString();
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
