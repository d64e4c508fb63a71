// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionId.h"
#include "monitor/actions/MonitorContext.h"

#include <string>

namespace velmora {

// The actions of heap tracking: "find_where_it_leaks" asks first (or says at once why it cannot
// be done), "confirm_where_it_leaks" attaches heaptrack to the family's largest growing process,
// "stop_where_tracking" ends it early, "restart_with_tracking" and its confirmation restart the
// family under heaptrack where attaching is not allowed, "copy_where_report",
// "open_where_recording" and "copy_where_command_N" act on the result. Tracking runs in a child
// the answers follow; this never waits for it.
class WhereActions {
public:
    explicit WhereActions(MonitorContext& context) : context_(context) {}

    // `family` is null when the key names no running family; the actions that start tracking
    // are only dispatched with one.
    void dispatch(ActionId id, const FamilyView* family, const std::string& key);
    // Reads the running tracking's progress and says once when it has finished.
    void follow();
    // Every finished tracking's report, for the exported report: the family, the text a person
    // reads and the sites with their stacks.
    Json exportJson() const;

private:
    void ask(const FamilyView& family);
    void attach(const FamilyView& family);
    void askRestart(const FamilyView& family);
    void restartUnderTracking(const FamilyView& family);
    void stop(const std::string& key);
    void copyReport(const std::string& key, const FamilyView* family);
    void openRecording(const std::string& key);
    void copyCommand(const std::string& key, std::size_t index);
    std::string bugReport(const WhereCapture& capture, const FamilyView* family) const;
    // The reason tracking of the family cannot start now, or nothing.
    std::optional<WhereFailure> obstacle(const FamilyView& family, bool attach) const;
    void refuse(const FamilyView& family, WhereFailure failure);
    void confirm(const FamilyView& family, ConfirmationCode code, ActionFigures figures,
                 ActionId confirmId, ActionLabel confirmLabel);
    WhereCapture captureOf(const FamilyView& family) const;

    MonitorContext& context_;
};

// The member heap tracking looks at: the one whose own growth the family is flagged for, else
// the one that has grown most above the lowest footprint the sampler saw, the largest first
// among equals; never a protected one.
const MemberView* largestGrowingMember(const FamilyView& family);

} // namespace velmora
