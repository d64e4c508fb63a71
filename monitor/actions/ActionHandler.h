// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionId.h"
#include "monitor/actions/MonitorContext.h"
#include "monitor/actions/WhereActions.h"

#include <string>

namespace velmora {

// Carries out one "dispatchAction": detail selection, evidence capture, recover, restart,
// force quit with its confirmation, ignore, artifact and copy actions. Every action leaves an
// honest feedback, failures included. Targets are resolved from the family key in the latest
// view at the moment of the action.
class ActionHandler {
public:
    explicit ActionHandler(MonitorContext& context) : context_(context), where_(context) {}

    void dispatch(const std::string& actionId, const std::string& targetKey);
    // Reports processes that were asked to quit earlier and have ended since.
    void checkPendingExits();
    // Follows the heap tracking under way.
    void followTracking() { where_.follow(); }
    void exportReport(const std::function<PopoverSnapshot()>& compose);
    void openDataFolder();

private:
    // What an action acts on: the family key it names, and that family if it is still there.
    struct Target {
        ActionId id;
        const std::string& key;
        const FamilyView* family;
    };
    using Run = void (ActionHandler::*)(const Target&);
    struct Route {
        ActionId id;
        bool needsFamily; // it acts on processes that must still be running
        bool remembered;  // what it did goes into the history
        Run run;
    };
    static const Route& routeOf(ActionId id);

    void selectDetail(const Target& target);
    void dismissDetail(const Target& target);
    void capture(const Target& target);
    void openArtifactFile(const Target& target);
    void revealArtifact(const Target& target);
    void copyArtifactPath(const Target& target);
    void recover(const Target& target);
    void restart(const Target& target);
    void requestForceQuit(const Target& target);
    void confirmForceQuit(const Target& target);
    void cancelForceQuit(const Target& target);
    void ignore(const Target& target);
    void nothing(const Target& target);
    void copyFirstCommand(const Target& target);
    void copySecondCommand(const Target& target);
    void trackWhere(const Target& target);

    void copyCommand(const FamilyView& family, std::size_t index);
    void recover(const FamilyView& family);
    void restart(const FamilyView& family);
    void forceQuit(const FamilyView& family);
    void requestForceQuit(const FamilyView& family);
    void capture(const FamilyView& family);
    void ignore(const std::string& key, const std::string& title);
    void openArtifact(const std::string& key, bool folder);
    // Stores the action and the feedback it left in the history.
    void remember(const std::string& action, const std::string& key, const std::string& title);
    void recordOutcome(const FamilyView& family, TimelineEventCode code, ActionFigures figures,
                       TimelineTone tone);

    struct PendingExit {
        std::string key;
        std::string title;
        std::vector<UniqueFd> pidfds;
    };

    MonitorContext& context_;
    WhereActions where_;
    std::vector<PendingExit> pending_;
};

} // namespace velmora
