// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/MemorySeriesChart.h"

#include "views/kit/LocalizedText.h"
#include "views/kit/SurfacePanel.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

QString markLabel(FindingVerdict verdict, MarkWords words) {
    if (words == MarkWords::incidents) {
        return verdict == FindingVerdict::criticalRunaway
                   ? QCoreApplication::translate(
                         "velmora::MemorySeriesChart", "critical",
                         "A mark on a history chart: a critical incident began.")
                   : QCoreApplication::translate("velmora::MemorySeriesChart", "incident",
                                                 "A mark on a history chart: an incident began.");
    }
    switch (verdict) {
    case FindingVerdict::normal:
        return QCoreApplication::translate(
            "velmora::MemorySeriesChart", "calm",
            "A mark on a memory chart: the verdict went back to normal.");
    case FindingVerdict::watch:
        return QCoreApplication::translate("velmora::MemorySeriesChart", "watch",
                                           "A mark on a memory chart: the verdict became watch.");
    case FindingVerdict::suspect:
        return QCoreApplication::translate("velmora::MemorySeriesChart", "suspect",
                                           "A mark on a memory chart: the verdict became suspect.");
    case FindingVerdict::probable:
        return QCoreApplication::translate(
            "velmora::MemorySeriesChart", "probable",
            "A mark on a memory chart: the verdict became probable.");
    case FindingVerdict::criticalRunaway:
        return QCoreApplication::translate(
            "velmora::MemorySeriesChart", "critical",
            "A mark on a memory chart: the verdict became critical.");
    }
    return {};
}

PaletteColor markColor(FindingVerdict verdict) {
    switch (verdict) {
    case FindingVerdict::normal:
        return PaletteColor::allClearText;
    case FindingVerdict::watch:
        return PaletteColor::watchText;
    case FindingVerdict::suspect:
    case FindingVerdict::probable:
        return PaletteColor::suspectText;
    case FindingVerdict::criticalRunaway:
        return PaletteColor::criticalText;
    }
    return PaletteColor::neutralText;
}

// The catalogue tools find a plural only with a plain name in the count's place.
QString spanText(double seconds) {
    const double minutes = std::max(1.0, std::round(seconds / 60));
    if (minutes < 120) {
        const int count = static_cast<int>(minutes);
        return QCoreApplication::translate("velmora::MemorySeriesChart", "%n min",
                                           "A span of time on a memory chart.", count);
    }
    const int hours = static_cast<int>(std::round(minutes / 60));
    return QCoreApplication::translate("velmora::MemorySeriesChart", "%n h",
                                       "A span of time on a memory chart.", hours);
}

// The points of `values`, which line up with the series' newest points, timed back from now.
std::vector<ChartPoint> pointsOf(const MemorySeries& series, const std::vector<uint64_t>& values) {
    const std::size_t count = series.footprintKiB.size();
    const std::size_t kept = std::min(values.size(), count);
    std::vector<ChartPoint> points;
    points.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i) {
        points.push_back({agoSecondsOf(series, count - kept + i),
                          static_cast<double>(values[values.size() - kept + i])});
    }
    return points;
}

// The footprint's parts stacked under its line, each scaled so that together they reach the
// footprint at every point (the parts are medians of their own, a little apart from its).
std::vector<ChartBand> bandsOf(const MemorySeries& series, const std::vector<ChartPoint>& points) {
    if (!series.kinds || points.empty()) {
        return {};
    }
    const MemoryKindPoints& kinds = *series.kinds;
    const std::size_t count = std::min(kinds.anonKiB.size(), points.size());
    auto at = [](const std::vector<uint64_t>& list, std::size_t fromNewest) {
        return fromNewest < list.size() ? static_cast<double>(list[list.size() - 1 - fromNewest])
                                        : 0.0;
    };
    std::vector<ChartBand> bands{
        {QCoreApplication::translate("velmora::MemorySeriesChart", "anonymous",
                                     "Legend of a memory chart: memory only the process holds."),
         paletteRef(PaletteColor::primaryActionFill, 0.24),
         {}},
        {QCoreApplication::translate("velmora::MemorySeriesChart", "swapped",
                                     "Legend of a memory chart: memory moved out to swap."),
         paletteRef(PaletteColor::watchText, 0.34),
         {}},
        {QCoreApplication::translate(
             "velmora::MemorySeriesChart", "shared",
             "Legend of a memory chart: shared memory counted for the family."),
         paletteRef(PaletteColor::mutedText, 0.28),
         {}},
    };
    bool hasSwap = false;
    bool hasShared = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t fromNewest = count - 1 - i;
        const double anon = at(kinds.anonKiB, fromNewest);
        const double swap = at(kinds.swapKiB, fromNewest);
        const double shared = at(kinds.sharedKiB, fromNewest);
        const double sum = anon + swap + shared;
        const double footprint = points[points.size() - 1 - fromNewest].kib;
        const double scale = sum > 0 ? footprint / sum : 0;
        bands[0].topKiB.push_back(anon * scale);
        bands[1].topKiB.push_back((anon + swap) * scale);
        bands[2].topKiB.push_back(sum * scale);
        hasSwap = hasSwap || swap > 0;
        hasShared = hasShared || shared > 0;
    }
    // A kind the family never had is left out, legend and all.
    if (!hasShared) {
        bands.pop_back();
    }
    if (!hasSwap) {
        bands.erase(bands.begin() + 1);
    }
    return bands;
}

