// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/NotWatchingNotice.h"

#include "link/RestartPolicy.h"
#include "views/kit/LocalizedText.h"

#include <QCoreApplication>

namespace velmora {

using std::chrono::nanoseconds;

namespace {

QString text(const char* source, int n = -1) {
    return QCoreApplication::translate("velmora::NotWatchingNotice", source, nullptr, n);
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

// Why the monitor is not watching, as a whole sentence (the words around the exit status or
// the signal are the language's to order).
std::string reasonText(const MonitorLinkState& link) {
    switch (link.cause) {
    case MonitorLinkCause::none:
        return {};
    case MonitorLinkCause::exited:
        //: %1 is the monitor's exit status, a number.
        return utf8(text("Monitor stopped with status %1").arg(link.code));
    case MonitorLinkCause::killedBySignal:
        //: %1 is the number of the signal that ended the monitor.
        return utf8(text("Monitor killed by signal %1").arg(link.code));
    case MonitorLinkCause::notAnswering:
        return utf8(text("Monitor not answering"));
    case MonitorLinkCause::notStarted:
        return utf8(text("Monitor could not be started"));
    case MonitorLinkCause::notSampling:
        //: The monitor runs but has stopped reading the processes' memory.
        return utf8(text("Monitor not sampling"));
    case MonitorLinkCause::unreadable:
        return utf8(text("Monitor ended: its answers could not be read"));
    case MonitorLinkCause::starting:
        return utf8(text("Monitor starting"));
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
        return utf8(text("starting it again\u2026"));
    case MonitorRecovery::gaveUp:
        //: Velmora stopped restarting its monitor after this many failed starts.
        return utf8(text("gave up after %n tries", RestartPolicy::failuresToGiveUp));
    }
    return {};
}

} // namespace

std::string nextTryText(nanoseconds in) {
    using namespace std::chrono;
    if (in <= nanoseconds{0}) {
        //: The monitor is about to be started again.
        return utf8(text("next try now"));
    }
    const auto whole = ceil<seconds>(in);
    //: The monitor is started again in this many seconds.
    return utf8(text("next try in %n s", static_cast<int>(whole.count())));
}

std::string agoText(nanoseconds age) {
    return utf8(
        localizedAgo(std::chrono::duration_cast<std::chrono::seconds>(age).count(), kNoticeAgo));
}

std::optional<NotWatchingNotice> notWatchingNotice(const MonitorLinkState& link,
                                                   std::optional<nanoseconds> nextAttemptIn,
                                                   std::optional<nanoseconds> lastGoodAnswerAge) {
    if (link.watching()) {
        return std::nullopt;
    }
    NotWatchingNotice notice;
    if (link.cause == MonitorLinkCause::starting) {
        notice.title = utf8(text("Velmora is starting its monitor\u2026"));
        notice.starting = true;
        return notice;
    }
    notice.title = utf8(text("Velmora is not watching"));
    notice.reason = reasonText(link);
    notice.next = recoveryText(link, nextAttemptIn);
    //: %1 is how long ago, as in "2 min ago".
    notice.lastUpdated =
        lastGoodAnswerAge
            ? utf8(text("Last updated %1").arg(QString::fromStdString(agoText(*lastGoodAnswerAge))))
            : utf8(text("No data yet"));
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
