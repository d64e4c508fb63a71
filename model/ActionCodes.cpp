// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ActionCodes.h"

#include "base/Translate.h"
#include "model/PatternTable.h"

namespace velmora {
namespace {

using F = ActionFigure;

const std::vector<PatternEntry>& labels() {
    static const std::vector<PatternEntry> table{
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Inspect"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Capture Evidence"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Restart"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Recover"), {}},
        //: %1 is the app's name.
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Quit %1"), {F::name}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Force Quit"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Ignore for 24 Hours"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Cancel"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Start Tracking"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Restart with Tracking"), {}},
        //: Copies a command to the clipboard.
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Copy"), {}},
        //: Opens the kept evidence file.
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Open"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Show in Folder"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Copy Path"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Export Report"), {}},
        //: Copies the heap tracking's report to the clipboard.
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Copy Report"), {}},
        //: Opens the heap tracker's recording in its viewer.
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Open Recording"), {}},
        //: Stops the heap tracking under way.
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Stop"), {}},
        //: Starts the heap tracking that finds where in its code an app's memory grows.
        {VELMORA_TRANSLATE_NOOP("ActionLabels", "Find where it leaks"), {}},
    };
    return table;
}

const std::vector<PatternEntry>& confirmationTitles() {
    static const std::vector<PatternEntry> table{
        //: %1 is the app's name.
        {VELMORA_TRANSLATE_NOOP("ActionConfirmation", "Force quit %1?"), {F::name}},
        {VELMORA_TRANSLATE_NOOP("ActionConfirmation", "Find where %1 leaks?"), {F::name}},
        {VELMORA_TRANSLATE_NOOP("ActionConfirmation", "Restart %1 with tracking?"), {F::name}},
    };
    return table;
}

const std::vector<PatternEntry>& confirmationMessages() {
    static const std::vector<PatternEntry> table{
        {VELMORA_TRANSLATE_NOOP("ActionConfirmation",
                                "Its %1 processes stop at once and unsaved work is lost."),
         {F::count}},
        {VELMORA_TRANSLATE_NOOP("ActionConfirmation",
                                "Velmora attaches a heap tracker to %1 for %2; the process keeps "
                                "running, a little slower."),
         {F::process, F::span}},
        {VELMORA_TRANSLATE_NOOP(
             "ActionConfirmation",
             "Velmora quits %1, starts it again under a heap tracker for %2, then restarts it once "
             "more without it. Unsaved work in it is lost."),
         {F::name, F::span}},
    };
    return table;
}

const std::vector<PatternEntry>& feedbackTitles() {
    static const std::vector<PatternEntry> table{
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Action not available"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Nothing to act on"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Force quit cancelled"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Copy failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Path copied"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Command copied"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Report copied"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Copy failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Evidence capture failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Evidence captured"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Recovery failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Recovery completed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Recovery requested"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Recovery completed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Restart failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Restart completed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Force quit not allowed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Force quit failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Force quit completed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Force quit incomplete"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Ignored until restart"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Ignored for 24 hours"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Nothing to open"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Could not open"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Folder opened"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Artifact opened"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Report export failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Report exported"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Could not open the data folder"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Data folder opened"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Nothing tracked"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Heap tracking not possible"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Heap tracking failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Finding where it leaks"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Restart with tracking failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Restart with tracking failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Restart with tracking failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Restart with tracking failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Restarted under tracking"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Nothing to stop"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Stopping heap tracking"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Copy failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Copy failed"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Nothing to open"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Could not open"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Recording opened"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Where it grows"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Where it grows"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Heap tracking did not finish"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Request not understood"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Quitting"), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Settings not saved"), {}},
    };
    return table;
}

