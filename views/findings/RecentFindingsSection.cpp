// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/RecentFindingsSection.h"

#include "state/RecentFindingTexts.h"

#include <QBoxLayout>

namespace velmora {

RecentFindingCard::RecentFindingCard(QWidget* parent)
    : Panel(PanelStyle{16,
                       paletteRef(PaletteColor::inset, 0.58),
                       {},
                       paletteRef(PaletteColor::insetStroke, 0.42),
                       1},
            parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 11, 14, 11);
    layout->setSpacing(10);
    dot_ = new DotView(7, paletteRef(PaletteColor::watchText, 0.75), 5, this);
    layout->addWidget(dot_, 0, Qt::AlignTop);

    auto* content = new QVBoxLayout;
    content->setSpacing(4);
    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    title_ = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 1, this);
    title_->setObjectName("title");
    lastSeen_ = makeText(TypeRole::caption, {}, paletteRef(PaletteColor::mutedText), 1, this);
    lastSeen_->setObjectName("lastSeen");
    lastSeen_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    top->addWidget(title_, 1, Qt::AlignVCenter);
    top->addSpacing(8);
    top->addWidget(lastSeen_, 0, Qt::AlignVCenter);
    content->addLayout(top);
    explanation_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText, 0.95), 2, this);
    explanation_->setObjectName("explanation");
    content->addWidget(explanation_);
    status_ = makeText(TypeRole::caption, QFont::DemiBold,
                       paletteRef(PaletteColor::watchText, 0.85), 1, this);
    status_->setObjectName("status");
    status_->setTextCase(VelmoraText::TextCase::lower);
    content->addWidget(status_);
    layout->addLayout(content, 1);
}

void RecentFindingCard::setFinding(const RecentFindingSnapshot& finding) {
    finding_ = finding;
    setObjectName(QString::fromStdString("recentFinding:" + finding.key));
    const PaletteColor tint = severityColor(finding.severity);
    dot_->setColor(paletteRef(tint, 0.75));
    title_->setText(QString::fromStdString(finding.title));
    lastSeen_->setText(QString::fromStdString(recentLastSeenText(finding)));
    explanation_->setText(QString::fromStdString(recentExplanation(finding)));
    status_->setText(QString::fromStdString(recentStatusLabel(finding)));
    status_->setColor(paletteRef(tint, 0.85));
}

RecentFindingsSection::RecentFindingsSection(QWidget* parent) : QWidget(parent) {
    setObjectName("recentFindingsSection");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto* heading =
        makeText(TypeRole::summary, {}, paletteRef(PaletteColor::mutedText, 0.92), 1, this);
    heading->setObjectName("recentFindingsHeading");
    heading->setTracking(1.0);
    //: The heading, in capitals, over apps that were suspects recently.
    heading->setText(tr("KEEP AN EYE ON THESE"));
    layout->addWidget(heading);
    list_ = new QWidget(this);
    auto* cards = new QVBoxLayout(list_);
    cards->setContentsMargins(0, 0, 0, 0);
    cards->setSpacing(8);
    cards_.attach(cards);
    layout->addWidget(list_);
}

void RecentFindingsSection::setRecentFindings(const std::vector<RecentFindingSnapshot>& findings) {
    if (hasFindings_ && findings == findings_) {
        return;
    }
    findings_ = findings;
    hasFindings_ = true;
    cards_.reconcile(
        findings_, [](const RecentFindingSnapshot& finding) { return finding.key; },
        [this](const RecentFindingSnapshot&) { return new RecentFindingCard(list_); },
        [](RecentFindingCard& card, const RecentFindingSnapshot& finding) {
            card.setFinding(finding);
        });
}

} // namespace velmora
