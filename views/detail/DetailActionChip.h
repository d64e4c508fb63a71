// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/ActionCapsuleButton.h"

namespace velmora {

// An action of the detail view: the label as sent on a capsule in the action-style colours;
// while pending a small spinner and "Working", disabled and dimmed.
class DetailActionChip : public ActionCapsuleButton {
    Q_OBJECT
public:
    explicit DetailActionChip(QWidget* parent = nullptr);
};

// An action of the artifact card: like a chip, but muted on a faint capsule whatever the
// action's style, with a slightly smaller spinner.
class ArtifactActionButton : public ActionCapsuleButton {
    Q_OBJECT
public:
    explicit ArtifactActionButton(QWidget* parent = nullptr);
};

} // namespace velmora