const std::vector<PatternEntry>& feedbackMessages() {
    static const std::vector<PatternEntry> table{
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Velmora does not know the action \"%1\"."),
         {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "It is no longer running; nothing was done."),
         {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Nothing was quit."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "No evidence artifact was captured for it."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback",
                                "No clipboard tool (wl-copy, xclip or xsel) could take it: %1"),
         {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Saved %1."), {F::path}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1 quit gracefully; about %2 given back."),
         {F::name, F::size}},
        {VELMORA_TRANSLATE_NOOP(
             "ActionFeedback",
             "%1 was asked to quit and is still running; Velmora will say when it has ended."),
         {F::name}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1 has ended."), {F::name}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback",
                                "%1 quit gracefully and started again as PID %2."),
         {F::name, F::pid}},
        {VELMORA_TRANSLATE_NOOP(
             "ActionFeedback",
             "Velmora never signals itself, its app or the desktop session's own processes."),
         {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1: %2 of %3 processes stopped."),
         {F::name, F::count, F::total}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1: %2 of %3 processes stopped."),
         {F::name, F::count, F::total}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback",
                                "%1 is hidden, but the setting could not be saved: %2"),
         {F::name, F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1 stays out of the rows until %2 tomorrow."),
         {F::name, F::clock}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "No evidence artifact was captured for it."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Opened %1."), {F::path}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Opened %1."), {F::path}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Saved %1."), {F::path}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Opened %1."), {F::path}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Velmora did not touch the process."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Tracking %1 for %2; the detail counts down."),
         {F::process, F::span}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback",
                                "%1 did not quit, so it was not started under tracking."),
         {F::name}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1 could not be started under tracking (%2); it "
                                                  "was started again without tracking as PID %3."),
         {F::name, F::detail, F::pid}},
        {VELMORA_TRANSLATE_NOOP(
             "ActionFeedback",
             "%1 could not be started under tracking (%2), and starting it again failed too: %3"),
         {F::name, F::detail, F::moreDetail}},
        {VELMORA_TRANSLATE_NOOP(
             "ActionFeedback",
             "%1 quit and is starting again under heaptrack; the detail counts down."),
         {F::name}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Velmora is not tracking it."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "What was recorded so far is read next."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "No heap tracking has finished for it."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "There is no such command."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "No heap tracking has finished for it."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback",
                                "heaptrack_gui is not installed (Debian package heaptrack-gui)."),
         {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Opened %1 in heaptrack_gui."), {F::path}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1: %2"), {F::name, F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback",
                                "%1: No allocation site kept memory while it was tracked."),
         {F::name}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "%1"), {F::detail}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "Velmora is shutting down."), {}},
        {VELMORA_TRANSLATE_NOOP("ActionFeedback", "The change applies until Velmora quits: %1"),
         {F::detail}},
    };
    return table;
}

} // namespace

ActionPattern labelPattern(ActionLabel label) {
    return patternIn("ActionLabels", labels(), label);
}

ActionPattern confirmationTitlePattern(ConfirmationCode code) {
    return patternIn("ActionConfirmation", confirmationTitles(), code);
}

ActionPattern confirmationMessagePattern(ConfirmationCode code) {
    return patternIn("ActionConfirmation", confirmationMessages(), code);
}

ActionPattern confirmationMessagePattern(ConfirmationCode code, const ActionFigures& figures) {
    if (code == ConfirmationCode::forceQuit && figures.count == 1) {
        return {"ActionConfirmation",
                //: The force quit's question for an app that runs a single process.
                VELMORA_TRANSLATE_NOOP("ActionConfirmation",
                                       "Its process stops at once and unsaved work is lost."),
                {}};
    }
    return confirmationMessagePattern(code);
}

ActionPattern feedbackTitlePattern(FeedbackCode code) {
    return patternIn("ActionFeedback", feedbackTitles(), code);
}

ActionPattern feedbackMessagePattern(FeedbackCode code) {
    return patternIn("ActionFeedback", feedbackMessages(), code);
}

std::optional<std::string> fillPattern(std::string_view text, const ActionPattern& pattern,
                                       const ActionFigures& figures, const FigureWriter& write) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool marker =
            text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
        const std::size_t index = marker ? static_cast<std::size_t>(text[i + 1] - '1') : 0;
        if (!marker || index >= pattern.figures.size()) {
            out += text[i];
            continue;
        }
        auto figure = write(pattern.figures[index], figures);
        if (!figure) {
            return std::nullopt;
        }
        out += *figure;
        ++i;
    }
    return out;
}

ActionFigures readActionFigures(const ObjectReader& in) {
    return {
        .name = in.optional<std::string>("name"),
        .process = in.optional<std::string>("process"),
        .pid = in.optional<int64_t>("pid"),
        .count = in.optional<int64_t>("count"),
        .total = in.optional<int64_t>("total"),
        .footprintKiB = in.optional<double>("footprintKiB"),
        .seconds = in.optional<double>("seconds"),
        .atSeconds = in.optional<double>("atSeconds"),
        .path = in.optional<std::string>("path"),
        .detail = in.optional<std::string>("detail"),
        .moreDetail = in.optional<std::string>("moreDetail"),
        .secondsLeft = in.optional<double>("secondsLeft"),
    };
}

ObjectWriter& writeActionFigures(ObjectWriter& out, const ActionFigures& figures) {
    return out.field("name", figures.name)
        .field("process", figures.process)
        .field("pid", figures.pid)
        .field("count", figures.count)
        .field("total", figures.total)
        .field("footprintKiB", figures.footprintKiB)
        .field("seconds", figures.seconds)
        .field("atSeconds", figures.atSeconds)
        .field("path", figures.path)
        .field("detail", figures.detail)
        .field("moreDetail", figures.moreDetail)
        .field("secondsLeft", figures.secondsLeft);
}

} // namespace velmora
