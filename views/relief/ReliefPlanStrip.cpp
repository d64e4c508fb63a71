// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/relief/ReliefPlanStrip.h"

#include "state/ReliefTexts.h"
#include "views/kit/ActionCapsuleButton.h"
#include "views/kit/QtString.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>
#include <algorithm>

namespace velmora {

std::optional<ReliefCandidateSnapshot> primaryReliefCandidate(const ReliefPlanSnapshot& relief) {
    const auto& candidates = relief.candidates;
    const auto recommended =
        std::find_if(candidates.begin(), candidates.end(),
                     [](const auto& candidate) { return candidate.recommended; });
    if (recommended != candidates.end()) {
        return *recommended;
    }
    if (!candidates.empty()) {
        return candidates.front();
    }
    return std::nullopt;
}

PaletteColor reliefUrgencyColor(ReliefUrgencyTone urgency) {
    switch (urgency) {
    case ReliefUrgencyTone::advisory:
        return PaletteColor::watchText;
    case ReliefUrgencyTone::actNow:
        return PaletteColor::suspectText;
    case ReliefUrgencyTone::critical:
        return PaletteColor::criticalText;
    }
    return PaletteColor::watchText;
}

ReliefPlanStrip::ReliefPlanStrip(QWidget* parent) : SurfaceFrame(parent) {
    setObjectName(QStringLiteral("reliefPlanStrip"));
    setRadius(12);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(10);
    dot_ = new DotView(8, {}, 0, this);
    auto* texts = new QVBoxLayout();
    texts->setSpacing(3);
    headline_ =
        new VelmoraText(QString(), TypeRole::caption, {PaletteColor::neutralText, 1.0, {}}, this);
    headline_->setObjectName(QStringLiteral("reliefHeadline"));
    headline_->setRole(TypeRole::caption, QFont::Bold);
    headline_->setLineLimit(1);
    detail_ =
        new VelmoraText(QString(), TypeRole::caption, {PaletteColor::mutedText, 1.0, {}}, this);
    detail_->setObjectName(QStringLiteral("reliefDetail"));
    detail_->setLineLimit(2);
    texts->addWidget(headline_);
    texts->addWidget(detail_);
    button_ = new ActionCapsuleButton(ActionCapsuleButton::relief(), this);
    button_->setObjectName(QStringLiteral("reliefActionButton"));
    button_->setOnTap([this] {
        if (onDispatch_) {
            onDispatch_(button_->action());
        }
    });
    row->addWidget(dot_, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    row->addSpacing(8); // the flexible spacer of at least 8 pixels
    row->addWidget(button_, 0, Qt::AlignVCenter);
}

void ReliefPlanStrip::setRelief(
    const ReliefPlanSnapshot& relief,
    const std::function<bool(const ActionDescriptor&)>& isActionPending) {
    // The texts in the person's language where the monitor sent their codes.
    const ReliefPlanSnapshot shown = withReliefTexts(relief);
    const auto candidate = primaryReliefCandidate(shown);
    setVisible(candidate.has_value());
    if (!candidate) {
        return;
    }
    const PaletteColor tint = reliefUrgencyColor(relief.urgency);
    setFill({tint, 0.1, {}});
    setBorder({tint, 0.32, {}});
    dot_->setColor({tint, 1.0, {}});
    headline_->setText(qs(shown.headline));
    detail_->setText(qs(candidate->detail));
    button_->setAction(candidate->action);
    button_->setPending(isActionPending && isActionPending(candidate->action));
    // The strip reads as one element: headline, detail and the action.
    //: The relief plan as a screen reader says it: its headline, then the candidate's detail.
    const QString name = tr("%1, %2").arg(headline_->text(), detail_->text());
    if (accessibleName() != name) {
        setAccessibleName(name);
    }
}

} // namespace velmora
