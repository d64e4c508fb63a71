// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/NotificationText.h"

#include "base/Translate.h"
#include "state/ForecastTexts.h"
#include "state/LocalFigures.h"
#include "state/RecentFindingTexts.h"
#include "state/RowTexts.h"

#include <algorithm>
#include <cctype>

namespace velmora {
namespace {

constexpr const char* separator = " \u00B7 ";

bool present(const std::optional<std::string>& text) {
    return text && !text->empty() && *text != "N/A";
}

bool present(const std::string& text) {
    return !text.empty() && text != "N/A";
}

std::string lowercasedFirst(std::string text) {
    if (!text.empty() && std::isupper(static_cast<unsigned char>(text.front()))) {
        text.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(text.front())));
    }
    return text;
}

std::string joined(const std::vector<std::string>& parts, const std::string& between) {
    std::string text;
    for (const auto& part : parts) {
        text += (text.empty() ? "" : between) + part;
    }
    return text;
}

// A row's figures in the desktop's number format, composed from its codes as the popover
// composes them; the monitor's texts where the codes do not say them. None while not measured.
std::optional<std::string> rateFigure(const FindingSnapshot& row) {
    if (row.codes && saysRate(*row.codes)) {
        const auto& rate = row.codes->rateKiBPerSecond;
        return rate ? std::optional(localRate(*rate)) : std::nullopt;
    }
    return present(row.rate) ? std::optional(row.rate) : std::nullopt;
}

std::optional<std::string> growthSpanFigure(const FindingSnapshot& row) {
    if (row.codes && row.codes->growthSeconds) {
        return localSpan(*row.codes->growthSeconds);
    }
    return present(row.growthSpanLabel) ? row.growthSpanLabel : std::nullopt;
}

std::optional<std::string> footprintFigure(const FindingSnapshot& row) {
    if (row.codes && row.codes->footprintKiB) {
        return localSize(*row.codes->footprintKiB);
    }
    return present(row.footprintLabel) ? row.footprintLabel : std::nullopt;
}

const std::vector<NotificationAction> familyActions{
    NotificationAction::show, NotificationAction::captureEvidence, NotificationAction::ignore};

} // namespace

std::string findingSummary(const FindingSnapshot& row) {
    // %1 is the application's name.
    switch (row.verdict) {
    case FindingVerdict::criticalRunaway:
        return withArguments(translate("NotificationText", "Runaway memory growth in %1"),
                             {row.title});
    case FindingVerdict::probable:
        return withArguments(translate("NotificationText", "Probable leak in %1"), {row.title});
    case FindingVerdict::suspect:
        return withArguments(translate("NotificationText", "Suspected leak in %1"), {row.title});
    case FindingVerdict::watch:
    case FindingVerdict::normal:
        break;
    }
    return withArguments(translate("NotificationText", "Watching %1"), {row.title});
}

std::string findingBody(const FindingSnapshot& row) {
    std::vector<std::string> parts;
    const auto rate = rateFigure(row);
    const auto span = growthSpanFigure(row);
    if (rate) {
        //: A growth rate and how long it has lasted, as in "+18 MB/min for 12 min".
        parts.push_back(
            span ? withArguments(translate("NotificationText", "%1 for %2"), {*rate, *span})
                 : *rate);
    } else if (span) {
        //: %1 is a duration, as in "12 min".
        parts.push_back(withArguments(translate("NotificationText", "Growing for %1"), {*span}));
    }
    if (const auto footprint = footprintFigure(row)) {
        //: An application's memory now, as in "3.2 GB now".
        parts.push_back(withArguments(translate("NotificationText", "%1 now"), {*footprint}));
    }
    if (present(row.exhaustionEstimate)) {
        // Composed from the seconds where the monitor sends them; its English otherwise.
        const auto seconds = row.codes ? row.codes->exhaustionSeconds : std::nullopt;
        parts.push_back(seconds ? (parts.empty() ? runsOutText(*seconds) : runsOutPhrase(*seconds))
                        : parts.empty() ? *row.exhaustionEstimate
                                        : lowercasedFirst(*row.exhaustionEstimate));
    }
    return joined(parts, separator);
}

