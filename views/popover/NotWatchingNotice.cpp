// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/NotWatchingNotice.h"

#include "base/AgoText.h"
#include "link/RestartPolicy.h"

namespace velmora {

using std::chrono::nanoseconds;

namespace {

// What happens next, as the second half of the detail line; empty when nothing is planned (a
// monitor whose sampler stalled is left to recover, or to the person's restart).
std::string recoveryText(const MonitorLinkState& link, std::optional<nanoseconds> nextAttemptIn) {
    switch (link.recovery) {
    case MonitorRecovery::none:
        return {};
    case MonitorRecovery::scheduled:
        return nextTryText(nextAttemptIn.value_or(nanoseconds{0}));
    case MonitorRecovery::starting:
        return "starting it again\u2026";
    case MonitorRecovery::gaveUp:
        return "gave up after " + std::to_string(RestartPolicy::failuresToGiveUp) + " tries";
    }
    return {};
}

} // namespace

std::string nextTryText(nanoseconds in) {
    using namespace std::chrono;
    if (in <= nanoseconds{0}) {
        return "next try now";
    }
    const auto whole = ceil<seconds>(in);
    return "next try in " + std::to_string(whole.count()) + " s";
}

std::string agoText(nanoseconds age) {
    return agoText(std::chrono::duration_cast<std::chrono::seconds>(age).count(), kNoticeAgo);
}

std::optional<NotWatchingNotice> notWatchingNotice(const MonitorLinkState& link,
                                                   std::optional<nanoseconds> nextAttemptIn,
                                                   std::optional<nanoseconds> lastGoodAnswerAge) {
    if (link.watching()) {
        return std::nullopt;
    }
    NotWatchingNotice notice;
    if (link.cause == MonitorLinkCause::starting) {
        notice.title = NotWatchingNotice::startingTitle;
        notice.starting = true;
        return notice;
    }
    notice.title = "Velmora is not watching";
    notice.reason = "Monitor " + notWatchingReason(link);
    notice.next = recoveryText(link, nextAttemptIn);
    notice.lastUpdated =
        lastGoodAnswerAge ? "Last updated " + agoText(*lastGoodAnswerAge) : "No data yet";
    notice.restarting = link.recovery == MonitorRecovery::starting;
    return notice;
}

std::string noticeDetail(const NotWatchingNotice& notice) {
    return notice.next.empty() ? notice.reason : notice.reason + " \u00b7 " + notice.next;
}

std::string notWatchingToolTip(const NotWatchingNotice& notice) {
    if (notice.starting) {
        return notice.title;
    }
    return notice.title + "\n" + noticeDetail(notice) + "\n" + notice.lastUpdated;
}

} // namespace velmora
