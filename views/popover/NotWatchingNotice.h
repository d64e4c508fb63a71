// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MonitorLinkState.h"

#include <chrono>
#include <optional>
#include <string>

namespace velmora {

// What the popover and the tray say while Velmora is not watching: built in one place from the
// view model's monitor link and its two clock readings, rendered by the views like any other
// state. The texts that count time change as time passes, so whoever shows them re-reads them
// (once a second is enough) while the notice is there. Before the monitor's first answer the
// notice only says that it is starting: there is nothing to explain yet, and no data.
struct NotWatchingNotice {
    std::string title;       // "Velmora is not watching", or the starting title
    std::string reason;      // "Monitor killed by signal 9"
    std::string next;        // "next try in 4 s", "starting it again…", "gave up after 5 tries"
                             // or empty (nothing planned)
    std::string lastUpdated; // "Last updated 2 min ago", "No data yet"
    bool restarting = false; // a new monitor was started and has not answered yet
    bool starting = false;   // the first monitor has not answered yet: only the title is set

    bool operator==(const NotWatchingNotice&) const = default;
};

// Absent while the monitor is watching.
std::optional<NotWatchingNotice>
notWatchingNotice(const MonitorLinkState& link,
                  std::optional<std::chrono::nanoseconds> nextAttemptIn,
                  std::optional<std::chrono::nanoseconds> lastGoodAnswerAge);

// "next try in 4 s" (whole seconds, rounded up: never "in 0 s" before it happens), "next try
// now" once due.
std::string nextTryText(std::chrono::nanoseconds in);
// "just now", "12 s ago", "2 min ago", "3 h ago", "2 d ago" (rounded down).
std::string agoText(std::chrono::nanoseconds age);

// The reason and what happens next: "Monitor killed by signal 9 · next try in 4 s".
std::string noticeDetail(const NotWatchingNotice& notice);
// The tray's tooltip: the title, the detail and the last update, one to a line (the title alone
// while starting).
std::string notWatchingToolTip(const NotWatchingNotice& notice);

} // namespace velmora
