// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"
#include "demo/ScenarioParts.h"

namespace velmora::ScenarioLibrary {

using namespace parts;

namespace {

// Chrome's detail with a "Where it grows" section; "Find where it leaks" stays offered beside
// the evidence once tracking has finished.
PopoverSnapshot withWhere(WhereItGrowsBlock block, bool offerAgain) {
    PopoverSnapshot value = detailOpened();
    DetailSnapshot& detail = *value.selectedDetail;
    if (offerAgain) {
        detail.actBlock.actions.insert(detail.actBlock.actions.begin() + 1,
                                       action(ActionId::findWhereItLeaks, "Find where it leaks",
                                              ActionStyle::secondary, chromeKey));
    }
    detail.whereItGrows = std::move(block);
    return value;
}

} // namespace

const PopoverSnapshot& whereTracking() {
    static const PopoverSnapshot snapshot = withWhere(
        WhereItGrowsBlock{
            .stage = WhereStage::running,
            .status = "Tracking chrome (PID 48213) \u00B7 42 s left",
            .progress = 0.3,
            .sites = {},
            .notes = {"The process keeps running, a little slower, while heaptrack records its "
                      "allocations; stopping early keeps what was recorded."},
            .commands = {},
            .actions = {action(ActionId::stopWhereTracking, "Stop", ActionStyle::secondary,
                               chromeKey)},
        },
        false);
    return snapshot;
}

const PopoverSnapshot& whereItGrows() {
    static const PopoverSnapshot snapshot = withWhere(
        WhereItGrowsBlock{
            .stage = WhereStage::done,
            .status = "Tracked chrome (PID 48213) for 60 s; 193.6 MB allocated meanwhile was "
                      "not freed.",
            .progress = std::nullopt,
            .sites =
                {{"tab_cache.cc:212 in TabCache::Insert() kept 174.0 MB over 4812 calls",
                  {"TabCache::Insert(std::unique_ptr<TabSnapshot, std::default_delete<"
                   "TabSnapshot>>) \u00B7 tab_cache.cc:212 \u00B7 chrome",
                   "TabRestoreService::OnTabClosed(int) \u00B7 tab_restore_service.cc:88 \u00B7 "
                   "chrome",
                   "base::TaskAnnotator::RunTaskImpl(base::PendingTask&) \u00B7 "
                   "task_annotator.cc:201 \u00B7 libbase.so"}},
                 {"font_cache.cc:97 in FontCache::GetFontData() kept 12.3 MB over 311 calls",
                  {"FontCache::GetFontData(FontDescription const&, AtomicString const&) \u00B7 "
                   "font_cache.cc:97 \u00B7 libblink_platform.so"}}},
            .notes = {"Recording: ~/.local/share/velmora/artifacts/"
                      "where-48213-20261207T141502Z.zst, kept with the evidence."},
            .commands = {},
            .actions = {action(ActionId::copyWhereReport, "Copy Report", ActionStyle::secondary,
                               chromeKey),
                        action(ActionId::openWhereRecording, "Open Recording",
                               ActionStyle::secondary, chromeKey)},
        },
        true);
    return snapshot;
}

const PopoverSnapshot& whereRefused() {
    static const PopoverSnapshot snapshot = withWhere(
        WhereItGrowsBlock{
            .stage = WhereStage::blocked,
            .status = "The kernel lets a program attach only to its own children "
                      "(/proc/sys/kernel/yama/ptrace_scope is 1), so heaptrack cannot attach to "
                      "chrome (PID 48213).",
            .progress = std::nullopt,
            .sites = {},
            .notes = {"Restarting Chrome under heaptrack needs no attach: Velmora quits it, "
                      "tracks the new one, then starts it once more without tracking."},
            .commands =
                {{"sudo sysctl kernel.yama.ptrace_scope=0",
                  "Lets programs attach to any of your processes, until it is set back.",
                  action(ActionId::copyWhereCommand1, "Copy", ActionStyle::secondary, chromeKey)},
                 {"heaptrack -p 48213",
                  "Tracks it until you press Ctrl-C; read the recording with "
                  "heaptrack_print.",
                  action(ActionId::copyWhereCommand2, "Copy", ActionStyle::secondary, chromeKey)},
                 {"sudo sysctl kernel.yama.ptrace_scope=1", "Sets the kernel's rule back.",
                  action(ActionId::copyWhereCommand3, "Copy", ActionStyle::secondary, chromeKey)}},
            .actions = {action(ActionId::restartWithTracking, "Restart with Tracking",
                               ActionStyle::warning, chromeKey)},
        },
        true);
    return snapshot;
}

} // namespace velmora::ScenarioLibrary