std::optional<ChartLine> trendOf(const MemorySeries& series,
                                 const std::optional<MemoryTrendLine>& trend) {
    if (!trend) {
        return std::nullopt;
    }
    const double endAgo = series.runsOut ? -series.runsOut->inSeconds : 0;
    const double endKiB = trend->startKiB + trend->kiBPerSecond * (trend->startAgoSeconds - endAgo);
    return ChartLine{{nowAgo(series, trend->startAgoSeconds), trend->startKiB},
                     {nowAgo(series, endAgo), endKiB}};
}

} // namespace

QString sizeText(uint64_t kib) {
    return localizedKiB(static_cast<double>(kib)).replace(QLatin1Char(' '), QChar(0x00A0));
}

QString memberLabel(const MemberMemorySeries& member) {
    const QString pid = QString::number(member.pid);
    if (member.name.empty()) {
        return QCoreApplication::translate("velmora::MemorySeriesChart", "PID %1",
                                           "The growing member of a family, by its process ID.")
            .arg(pid);
    }
    return QCoreApplication::translate("velmora::MemorySeriesChart", "PID %1 (%2)",
                                       "The growing member of a family: its process ID and name.")
        .arg(pid, QString::fromStdString(member.name));
}

MemoryChartData chartDataOf(const MemorySeries& series, MarkWords words, ChartSubject subject) {
    MemoryChartData data;
    const bool member = subject == ChartSubject::growingMember && series.growingMember;
    data.points =
        pointsOf(series, member ? series.growingMember->footprintKiB : series.footprintKiB);
    if (!member) {
        data.bands = bandsOf(series, data.points);
    }
    if (!data.bands.empty()) {
        data.lineLabel = QCoreApplication::translate(
            "velmora::MemorySeriesChart", "footprint",
            "Legend of a memory chart: the line of the whole footprint.");
    }
    if (series.nowWallSeconds && std::isfinite(*series.nowWallSeconds) &&
        std::abs(*series.nowWallSeconds) < 1e11) {
        data.now = QDateTime::fromMSecsSinceEpoch(
            static_cast<qint64>(std::llround(*series.nowWallSeconds * 1000)));
    }
    data.tint = paletteRef(series.marks.empty() ? PaletteColor::primaryActionFill
                                                : markColor(series.marks.back().verdict));
    for (const VerdictMark& mark : series.marks) {
        data.marks.push_back({nowAgo(series, mark.agoSeconds), markLabel(mark.verdict, words),
                              paletteRef(markColor(mark.verdict))});
    }
    data.trend = trendOf(series, member ? series.growingMember->trend : series.trend);
    for (double kill : series.outOfMemoryKills) {
        data.marks.push_back({nowAgo(series, kill),
                              QCoreApplication::translate(
                                  "velmora::MemorySeriesChart", "OOM kill",
                                  "A mark on a memory chart: the out-of-memory killer struck."),
                              paletteRef(PaletteColor::criticalText)});
    }
    std::stable_sort(
        data.marks.begin(), data.marks.end(),
        [](const ChartMark& a, const ChartMark& b) { return a.agoSeconds > b.agoSeconds; });
    if (const auto& runsOut = series.runsOut) {
        data.level = ChartLevel{
            {-runsOut->inSeconds, static_cast<double>(runsOut->levelKiB)},
            QCoreApplication::translate(
                "velmora::MemorySeriesChart", "Memory runs out in %1 at %2",
                "A level on a memory chart: %1 a span (\"20 min\"), %2 the footprint then.")
                .arg(spanText(runsOut->inSeconds), localizedKiB(runsOut->levelKiB))};
    }
    if (!data.points.empty()) {
        data.summary =
            QCoreApplication::translate(
                "velmora::MemorySeriesChart", "Memory over the last %1: %2 to %3.",
                "What assistive technology says of a memory chart: its span, the first "
                "and the last footprint.")
                .arg(spanText(data.points.front().agoSeconds),
                     localizedKiB(data.points.front().kib), localizedKiB(data.points.back().kib));
    }
    return data;
}

} // namespace velmora
