#include "CorpusEvaluator.h"

#include "monitor/compose/FamilyTexts.h"
#include "monitor/scoring/FamilyScorer.h"
#include "monitor/scoring/SeriesStore.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace velmora {
namespace {

constexpr uint64_t kAvailableKiB = 16ull * 1024 * 1024; // 16 GiB free: no exhaustion rule
constexpr double kTicksPerSecond = 100;

bool atLeast(FindingVerdict verdict, FindingVerdict floor) {
    return static_cast<int>(verdict) >= static_cast<int>(floor);
}

std::string signalsOf(const FamilyAssessment& a) {
    char buf[240];
    std::snprintf(
        buf, sizeof buf,
        "score %d, tau %.2f, t %.1f, steady %.2f, consistency %.2f, floor %.2f%s, recent %.2f%s%s",
        a.score, a.tau, a.significance, a.steadiness, a.consistency, a.floorAgreement,
        a.floorBased ? " (floor-based)" : "",
        a.rateKiBPerSecond > 0 ? a.recentRateKiBPerSecond / a.rateKiBPerSecond : 0.0,
        a.young ? ", young" : "", a.revisited ? ", revisited" : "");
    return buf;
}

std::string minutes(double seconds) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", seconds / 60);
    return buf;
}

struct ClassRow {
    std::string behaviour;
    bool leak = false;
    int traces = 0;
    int flagged = 0;
    std::optional<double> worstDelay;
    int falseAlarms = 0;
    int noise = 0;
    int flaps = 0;
    int failures = 0;
};

std::string rowText(const ClassRow& row) {
    char buf[160];
    std::string recall =
        row.leak ? std::to_string(row.flagged) + "/" + std::to_string(row.traces) : "-";
    std::string delay = row.worstDelay ? minutes(*row.worstDelay) + " min" : "-";
    std::snprintf(buf, sizeof buf, "%-18s %-7s %6d %8s %11s %7d %6d %6d %5s\n",
                  row.behaviour.c_str(), row.leak ? "leak" : "no leak", row.traces, recall.c_str(),
                  delay.c_str(), row.falseAlarms, row.noise, row.flaps,
                  row.failures == 0 ? "ok" : "FAIL");
    return buf;
}

void add(ClassRow& row, const TraceOutcome& outcome) {
    ++row.traces;
    if (outcome.firstFlagged && row.leak) {
        ++row.flagged;
    }
    if (auto delay = outcome.delay(); delay && row.leak) {
        row.worstDelay = std::max(row.worstDelay.value_or(0), *delay);
    }
    row.falseAlarms += outcome.falseAlarm() ? 1 : 0;
    row.noise += !row.leak && outcome.firstWatch ? 1 : 0;
    row.flaps += outcome.flaps;
    row.failures += outcome.passed() ? 0 : 1;
}

} // namespace

std::optional<double> TraceOutcome::delay() const {
    if (!firstFlagged) {
        return std::nullopt;
    }
    return *firstFlagged - trace->onsetSeconds;
}

bool TraceOutcome::falseAlarm() const {
    return !trace->leak && firstFlagged.has_value();
}

bool TraceOutcome::missed() const {
    return trace->leak && (!firstFlagged || *firstFlagged > trace->deadlineSeconds);
}

std::string TraceOutcome::describe() const {
    std::string text = trace->name + " (" + trace->behaviour + "): peak " +
                       std::string(toWire(peak)) + ", flagged " +
                       (firstFlagged ? "at " + minutes(*firstFlagged) + " min" : "never");
    if (trace->leak) {
        text += ", deadline " + minutes(trace->deadlineSeconds) + " min";
    }
    if (stillFlaggedAt) {
        text += ", still flagged at " + minutes(*stillFlaggedAt) + " min after settling";
    }
    if (!firstFlagSignals.empty()) {
        text += "; first flagged with " + firstFlagSignals;
    }
    if (!lastExplanation.empty()) {
        text += "; \"" + lastExplanation + "\"";
    }
    return text;
}

TraceOutcome replayTrace(const MemoryTrace& trace, const Tuning& tuning) {
    TraceOutcome outcome;
    outcome.trace = &trace;
    MemorySeriesStore store(static_cast<std::size_t>(tuning.fineSampleCount),
                            static_cast<std::size_t>(tuning.bucketCount), tuning.bucketSeconds);
    FamilyScorer scorer(tuning, kTicksPerSecond);
    const std::string key = "trace";
    uint64_t assessedBuckets = 0;
    FindingVerdict previous = FindingVerdict::normal;
    for (const TracePoint& point : trace.points) {
        store.record(key, point.seconds, point.footprintKiB, point.cpuTicks);
        const FamilySeries& series = *store.find(key);
        // As in the sampler: a family is judged again whenever a bucket has closed.
        if (series.closedBuckets() == assessedBuckets) {
            continue;
        }
        assessedBuckets = series.closedBuckets();
        FamilyView view;
        view.key = key;
        view.assessment = scorer.assess(series, kAvailableKiB, std::nullopt, previous);
        FindingVerdict verdict = view.assessment.verdict;
        if (atLeast(verdict, FindingVerdict::suspect) && outcome.firstFlagged &&
            !atLeast(previous, FindingVerdict::suspect)) {
            ++outcome.flaps; // flagged before, dropped, flagged again
        }
        previous = verdict;
        if (const char* traced = std::getenv("VELMORA_CORPUS_TRACE");
            traced && trace.name == traced) {
            std::printf("%s %5.1f min: %s, %s\n", traced, point.seconds / 60,
                        std::string(toWire(verdict)).c_str(), signalsOf(view.assessment).c_str());
        }
        if (atLeast(verdict, outcome.peak)) {
            outcome.peak = verdict;
        }
        if (atLeast(verdict, FindingVerdict::suspect)) {
            if (!outcome.firstFlagged) {
                outcome.firstFlagged = point.seconds;
                outcome.firstFlagSignals = signalsOf(view.assessment);
            }
            outcome.lastExplanation = explanationOf(view);
            if (trace.settledAfter && point.seconds > *trace.settledAfter + kFallBackSeconds &&
                !outcome.stillFlaggedAt) {
                outcome.stillFlaggedAt = point.seconds;
            }
        } else if (verdict == FindingVerdict::watch) {
            outcome.firstWatch = outcome.firstWatch.value_or(point.seconds);
        }
    }
    return outcome;
}

std::string corpusTable(const std::vector<TraceOutcome>& outcomes) {
    std::map<std::pair<bool, std::string>, ClassRow> rows;
    ClassRow notLeaks;
    notLeaks.behaviour = "all not leaks";
    ClassRow leaks;
    leaks.behaviour = "all leaks";
    leaks.leak = true;
    for (const TraceOutcome& outcome : outcomes) {
        ClassRow& row = rows[{outcome.trace->leak, outcome.trace->behaviour}];
        row.behaviour = outcome.trace->behaviour;
        row.leak = outcome.trace->leak;
        add(row, outcome);
        add(outcome.trace->leak ? leaks : notLeaks, outcome);
    }
    std::string text =
        "class              truth   traces   recall worst delay  false  noise  flaps\n"
        "                                                        alarms\n";
    for (const auto& [key, row] : rows) {
        text += rowText(row);
    }
    return text + rowText(notLeaks) + rowText(leaks);
}

} // namespace velmora
