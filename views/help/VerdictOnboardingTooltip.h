// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VerdictTooltip.h"
#include "views/kit/SurfaceFrame.h"

#include <functional>

namespace velmora {

class PlainTextButton;
class VelmoraText;

// A labelled paragraph of the onboarding tooltip: the label over the text.
class TooltipLine : public QWidget {
    Q_OBJECT
public:
    TooltipLine(const QString& label, QWidget* parent = nullptr);
    void setText(const QString& text);

private:
    VelmoraText* text_;
};

// The one-time explanation of a verdict: its title with a "Dismiss" button, then what it
// means, when it is a false positive and what posture to take.
class VerdictOnboardingTooltip : public SurfaceFrame {
    Q_OBJECT
public:
    explicit VerdictOnboardingTooltip(QWidget* parent = nullptr);

    void setOnDismiss(std::function<void()> onDismiss) { onDismiss_ = std::move(onDismiss); }
    void setTooltip(const VerdictTooltip& tooltip);

private:
    VelmoraText* title_;
    PlainTextButton* dismiss_;
    TooltipLine* means_;
    TooltipLine* falsePositive_;
    TooltipLine* posture_;
    std::function<void()> onDismiss_;
};

} // namespace velmora
