// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MonitorLinkState.h"

#include <algorithm>

namespace velmora {

using Duration = MonitorLinkState::Duration;

std::string notWatchingReason(const MonitorLinkState& state) {
    switch (state.cause) {
    case MonitorLinkCause::none:
        return {};
    case MonitorLinkCause::exited:
        return "stopped with status " + std::to_string(state.code);
    case MonitorLinkCause::killedBySignal:
        return "killed by signal " + std::to_string(state.code);
    case MonitorLinkCause::notAnswering:
        return "not answering";
    case MonitorLinkCause::notStarted:
        return "could not be started";
    case MonitorLinkCause::notSampling:
        return "not sampling";
    case MonitorLinkCause::unreadable:
        return "ended: its answers could not be read";
    case MonitorLinkCause::starting:
        return "starting";
    }
    return {};
}

MonitorLinkState rebased(MonitorLinkState state, Duration now) {
    const Duration shift = now - state.asOf;
    if (state.nextAttemptAt) {
        *state.nextAttemptAt += shift;
    }
    if (state.lastGoodAnswerAt) {
        *state.lastGoodAnswerAt += shift;
    }
    state.asOf = now;
    return state;
}

std::optional<Duration> nextAttemptIn(const MonitorLinkState& state, Duration now) {
    if (state.recovery != MonitorRecovery::scheduled || !state.nextAttemptAt) {
        return std::nullopt;
    }
    return std::max(Duration{0}, *state.nextAttemptAt - now);
}

std::optional<Duration> lastGoodAnswerAge(const MonitorLinkState& state, Duration now) {
    if (state.watching() || !state.lastGoodAnswerAt) {
        return std::nullopt;
    }
    return std::max(Duration{0}, now - *state.lastGoodAnswerAt);
}

std::optional<MonitorLinkState> samplingStallOf(const PopoverSnapshot& snapshot, Duration now) {
    if (!snapshot.samplingStalledMs) {
        return std::nullopt;
    }
    MonitorLinkState state;
    state.cause = MonitorLinkCause::notSampling;
    state.asOf = now;
    // Capped at about 30 years, so that no value the wire allows overflows the clock.
    const uint64_t stalledMs = std::min<uint64_t>(*snapshot.samplingStalledMs, uint64_t{1} << 40);
    state.lastGoodAnswerAt = now - std::chrono::duration_cast<Duration>(
                                       std::chrono::milliseconds(static_cast<int64_t>(stalledMs)));
    return state;
}

} // namespace velmora