Notification findingNotification(const FindingSnapshot& row) {
    Notification notification;
    notification.incident = "family:" + row.key;
    notification.summary = findingSummary(row);
    notification.body = findingBody(row);
    notification.urgency = row.verdict == FindingVerdict::criticalRunaway
                               ? NotificationUrgency::critical
                               : NotificationUrgency::normal;
    notification.familyKey = row.key;
    notification.actions = familyActions;
    return notification;
}

std::string exhaustionSummary(uint64_t exhaustionSeconds) {
    if (exhaustionSeconds < 60) {
        return translate("NotificationText", "Memory runs out in under a minute");
    }
    const auto minutes =
        static_cast<int>(std::min<uint64_t>((exhaustionSeconds + 30) / 60, 1'000'000));
    //: "min" is minutes, as the notification's title is short.
    return translate("NotificationText", "Memory runs out in about %n min", nullptr, minutes);
}

std::string exhaustionBody(const MemoryForecastSnapshot& forecast) {
    std::vector<std::string> lines;
    for (const auto& text : {firstVictimLine(forecast), killerLine(forecast)}) {
        if (present(text)) {
            lines.push_back(*text);
        }
    }
    if (const auto runsOut = exhaustionLine(forecast); lines.empty() && present(runsOut)) {
        lines.push_back(*runsOut);
    }
    return joined(lines, "\n");
}

Notification exhaustionNotification(const MemoryForecastSnapshot& forecast) {
    Notification notification;
    notification.incident = "memory";
    notification.summary = exhaustionSummary(forecast.exhaustionSeconds.value_or(0));
    notification.body = exhaustionBody(forecast);
    notification.urgency = NotificationUrgency::critical;
    if (present(forecast.firstVictimKey)) {
        notification.familyKey = *forecast.firstVictimKey;
        notification.actions = {NotificationAction::show};
    }
    return notification;
}

Notification killNotification(const OutOfMemoryKillSnapshot& kill) {
    Notification notification;
    notification.incident = "kill:" + kill.id;
    notification.summary = withArguments(
        //: %1 is an application's name.
        translate("NotificationText", "%1 was ended by the out-of-memory killer"), {kill.title});
    // Composed from the kill's time and size where the monitor sends them.
    const auto composed =
        kill.messageCode ? recentExplanationText(*kill.messageCode) : std::nullopt;
    notification.body = composed ? *composed : kill.message;
    notification.urgency = NotificationUrgency::critical;
    if (!kill.key.empty()) {
        notification.familyKey = kill.key;
        notification.actions = {NotificationAction::show};
    }
    return notification;
}

Notification summaryNotification(const std::vector<Notification>& heldBack) {
    const bool allSuspects = std::all_of(heldBack.begin(), heldBack.end(), [](const auto& n) {
        return n.incident.starts_with("family:");
    });
    const auto count = heldBack.size();
    Notification notification;
    notification.incident = "summary";
    // Exactly one has a text of its own, so English reads right without a catalogue.
    const int shown = static_cast<int>(count);
    if (allSuspects) {
        notification.summary =
            count == 1 ? translate("NotificationText", "1 more suspect")
                       : translate("NotificationText", "%n more suspects", nullptr, shown);
    } else {
        notification.summary =
            count == 1 ? translate("NotificationText", "1 more memory alert")
                       : translate("NotificationText", "%n more memory alerts", nullptr, shown);
    }
    std::vector<std::string> titles;
    for (const auto& held : heldBack) {
        titles.push_back(held.summary);
    }
    notification.body = joined(titles, "\n");
    notification.urgency =
        std::any_of(heldBack.begin(), heldBack.end(),
                    [](const auto& n) { return n.urgency == NotificationUrgency::critical; })
            ? NotificationUrgency::critical
            : NotificationUrgency::normal;
    return notification;
}

Notification testNotification() {
    Notification notification;
    notification.incident = "test";
    notification.summary = translate("NotificationText", "Velmora notifications are on");
    notification.body = translate(
        "NotificationText", "This is how Velmora tells you about a leak or memory running out.");
    return notification;
}

} // namespace velmora
