// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/ForecastTexts.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/StatusWording.h"
#include "monitor/scoring/TrendStats.h"

#include <algorithm>
#include <cmath>

namespace velmora {

std::optional<double> statedExhaustion(const LiveView& view) {
    const auto& seconds = view.forecast.exhaustionSeconds;
    if (!seconds || !std::isfinite(*seconds) || *seconds >= kStatedForecastSeconds) {
        return std::nullopt;
    }
    return std::max(0.0, *seconds);
}

std::string exhaustionSentence(double seconds) {
    return "Memory runs out in " + formatDuration(seconds) + " at this rate";
}

std::string exhaustionShort(double seconds) {
    if (seconds < 60) {
        return "runs out in under a minute";
    }
    return "runs out in ~" + formatSpan(seconds);
}

bool setForecastScope(SystemStateSnapshot& state, const LiveView& view) {
    if (!view.machine.valid) {
        setForecastUnavailable(state);
        return true;
    }
    auto seconds = statedExhaustion(view);
    if (!seconds) {
        return false;
    }
    setRunsOut(state, *seconds);
    return true;
}

namespace {

// The sentence and its code side by side.
struct ComposedVictim {
    Coded<VictimCode> code;
    std::string text;
};

std::optional<ComposedVictim> composedVictimOf(const LiveView& view) {
    const auto& victim = view.forecast.firstVictim;
    if (!victim) {
        return std::nullopt;
    }
    std::string text = "First to be ended if memory runs out: ";
    if (!victim->ours) {
        CodeFigures figures;
        if (victim->name.empty()) {
            figures.pid = victim->pid;
        } else {
            figures.name = victim->name;
        }
        return ComposedVictim{
            {VictimCode::anotherUser, std::move(figures)},
            text + (victim->name.empty() ? "PID " + std::to_string(victim->pid) : victim->name) +
                ", another user's process"};
    }
    std::string title = victim->familyTitle.empty() ? victim->name : victim->familyTitle;
    const auto footprint = static_cast<double>(victim->footprintKiB);
    return ComposedVictim{{VictimCode::ourApp, {.name = title, .footprintKiB = footprint}},
                          text + title + ", " + formatKiB(victim->footprintKiB)};
}

} // namespace

std::optional<std::string> firstVictimSentence(const LiveView& view) {
    auto victim = composedVictimOf(view);
    return victim ? std::optional<std::string>(std::move(victim->text)) : std::nullopt;
}

namespace {

// Whether the daemon's swap threshold is part of its sentence.
bool killerSeesSwap(const LiveView& view) {
    return !view.machine.valid || view.machine.memory.swapTotalKiB > 0;
}

KillerCodes oomdCodes(const OomdThresholds& t, bool hasSwap) {
    KillerCodes codes;
    codes.code = KillerCode::systemdOomd;
    codes.pressureFraction = t.pressurePercent / 100.0;
    codes.seconds = t.pressureSeconds;
    if (hasSwap) {
        codes.swapFraction = t.swapUsedPercent / 100.0;
    }
    return codes;
}

KillerCodes earlyoomCodes(const EarlyoomThresholds& t, bool hasSwap, uint64_t memTotalKiB) {
    KillerCodes codes;
    codes.code = KillerCode::earlyoom;
    codes.memoryFraction = t.memPercent / 100.0;
    if (t.memKiB) {
        const double total = static_cast<double>(memTotalKiB);
        if (memTotalKiB == 0 || 100.0 * static_cast<double>(*t.memKiB) / total < t.memPercent) {
            codes.memoryFraction.reset();
            codes.memoryKiB = static_cast<double>(*t.memKiB);
        }
    }
    if (hasSwap) {
        if (t.swapKiB) {
            codes.swapKiB = static_cast<double>(*t.swapKiB);
        } else {
            codes.swapFraction = t.swapPercent / 100.0;
        }
    }
    return codes;
}

} // namespace

std::optional<std::string> killerSentence(const LiveView& view) {
    const auto& killer = view.forecast.killer;
    if (!killer) {
        return std::nullopt;
    }
    return describeOomKiller(*killer, killerSeesSwap(view), view.machine.memory.totalKiB);
}

std::optional<KillerCodes> killerCodesOf(const LiveView& view) {
    const auto& killer = view.forecast.killer;
    if (!killer) {
        return std::nullopt;
    }
    if (killer->daemon == OomDaemon::systemdOomd) {
        return oomdCodes(killer->oomd, killerSeesSwap(view));
    }
    return earlyoomCodes(killer->earlyoom, killerSeesSwap(view), view.machine.memory.totalKiB);
}

std::optional<std::string> machineKillsSentence(const LiveView& view) {
    const auto& kills = view.machineOomKills;
    if (!kills || *kills == 0) {
        return std::nullopt;
    }
    return std::to_string(*kills) + (*kills == 1 ? " out-of-memory kill" : " out-of-memory kills") +
           " on this machine since boot";
}

std::optional<MemoryForecastSnapshot> memoryForecastOf(const LiveView& view) {
    MemoryForecastSnapshot forecast;
    if (auto seconds = statedExhaustion(view)) {
        // The text says the seconds sent, so the app composes the same words from them.
        forecast.exhaustionSeconds = static_cast<uint64_t>(std::llround(*seconds));
        forecast.exhaustionText =
            exhaustionSentence(static_cast<double>(*forecast.exhaustionSeconds));
    }
    if (const auto& victim = view.forecast.firstVictim;
        victim && victim->ours && !victim->familyKey.empty()) {
        forecast.firstVictimKey = victim->familyKey;
    }
    if (auto victim = composedVictimOf(view)) {
        forecast.firstVictimText = std::move(victim->text);
        forecast.firstVictim = std::move(victim->code);
    }
    forecast.killerText = killerSentence(view);
    forecast.killer = killerCodesOf(view);
    if (!forecast.exhaustionSeconds && !forecast.firstVictimText && !forecast.killerText) {
        return std::nullopt;
    }
    return forecast;
}

std::vector<std::string> forecastFilesRead(const LiveView& view) {
    std::vector<std::string> lines;
    const MachineForecastView& f = view.forecast;
    auto plural = [](std::size_t count) {
        return std::to_string(count) + (count == 1 ? " process" : " processes");
    };
    if (f.oomScoresRead > 0) {
        lines.push_back(view.procPath + "/PID/oom_score for " + plural(f.oomScoresRead) +
                        " every 10 s, or once a minute for your own processes whose memory "
                        "stands still");
    }
    if (f.commsRead > 0) {
        lines.push_back(view.procPath + "/PID/comm for " + plural(f.commsRead) +
                        " every minute, to find an out-of-memory daemon");
    }
    for (const std::string& file : f.daemonChecks) {
        lines.push_back(file + ", to tell whether it runs an out-of-memory daemon's program");
    }
    if (f.killer) {
        lines.insert(lines.end(), f.killer->configFiles.begin(), f.killer->configFiles.end());
    }
    return lines;
}

std::optional<std::string> firstVictimLineFor(const LiveView& view, const std::string& key) {
    const auto& victim = view.forecast.firstVictim;
    if (!victim || !victim->ours || victim->familyKey != key) {
        return std::nullopt;
    }
    return "PID " + std::to_string(victim->pid) + " (" + victim->name +
           ") has the highest oom_score on this machine (" + std::to_string(victim->oomScore) +
           "): the kernel ends it first if memory runs out.";
}

std::optional<double> growthSpanSeconds(const FamilyView& family, int rateWindowBuckets) {
    const FamilyAssessment& a = family.assessment;
    if (!a.growing() || a.stoppedSeconds || a.windowSeconds <= 0) {
        return std::nullopt;
    }
    double seconds = a.windowSeconds;
    auto wanted = static_cast<std::size_t>(std::max(rateWindowBuckets, 2));
    const auto& medians = family.sparklineKiB;
    if (medians.size() >= 2) {
        std::size_t count = std::min(wanted, medians.size());
        std::span<const uint32_t> window(medians.data() + medians.size() - count, count);
        double bucket = a.windowSeconds / static_cast<double>(std::max<std::size_t>(count - 1, 1));
        if (std::size_t onset = growthOnset(window); onset > 0) {
            seconds = static_cast<double>(count - 1 - onset) * bucket;
        }
    }
    return seconds;
}

std::optional<std::string> growthSpanText(const FamilyView& family, int rateWindowBuckets) {
    auto seconds = growthSpanSeconds(family, rateWindowBuckets);
    return seconds ? std::optional<std::string>(formatSpan(*seconds)) : std::nullopt;
}

} // namespace velmora
