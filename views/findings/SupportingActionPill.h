// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/ActionCapsuleButton.h"

namespace velmora {

// A quick action of a supporting row: its short label in muted caption text, no capsule,
// disabled and dimmed with a small spinner while pending.
class SupportingActionPill : public ActionCapsuleButton {
    Q_OBJECT
public:
    explicit SupportingActionPill(QWidget* parent = nullptr);
};

} // namespace velmora
