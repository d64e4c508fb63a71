// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"
#include "views/kit/SurfaceFrame.h"

namespace velmora {

class DotView;
class VelmoraText;

PaletteColor feedbackColor(ActionFeedbackKind kind);

// The outcome of the last action, as the backend reports it: a dot in the kind's colour, the
// title and the message, on a surface tinted by the kind.
class ActionFeedbackBanner : public SurfaceFrame {
    Q_OBJECT
public:
    explicit ActionFeedbackBanner(QWidget* parent = nullptr);

    void setFeedback(const ActionFeedbackSnapshot& feedback);

private:
    DotView* dot_;
    VelmoraText* title_;
    VelmoraText* message_;
};

} // namespace velmora
