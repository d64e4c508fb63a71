// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/relief/ConfirmationOverlay.h"

#include "state/ActionTexts.h"
#include "views/kit/PlainTextButton.h"
#include "views/kit/SurfaceFrame.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>
#include <QPainter>
#include <algorithm>

namespace velmora {

namespace {

constexpr int narrowestDialog = 280;
constexpr int overlayMargin = 16; // the least room left beside a widened dialog

} // namespace

ConfirmationOverlay::ConfirmationOverlay(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("confirmationOverlay"));
    dialog_ = new SurfaceFrame(this);
    dialog_->setObjectName(QStringLiteral("confirmationDialog"));
    dialog_->setRadius(18);
    dialog_->setFill({PaletteColor::shell, 1.0, {}});
    dialog_->setBorder({PaletteColor::shellStroke, 0.9, {}});
    auto* column = new QVBoxLayout(dialog_);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(10);
    title_ =
        new VelmoraText(QString(), TypeRole::title, {PaletteColor::neutralText, 1.0, {}}, dialog_);
    title_->setObjectName(QStringLiteral("confirmationTitle"));
    message_ =
        new VelmoraText(QString(), TypeRole::body, {PaletteColor::mutedText, 1.0, {}}, dialog_);
    message_->setObjectName(QStringLiteral("confirmationMessage"));
    auto* buttons = new QHBoxLayout();
    buttons_ = buttons;
    cancel_ = new PlainTextButton(dialog_);
    cancel_->setObjectName(QStringLiteral("confirmationCancel"));
    cancel_->setColor({PaletteColor::neutralText, 1.0, {}});
    confirm_ = new PlainTextButton(dialog_);
    confirm_->setObjectName(QStringLiteral("confirmationConfirm"));
    confirm_->setColor({PaletteColor::criticalText, 1.0, {}});
    cancel_->setOnTap([this] {
        if (onDispatch_) {
            onDispatch_(confirmation_.cancelAction);
        }
    });
    confirm_->setOnTap([this] {
        if (onDispatch_) {
            onDispatch_(confirmation_.confirmAction);
        }
    });
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    buttons->addWidget(confirm_);
    column->addWidget(title_);
    column->addWidget(message_);
    column->addLayout(buttons);
    repaintOnAppearanceChange(this);
}

void ConfirmationOverlay::setConfirmation(const DestructiveConfirmationSnapshot& confirmation) {
    confirmation_ = confirmation;
    title_->setText(QString::fromStdString(confirmationTitleShown(confirmation)));
    message_->setText(QString::fromStdString(confirmationMessageShown(confirmation)));
    cancel_->setLabel(QString::fromStdString(actionLabelShown(confirmation.cancelAction)));
    confirm_->setLabel(QString::fromStdString(actionLabelShown(confirmation.confirmAction)));
    placeDialog();
}

void ConfirmationOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, 0.24f));
}

void ConfirmationOverlay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeDialog();
}

int ConfirmationOverlay::dialogWidth() const {
    const QMargins margins = dialog_->layout()->contentsMargins();
    const int buttons = buttons_->sizeHint().width() + margins.left() + margins.right();
    const int widest = std::max(narrowestDialog, width() - 2 * overlayMargin);
    return std::clamp(buttons, narrowestDialog, widest);
}

void ConfirmationOverlay::placeDialog() {
    const int w = dialogWidth();
    const int height = dialog_->layout()->heightForWidth(w);
    const int h = height > 0 ? height : dialog_->sizeHint().height();
    dialog_->setGeometry((width() - w) / 2, (this->height() - h) / 2, w, h);
}

} // namespace velmora
