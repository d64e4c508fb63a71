// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/HistoryTexts.h"

#include "base/NumberFormat.h"
#include "base/Translate.h"
#include "state/AgoTexts.h"
#include "state/LocalFigures.h"

#include <algorithm>

namespace velmora {
namespace {

std::string number(int64_t value) {
    return std::to_string(value);
}

// "1.5 GB", "700 MB", "512 KB": whole megabytes and kilobytes, as the footer writes sizes.
std::string storedSize(uint64_t bytes) {
    constexpr uint64_t kMiB = 1024ull * 1024ull;
    constexpr uint64_t kGiB = 1024ull * kMiB;
    if (bytes >= kGiB) {
        return withArguments(translate("velmora::LocalizedText", "%1 GB"),
                             {decimalText(static_cast<double>(bytes) / kGiB, 1)});
    }
    if (bytes >= kMiB) {
        return withArguments(translate("velmora::LocalizedText", "%1 MB"), {number(bytes / kMiB)});
    }
    return withArguments(translate("velmora::LocalizedText", "%1 KB"), {number(bytes / 1024)});
}

std::string historyAgo(double seconds) {
    return translatedAgo(seconds, kHistoryAgo);
}

// "42m", "3h 5m", "2d 4h", short as the history's other figures.
std::string compactDuration(double seconds) {
    const auto minutes = static_cast<int64_t>(std::max(seconds, 0.0) / 60.0);
    if (minutes < 60) {
        //: A length of time in minutes, short: "42m".
        return withArguments(translate("HistoryTexts", "%1m"), {number(minutes)});
    }
    if (minutes < 24 * 60) {
        //: A length of time in hours and minutes, short: "3h 5m".
        return withArguments(translate("HistoryTexts", "%1h %2m"),
                             {number(minutes / 60), number(minutes % 60)});
    }
    //: A length of time in days and hours, short: "2d 4h".
    return withArguments(translate("HistoryTexts", "%1d %2h"),
                         {number(minutes / 1440), number(minutes % 1440 / 60)});
}

std::optional<std::string> actionName(const OpenCode<HistoryActionCode>& action) {
    if (!action.known) {
        return action.wire; // an action this build does not name, by its id as recorded
    }
    switch (*action.known) {
    case HistoryActionCode::restart:
        //: An action taken on an application, as the history names it.
        return translate("HistoryTexts", "Restart");
    case HistoryActionCode::recover:
        //: An action taken on an application, as the history names it.
        return translate("HistoryTexts", "Recover");
    case HistoryActionCode::forceQuit:
        //: An action taken on an application, as the history names it.
        return translate("HistoryTexts", "Force quit");
    case HistoryActionCode::evidenceCapture:
        //: An action taken on an application, as the history names it.
        return translate("HistoryTexts", "Evidence capture");
    case HistoryActionCode::ignore:
        //: An action taken on an application, as the history names it.
        return translate("HistoryTexts", "Ignore");
    case HistoryActionCode::outOfMemoryKill:
        //: The kernel ended one of the application's processes when memory ran out.
        return translate("HistoryTexts", "Out-of-memory kill");
    }
    return std::nullopt;
}

// Each element composed where its code is known, else the monitor's own; the monitor's list
// as it is when the codes do not stand one for one for it.
template <class Code, class Text, class Compose>
std::vector<Text> composedList(const std::vector<Recorded<Code>>& codes, std::vector<Text> texts,
                               Compose compose) {
    if (codes.size() != texts.size()) {
        return texts;
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (auto composed = compose(codes[i])) {
            texts[i] = std::move(*composed);
        }
    }
    return texts;
}

template <class T>
void replaceWith(std::string& text, const std::optional<T>& code,
                 std::optional<std::string> (*compose)(const T&)) {
    if (code) {
        if (auto composed = compose(*code)) {
            text = std::move(*composed);
        }
    }
}

// The texts the summary and the detail share.
template <class Offender> void localizeShared(Offender& offender) {
    const OffenderCodes& codes = *offender.codes;
    replaceWith(offender.riskLabel, codes.risk, offenderRiskText);
    replaceWith(offender.typicalityLabel, codes.typicality, offenderTypicalityText);
    replaceWith(offender.lastSeenText, codes.lastSeen, offenderLastSeenText);
    offender.evidenceTags =
        composedList(codes.tags, std::move(offender.evidenceTags), offenderTagText);
    if (codes.interpretation) {
        if (auto text = offenderInterpretationText(*codes.interpretation, offender.title)) {
            offender.interpretation = std::move(*text);
        }
    }
}

} // namespace

std::optional<std::string> offenderRiskText(const OpenCode<OffenderRiskCode>& risk) {
    if (!risk.known) {
        return std::nullopt;
    }
    switch (*risk.known) {
    case OffenderRiskCode::critical:
        //: How much an application's past weighs: it went critical in the last 30 days.
        return translate("HistoryTexts", "Historical critical");
    case OffenderRiskCode::suspect:
        //: How much an application's past weighs: repeated or high-scoring incidents.
        return translate("HistoryTexts", "Historical suspect");
    case OffenderRiskCode::watch:
        //: How much an application's past weighs: one modest incident.
        return translate("HistoryTexts", "Historical watch");
    case OffenderRiskCode::noIncidents:
        return translate("HistoryTexts", "No incidents on record");
    }
    return std::nullopt;
}

std::optional<std::string> offenderTypicalityText(const OpenCode<TypicalityCode>& typicality) {
    if (!typicality.known) {
        return std::nullopt;
    }
    switch (*typicality.known) {
    case TypicalityCode::tooNew:
        return translate("HistoryTexts", "Too new to judge");
    case TypicalityCode::recurring:
        //: Its memory keeps rising above its usual size, day after day.
        return translate("HistoryTexts", "Recurring above baseline");
    case TypicalityCode::occasionalSpikes:
        return translate("HistoryTexts", "Occasional spikes");
    case TypicalityCode::usuallyHealthy:
        return translate("HistoryTexts", "Usually healthy");
    }
    return std::nullopt;
}

std::optional<std::string> offenderLastSeenText(const Recorded<LastSeenCode>& lastSeen) {
    if (!lastSeen.code.known) {
        return std::nullopt;
    }
    switch (*lastSeen.code.known) {
    case LastSeenCode::liveNow:
        //: The application is among the live rows right now.
        return translate("HistoryTexts", "Live now");
    case LastSeenCode::notSeen:
        //: "30d" is the last 30 days.
        return translate("HistoryTexts", "Not seen in 30d");
    case LastSeenCode::ago:
        if (!lastSeen.figures.seconds) {
            return std::nullopt;
        }
        return historyAgo(*lastSeen.figures.seconds);
    }
    return std::nullopt;
}

std::optional<std::string> offenderTagText(const Recorded<OffenderTagCode>& tag) {
    if (!tag.code.known || !tag.figures.count) {
        return std::nullopt;
    }
    const int64_t count = *tag.figures.count;
    switch (*tag.code.known) {
    case OffenderTagCode::critical:
        //: An evidence tag: the application went critical once, or %n times ("2x").
        return count == 1 ? translate("HistoryTexts", "critical once")
                          : translate("HistoryTexts", "critical %nx", nullptr, pluralCount(count));
    case OffenderTagCode::outOfMemoryKills:
        //: An evidence tag: how often the kernel's out-of-memory killer ended the application.
        return translate("HistoryTexts", "ended by the OOM killer %n\u00d7 in 30 days", nullptr,
                         pluralCount(count));
    case OffenderTagCode::artifacts:
        //: An evidence tag: evidence files kept for the application.
        return count == 1 ? translate("HistoryTexts", "1 artifact")
                          : translate("HistoryTexts", "%n artifacts", nullptr, pluralCount(count));
    case OffenderTagCode::restarted:
        //: An evidence tag: the application was restarted once, or %n times ("2x").
        return count == 1 ? translate("HistoryTexts", "restarted once")
                          : translate("HistoryTexts", "restarted %nx", nullptr, pluralCount(count));
    case OffenderTagCode::recovered:
        //: An evidence tag: the application was recovered once, or %n times ("2x").
        return count == 1 ? translate("HistoryTexts", "recovered once")
                          : translate("HistoryTexts", "recovered %nx", nullptr, pluralCount(count));
    case OffenderTagCode::forceQuit:
        //: An evidence tag: the application was force quit once, or %n times ("2x").
        return count == 1
                   ? translate("HistoryTexts", "force quit once")
                   : translate("HistoryTexts", "force quit %nx", nullptr, pluralCount(count));
    }
    return std::nullopt;
}

std::optional<std::string> offenderInterpretationText(const Recorded<InterpretationCode>& code,
                                                      const std::string& title) {
    if (!code.code.known) {
        return std::nullopt;
    }
    const HistoryFigures& f = code.figures;
    const int n = pluralCount(f.count.value_or(0));
    switch (*code.code.known) {
    case InterpretationCode::killedWithoutIncident:
        if (!f.count) {
            return std::nullopt;
        }
        //: %1 is the application's name.
        return withArguments(
            n == 1
                ? translate("HistoryTexts",
                            "No growth incident in 30 days, yet the out-of-memory killer ended %1 "
                            "once; its memory use outgrew what was available.")
                //: %1 is the application's name, %n how many times it was ended.
                : translate("HistoryTexts",
                            "No growth incident in 30 days, yet the out-of-memory killer ended %1 "
                            "%n times; its memory use outgrew what was available.",
                            nullptr, n),
            {title});
    case InterpretationCode::noIncidents:
        return translate("HistoryTexts", "No incidents in the last 30 days.");
    case InterpretationCode::wentCritical:
        if (!f.count) {
            return std::nullopt;
        }
        //: %1 is the application's name.
        return withArguments(
            n == 1 ? translate("HistoryTexts",
                               "Went critical once in 30 days; treat new growth from %1 as urgent.")
                   //: %1 is the application's name, %n how many times it went critical.
                   : translate(
                         "HistoryTexts",
                         "Went critical %n times in 30 days; treat new growth from %1 as urgent.",
                         nullptr, n),
            {title});
    case InterpretationCode::recurring:
        if (!f.count || !f.days) {
            return std::nullopt;
        }
        //: %1 is how many days had an incident start, %2 how many days were watched (2 or more).
        return withArguments(translate("HistoryTexts",
                                       "Incidents started on %1 of the last %2 days watched; this "
                                       "growth keeps coming back above its baseline."),
                             {number(*f.count), number(*f.days)});
    case InterpretationCode::severalIncidents:
        if (!f.count || !f.score) {
            return std::nullopt;
        }
        //: %n is how many incidents (2 or more), %1 the highest score (0 to 100).
        return withArguments(
            translate("HistoryTexts",
                      "%n incidents in 30 days, peaking at score %1; worth watching "
                      "when it grows again.",
                      nullptr, n),
            {number(*f.score)});
    case InterpretationCode::oneIncident:
        if (!f.score) {
            return std::nullopt;
        }
        //: %1 is the incident's score (0 to 100).
        return withArguments(
            translate("HistoryTexts",
                      "One incident in 30 days (peak score %1); nothing recurring so "
                      "far."),
            {number(*f.score)});
    }
    return std::nullopt;
}

std::optional<HistoryMetric> offenderMetricText(const Recorded<HistoryMetricCode>& metric) {
    if (!metric.code.known) {
        return std::nullopt;
    }
    const HistoryFigures& f = metric.figures;
    //: A metric that has no value yet.
    const std::string none = translate("HistoryTexts", "None");
    auto counted = [&f](std::string label) -> std::optional<HistoryMetric> {
        if (!f.count) {
            return std::nullopt;
        }
        return HistoryMetric{std::move(label), number(*f.count)};
    };
    auto size = [&f] {
        //: A footprint that needs more days of history.
        return f.bytes ? storedSize(*f.bytes) : translate("HistoryTexts", "Not enough data");
    };
    switch (*metric.code.known) {
    case HistoryMetricCode::incidents30d:
        //: A metric's label: incidents over the last 30 days.
        return counted(translate("HistoryTexts", "Incidents 30d"));
    case HistoryMetricCode::incidents7d:
        //: A metric's label: incidents over the last 7 days.
        return counted(translate("HistoryTexts", "Incidents 7d"));
    case HistoryMetricCode::critical30d:
        //: A metric's label: critical incidents over the last 30 days.
        return counted(translate("HistoryTexts", "Critical 30d"));
    case HistoryMetricCode::peakScore:
        //: A metric's label: the highest score of its incidents.
        return HistoryMetric{translate("HistoryTexts", "Peak score"),
                             f.score ? number(*f.score) : none};
    case HistoryMetricCode::peakRate:
        //: A metric's label: the fastest its memory grew.
        return HistoryMetric{translate("HistoryTexts", "Peak rate"),
                             f.rateKiBPerSecond ? localRate(*f.rateKiBPerSecond) : none};
    case HistoryMetricCode::typicalFootprint:
        //: A metric's label: its usual memory.
        return HistoryMetric{translate("HistoryTexts", "Typical footprint"), size()};
    case HistoryMetricCode::peakFootprint:
        //: A metric's label: the most memory it held.
        return HistoryMetric{translate("HistoryTexts", "Peak footprint"), size()};
    case HistoryMetricCode::lastAction: {
        std::string value = none;
        if (f.action && f.seconds) {
            //: The last action's value: %1 is the action, %2 how long ago, as in "Restart 5m ago".
            value = withArguments(translate("HistoryTexts", "%1 %2"),
                                  {*actionName(*f.action), historyAgo(*f.seconds)});
        }
        //: A metric's label: the latest action taken on it.
        return HistoryMetric{translate("HistoryTexts", "Last action"), value};
    }
    }
    return std::nullopt;
}

std::optional<std::string> offenderInsightText(const Recorded<InsightCode>& insight) {
    if (!insight.code.known) {
        return std::nullopt;
    }
    const HistoryFigures& f = insight.figures;
    const int n = pluralCount(f.count.value_or(0));
    const bool counted = f.count.has_value();
    const bool dated = f.seconds.has_value();
    switch (*insight.code.known) {
    case InsightCode::noIncidents:
        return translate("HistoryTexts", "No incidents in the last 30 days.");
    case InsightCode::longestIncident:
        if (!dated) {
            return std::nullopt;
        }
        //: %1 is a length of time, as in "3h 5m".
        return withArguments(translate("HistoryTexts", "Longest incident lasted %1."),
                             {compactDuration(*f.seconds)});
    case InsightCode::incidentDays:
        if (!counted) {
            return std::nullopt;
        }
        //: %n is how many days (2 or more).
        return translate("HistoryTexts", "Incidents started on %n different days in the last 30.",
                         nullptr, n);
    case InsightCode::peakMultiple:
        if (!f.multiple) {
            return std::nullopt;
        }
        //: %1 is how many times larger, as in "2.7".
        return withArguments(
            translate("HistoryTexts", "Peak footprint reached %1x its typical footprint."),
            {decimalText(*f.multiple, 1)});
    case InsightCode::outOfMemoryKills:
        if (!counted || !dated) {
            return std::nullopt;
        }
        //: %1 is how long ago the latest was, as in "3h ago".
        return withArguments(
            n == 1 ? translate("HistoryTexts",
                               "Ended by the out-of-memory killer once in 30 days; the "
                               "latest %1.")
                   //: %n is how many times, %1 how long ago the latest was.
                   : translate("HistoryTexts",
                               "Ended by the out-of-memory killer %n times in 30 days; "
                               "the latest %1.",
                               nullptr, n),
            {historyAgo(*f.seconds)});
    case InsightCode::lastAction: {
        if (!f.action || !dated || !f.succeeded) {
            return std::nullopt;
        }
        const std::string action = *actionName(*f.action);
        const std::string when = historyAgo(*f.seconds);
        const std::string outcome = f.outcome.value_or("");
        if (outcome.empty()) {
            //: %1 is the action, as in "Restart", %2 how long ago, as in "5m ago".
            return withArguments(
                *f.succeeded ? translate("HistoryTexts", "Last action: %1 %2, succeeded.")
                             : translate("HistoryTexts", "Last action: %1 %2, did not succeed."),
                {action, when});
        }
        //: %1 is the action, %2 how long ago, %3 what came of it, as it was recorded.
        return withArguments(
            *f.succeeded ? translate("HistoryTexts", "Last action: %1 %2, succeeded (%3).")
                         : translate("HistoryTexts", "Last action: %1 %2, did not succeed (%3)."),
            {action, when, outcome});
    }
    case InsightCode::artifacts:
        if (!counted || !dated) {
            return std::nullopt;
        }
        //: %1 is how long ago the newest was captured, as in "5m ago".
        return withArguments(
            n == 1 ? translate("HistoryTexts", "1 evidence artifact kept; newest captured %1.")
                   //: %n is how many files, %1 how long ago the newest was.
                   : translate("HistoryTexts", "%n evidence artifacts kept; newest captured %1.",
                               nullptr, n),
            {historyAgo(*f.seconds)});
    case InsightCode::watchedSince:
        if (!dated) {
            return std::nullopt;
        }
        //: %1 is how long ago watching began, as in "6d ago".
        return withArguments(translate("HistoryTexts", "Watched since %1."),
                             {historyAgo(*f.seconds)});
    }
    return std::nullopt;
}

HistoricalOffenderSummarySnapshot localized(HistoricalOffenderSummarySnapshot offender) {
    if (offender.codes) {
        localizeShared(offender);
    }
    return offender;
}

HistoricalOffenderDetailSnapshot localized(HistoricalOffenderDetailSnapshot detail) {
    if (!detail.codes) {
        return detail;
    }
    localizeShared(detail);
    detail.metrics =
        composedList(detail.codes->metrics, std::move(detail.metrics), offenderMetricText);
    detail.insightLines =
        composedList(detail.codes->insights, std::move(detail.insightLines), offenderInsightText);
    return detail;
}

} // namespace velmora
