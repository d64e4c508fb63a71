// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ReliefPlanSnapshot.h"
#include "views/kit/SurfaceFrame.h"

#include <functional>
#include <optional>

namespace velmora {

class ActionCapsuleButton;
class DotView;
class VelmoraText;

// The candidate the relief strip offers: the first recommended one, else the first; none for an
// empty list.
std::optional<ReliefCandidateSnapshot> primaryReliefCandidate(const ReliefPlanSnapshot& relief);

// The single most useful relief action beside the incident card: the plan's headline, the
// primary candidate's detail (each composed from its codes where the monitor sent them) and its
// action button, tinted by the plan's urgency.
class ReliefPlanStrip : public SurfaceFrame {
    Q_OBJECT
public:
    explicit ReliefPlanStrip(QWidget* parent = nullptr);

    void setOnDispatchAction(std::function<void(const ActionDescriptor&)> onDispatch) {
        onDispatch_ = std::move(onDispatch);
    }
    // Hides itself when the plan has no candidate.
    void setRelief(const ReliefPlanSnapshot& relief,
                   const std::function<bool(const ActionDescriptor&)>& isActionPending);

    ActionCapsuleButton* actionButton() const { return button_; }

private:
    DotView* dot_;
    VelmoraText* headline_;
    VelmoraText* detail_;
    ActionCapsuleButton* button_;
    std::function<void(const ActionDescriptor&)> onDispatch_;
};

PaletteColor reliefUrgencyColor(ReliefUrgencyTone urgency);

} // namespace velmora
