// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"

#include <chrono>
#include <optional>
#include <string>

namespace velmora {

// Why the monitor is not watching.
enum class MonitorLinkCause {
    none,           // it is watching
    exited,         // it ended by itself; `code` is its exit status
    killedBySignal, // something else killed it; `code` is the signal
    notAnswering,   // it missed the answer deadline or stopped reading or writing, and was ended
    notStarted,     // its executable could not be found or started
    notSampling,    // it answers, but its sampler has not completed a pass for three ticks
    unreadable,     // three answers in a row could not be read, and it was ended
    starting,       // it was started and has not answered yet: there is no data at all
};

// What happens next while the monitor is not watching.
enum class MonitorRecovery {
    none,      // nothing to do here: watching, or waiting for the monitor's own sampler
    scheduled, // a new monitor is started at `nextAttemptAt`
    starting,  // a new monitor was started and has not answered yet
    gaveUp,    // no automatic tries any more; asking for a restart tries again
};

// Whether Velmora is watching, and when it is not, why, what happens next and how old the
// last good data is. It is the UI's own state, never sent on the wire: the stdio client builds
// it from what it sees of the backend process and from the snapshot's `samplingStalledMs`;
// the view model carries it to the views like any other state.
//
// The time points are on one monotonic clock, the one `asOf` was read from when the value was
// made; rebased() moves them onto another clock.
struct MonitorLinkState {
    using Duration = std::chrono::nanoseconds;

    MonitorLinkCause cause = MonitorLinkCause::none;
    int code = 0; // the exit status (exited) or the signal (killedBySignal)
    MonitorRecovery recovery = MonitorRecovery::none;
    std::optional<Duration> nextAttemptAt;    // when recovery is scheduled
    std::optional<Duration> lastGoodAnswerAt; // when the data on screen was last fresh
    Duration asOf{0};

    bool watching() const { return cause == MonitorLinkCause::none; }
    // Whether any data came from a monitor: false before the first answer, when nothing that
    // could be shown exists.
    bool hasData() const { return watching() || lastGoodAnswerAt.has_value(); }

    bool operator==(const MonitorLinkState&) const = default;
};

// "stopped with status 3", "killed by signal 9", "not answering", "could not be started",
// "not sampling", "ended: its answers could not be read", "starting"; empty while watching.
std::string notWatchingReason(const MonitorLinkState& state);

// The same state with every time point moved from the clock of `state.asOf` onto a clock
// that reads `now` at this moment.
MonitorLinkState rebased(MonitorLinkState state, MonitorLinkState::Duration now);

// How long until the next try (never negative); absent when none is scheduled.
std::optional<MonitorLinkState::Duration> nextAttemptIn(const MonitorLinkState& state,
                                                        MonitorLinkState::Duration now);

// How old the last good data is; absent while watching or when there never was any.
std::optional<MonitorLinkState::Duration> lastGoodAnswerAge(const MonitorLinkState& state,
                                                            MonitorLinkState::Duration now);

// The state a snapshot stands for when its monitor says that sampling has stalled: not
// sampling, the data fresh as of the last completed pass. Absent for a snapshot that does not.
std::optional<MonitorLinkState> samplingStallOf(const PopoverSnapshot& snapshot,
                                                MonitorLinkState::Duration now);

} // namespace velmora
