// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"
#include "views/kit/WrappingRowLayout.h"

#include <functional>

namespace velmora {

class ArtifactActionButton;
class TextLineList;

// The evidence artifact kept for a finding: icon tile, title, body and reason, selectable
// meta lines and the artifact's actions, which continue on a second line rather than cut
// their labels when they do not fit one. Object names: "artifactBoundaryCard", inside it
// "artifactTitle", "artifactBody", "artifactReason", "metaLine:<n>", "artifactAction:<id>".
class ArtifactBoundaryCard : public Panel {
    Q_OBJECT
public:
    using ActionHandler = std::function<void(const ActionDescriptor&)>;
    using PendingTest = std::function<bool(const ActionDescriptor&)>;

    explicit ArtifactBoundaryCard(QWidget* parent = nullptr);

    // `family` is the title of the family the evidence was captured for.
    void setArtifactBoundary(const ArtifactBoundaryBlock& block, const std::string& family);
    void setOnDispatchAction(ActionHandler onDispatch) { onDispatch_ = std::move(onDispatch); }
    void setIsActionPending(PendingTest isPending);
    void refreshPending();
    std::vector<ArtifactActionButton*> actionButtons() const { return buttons_.widgets(); }

private:
    VelmoraText* title_;
    VelmoraText* body_;
    VelmoraText* reason_;
    TextLineList* metaLines_;
    QWidget* actionsRow_;
    KeyedWidgetList<ArtifactActionButton, WrappingRowLayout> buttons_;
    ActionHandler onDispatch_;
    PendingTest isPending_;
};

} // namespace velmora
