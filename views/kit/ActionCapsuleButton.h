// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "views/kit/DrawnText.h"
#include "views/kit/SpinningButton.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraType.h"

#include <functional>
#include <optional>

namespace velmora {

// The capsule button of an ActionDescriptor: the incident card's next action, the relief
// strip's action, the detail view's chips and artifact buttons. Coloured by the action's style;
// while pending it is disabled, dimmed and shows a spinning indicator before its label. It
// prefers the width of its whole label; given less, it elides the label at the tail and never
// paints past its padding.
class ActionCapsuleButton : public SpinningButton, public DrawsText {
    Q_OBJECT
public:
    enum class LabelMode { display, raw };

    struct Metrics {
        int paddingX = 11;
        int paddingY = 6;
        TypeRole role = TypeRole::caption;
        std::optional<QFont::Weight> weight = QFont::DemiBold;
        double pendingOpacity = 0.9;
        double spinnerScale = 0.62;
        bool workingWhilePending = false; // "Working" replaces the label while pending
        LabelMode labelMode = LabelMode::display;
    };

    // Card buttons: 11 x 6, caption semibold, short labels, spinner at 0.62, opacity 0.9.
    static Metrics card();
    // Relief strip: as the card, padded 10 x 5.
    static Metrics relief();
    // Detail chips: 10 x 6, caption, the label as sent, "Working" while pending, 0.65, 0.92.
    static Metrics chip();

    // The style colours: text and capsule fill.
    static ColorRef textColor(ActionStyle style);
    static ColorRef fillColor(ActionStyle style);

    explicit ActionCapsuleButton(Metrics metrics = card(), QWidget* parent = nullptr);

    void setAction(const ActionDescriptor& action);
    const ActionDescriptor& action() const { return action_; }
    void setPending(bool pending);
    bool isPending() const { return pending_; }
    // Colours that replace the style colours (artifact buttons look alike whatever the style).
    void setColorOverride(std::optional<std::pair<ColorRef, ColorRef>> textAndFill);
    void setOnTap(std::function<void()> onTap) { onTap_ = std::move(onTap); }

    // The text the button shows now, and as it fits the current width.
    QString labelText() const;
    QString shownLabel() const;
    std::vector<DrawnText> drawnTexts() const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct LabelPlacement {
        QString text;
        bool elided = false;
        double spinnerX = 0; // left edge of the spinner's slot
        double textX = 0;
    };

    void refresh(bool geometry);
    QFont labelFont() const;
    LabelPlacement placeLabel() const;

    Metrics metrics_;
    ActionDescriptor action_;
    bool pending_ = false;
    std::optional<std::pair<ColorRef, ColorRef>> override_;
    std::function<void()> onTap_;
};

} // namespace velmora
