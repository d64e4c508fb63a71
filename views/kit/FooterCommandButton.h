// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/SpinningButton.h"
#include "views/kit/VelmoraPalette.h"

#include <QPointer>
#include <functional>
#include <string>

namespace velmora {

class MotionAnimator;

// One icon button of the footer's command cluster: a 32 x 30 tile with a glyph in its tint,
// filled with the tint while active; while pending disabled, dimmed, slightly shrunk and
// spinning. Its accessibility value is "Working", "Active" or "Ready".
class FooterCommandButton : public SpinningButton {
    Q_OBJECT
public:
    explicit FooterCommandButton(QWidget* parent = nullptr);

    void setSymbol(const std::string& iconName);
    const std::string& symbol() const { return symbol_; }
    // The accessibility label and the hover help.
    void setLabel(const QString& accessibilityLabel, const QString& helpText);
    void setTint(PaletteColor tint);
    void setPending(bool pending);
    bool isPending() const { return pending_; }
    // Changes of the active state animate with the `settings` motion.
    void setActive(bool active);
    bool isActive() const { return active_; }
    void setOnTap(std::function<void()> onTap) { onTap_ = std::move(onTap); }

    QSize sizeHint() const override { return {32, 30}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void syncValue();
    void syncShadow();

    std::string symbol_;
    PaletteColor tint_ = PaletteColor::coolStroke;
    bool pending_ = false;
    bool active_ = false;
    double activeLevel_ = 0;
    QPointer<MotionAnimator> animator_;
    std::function<void()> onTap_;
};

} // namespace velmora
