// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/AdvancedHistoryEmptyState.h"

#include "views/kit/ProgressSpinner.h"

#include <QBoxLayout>
#include <QResizeEvent>

namespace velmora {

AdvancedHistoryEmptyState::AdvancedHistoryEmptyState(QWidget* parent) : SectionBlock(16, parent) {
    setObjectName("advancedHistoryEmptyState");
    //: The heading, in capitals, of the history of recurring offenders.
    setTitle(tr("ADVANCED"));
    auto* column = new QVBoxLayout;
    column->setSpacing(6);
    title_ = makeText(TypeRole::title, {}, paletteRef(PaletteColor::neutralText), 0, this);
    title_->setObjectName("emptyTitle");
    message_ = makeText(TypeRole::body, {}, paletteRef(PaletteColor::mutedText), 0, this);
    message_->setObjectName("emptyMessage");
    column->addWidget(title_);
    column->addWidget(message_);
    content()->addLayout(column);
}

void AdvancedHistoryEmptyState::setTexts(const QString& title, const QString& message) {
    title_->setText(title);
    message_->setText(message);
}

QString AdvancedHistoryEmptyState::titleText() const {
    return title_->displayText();
}

QString AdvancedHistoryEmptyState::messageText() const {
    return message_->displayText();
}

AdvancedHistoryLoadingView::AdvancedHistoryLoadingView(QWidget* parent)
    : AdvancedHistoryEmptyState(parent),
      spinner_(new ProgressSpinner(ProgressSpinner::ControlSize::regular, this)) {
    setObjectName("advancedHistoryLoading");
    setTexts(tr("Loading advanced history"),
             tr("Velmora is compacting recurring findings, artifacts, and baseline evidence into "
                "offender summaries."));
    spinner_->setObjectName("loadingSpinner");
    spinner_->setAccessibleName(tr("Loading advanced history"));
    spinner_->raise();
}

void AdvancedHistoryLoadingView::resizeEvent(QResizeEvent* event) {
    AdvancedHistoryEmptyState::resizeEvent(event);
    const QSize side = spinner_->sizeHint();
    spinner_->setGeometry(
        QRect(QPoint((width() - side.width()) / 2, (height() - side.height()) / 2), side));
}

} // namespace velmora
