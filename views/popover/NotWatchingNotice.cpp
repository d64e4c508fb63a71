// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/NotWatchingNotice.h"

#include "base/Translate.h"
#include "link/RestartPolicy.h"
#include "views/kit/LocalizedText.h"

namespace velmora {

using std::chrono::nanoseconds;

namespace {

// Why the monitor is not watching, as a whole sentence (the words around the exit status or
// the signal are the language's to order).
std::string reasonText(const MonitorLinkState& link) {
    switch (link.cause) {
    case MonitorLinkCause::none:
        return {};
    case MonitorLinkCause::exited:
        //: %1 is the monitor's exit status, a number.
        return withArguments(translate("NotWatchingNotice", "Monitor stopped with status %1"),
                             {std::to_string(link.code)});
    case MonitorLinkCause::killedBySignal:
        //: %1 is the number of the signal that ended the monitor.
        return withArguments(translate("NotWatchingNotice", "Monitor killed by signal %1"),
                             {std::to_string(link.code)});
    case MonitorLinkCause::notAnswering:
        return translate("NotWatchingNotice", "Monitor not answering");
    case MonitorLinkCause::notStarted:
        return translate("NotWatchingNotice", "Monitor could not be started");
    case MonitorLinkCause::notSampling:
        //: The monitor runs but has stopped reading the processes' memory.
        return translate("NotWatchingNotice", "Monitor not sampling");
    case MonitorLinkCause::unreadable:
        return translate("NotWatchingNotice", "Monitor ended: its answers could not be read");
    case MonitorLinkCause::starting:
        return translate("NotWatchingNotice", "Monitor starting");
    }
    return {};
}

// What happens next, as the second half of the detail line; empty when nothing is planned (a
// monitor whose sampler stalled is left to recover, or to the person's restart).
std::string recoveryText(const MonitorLinkState& link, std::optional<nanoseconds> nextAttemptIn) {
    switch (link.recovery) {
    case MonitorRecovery::none:
        return {};
    case MonitorRecovery::scheduled:
        return nextTryText(nextAttemptIn.value_or(nanoseconds{0}));
    case MonitorRecovery::starting:
        //: Velmora is starting its monitor again after it stopped.
        return translate("NotWatchingNotice", "starting it again\u2026");
    case MonitorRecovery::gaveUp: {
        const int tries = RestartPolicy::failuresToGiveUp;
        //: Velmora stopped restarting its monitor after this many failed starts.
        return translate("NotWatchingNotice", "gave up after %n tries", nullptr, tries);
    }
    }
    return {};
}

} // namespace

std::string nextTryText(nanoseconds in) {
    using namespace std::chrono;
    if (in <= nanoseconds{0}) {
        //: The monitor is about to be started again.
        return translate("NotWatchingNotice", "next try now");
    }
    const auto whole = static_cast<int>(ceil<seconds>(in).count());
    //: The monitor is started again in this many seconds.
    return translate("NotWatchingNotice", "next try in %n s", nullptr, whole);
}

std::string agoText(nanoseconds age) {
    return localizedAgo(std::chrono::duration_cast<std::chrono::seconds>(age).count(), kNoticeAgo)
        .toStdString();
}

std::optional<NotWatchingNotice> notWatchingNotice(const MonitorLinkState& link,
                                                   std::optional<nanoseconds> nextAttemptIn,
                                                   std::optional<nanoseconds> lastGoodAnswerAge) {
    if (link.watching()) {
        return std::nullopt;
    }
    NotWatchingNotice notice;
    if (link.cause == MonitorLinkCause::starting) {
        notice.title = translate("NotWatchingNotice", "Velmora is starting its monitor\u2026");
        notice.starting = true;
        return notice;
    }
    notice.title = translate("NotWatchingNotice", "Velmora is not watching");
    notice.reason = reasonText(link);
    notice.next = recoveryText(link, nextAttemptIn);
    //: %1 is how long ago, as in "2 min ago".
    notice.lastUpdated = lastGoodAnswerAge
                             ? withArguments(translate("NotWatchingNotice", "Last updated %1"),
                                             {agoText(*lastGoodAnswerAge)})
                             : translate("NotWatchingNotice", "No data yet");
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
