// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/relief/ActionFeedbackBanner.h"

#include "state/ActionTexts.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>

namespace velmora {

PaletteColor feedbackColor(ActionFeedbackKind kind) {
    switch (kind) {
    case ActionFeedbackKind::success:
        return PaletteColor::allClearText;
    case ActionFeedbackKind::warning:
        return PaletteColor::suspectText;
    case ActionFeedbackKind::error:
        return PaletteColor::criticalText;
    }
    return PaletteColor::allClearText;
}

ActionFeedbackBanner::ActionFeedbackBanner(QWidget* parent) : SurfaceFrame(parent) {
    setObjectName(QStringLiteral("actionFeedbackBanner"));
    setRadius(15);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(10);
    dot_ = new DotView(9, {}, 4, this);
    auto* texts = new QVBoxLayout();
    texts->setSpacing(4);
    title_ =
        new VelmoraText(QString(), TypeRole::title, {PaletteColor::neutralText, 1.0, {}}, this);
    title_->setObjectName(QStringLiteral("feedbackTitle"));
    message_ = new VelmoraText(QString(), TypeRole::body, {PaletteColor::mutedText, 1.0, {}}, this);
    message_->setObjectName(QStringLiteral("feedbackMessage"));
    texts->addWidget(title_);
    texts->addWidget(message_);
    row->addWidget(dot_, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
}

void ActionFeedbackBanner::setFeedback(const ActionFeedbackSnapshot& feedback) {
    const PaletteColor colour = feedbackColor(feedback.kind);
    setFill({colour, feedback.kind == ActionFeedbackKind::warning ? 0.11 : 0.1, {}});
    setBorder({colour, 0.34, {}});
    dot_->setColor({colour, 1.0, {}});
    title_->setText(QString::fromStdString(feedbackTitleShown(feedback)));
    message_->setText(QString::fromStdString(feedbackMessageShown(feedback)));
}

} // namespace velmora
