// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"

#include <QBoxLayout>
#include <QWidget>
#include <functional>

namespace velmora {

class PlainTextButton;
class SurfaceFrame;
class VelmoraText;

// The destructive-action confirmation: a dimming layer over the whole popover with a 280-pixel
// dialog in its centre offering the backend's cancel and confirm actions. A language whose two
// buttons need more room widens the dialog, up to the popover's margins.
class ConfirmationOverlay : public QWidget {
    Q_OBJECT
public:
    explicit ConfirmationOverlay(QWidget* parent = nullptr);

    void setOnDispatchAction(std::function<void(const ActionDescriptor&)> onDispatch) {
        onDispatch_ = std::move(onDispatch);
    }
    void setConfirmation(const DestructiveConfirmationSnapshot& confirmation);

    SurfaceFrame* dialog() const { return dialog_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeDialog();
    int dialogWidth() const;

    SurfaceFrame* dialog_;
    VelmoraText* title_;
    VelmoraText* message_;
    PlainTextButton* cancel_;
    PlainTextButton* confirm_;
    QBoxLayout* buttons_;
    DestructiveConfirmationSnapshot confirmation_;
    std::function<void(const ActionDescriptor&)> onDispatch_;
};

} // namespace velmora
