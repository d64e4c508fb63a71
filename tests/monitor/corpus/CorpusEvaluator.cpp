// SPDX-License-Identifier: GPL-3.0-or-later
#include "CorpusEvaluator.h"

#include "monitor/compose/FamilyTexts.h"
#include "monitor/scoring/FamilyScorer.h"
#include "monitor/scoring/MemberWatch.h"
#include "monitor/scoring/RunawayRule.h"
#include "monitor/scoring/SeriesStore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace velmora {
namespace {

constexpr uint64_t kPlentyKiB = 16ull * 1024 * 1024; // 16 GiB free: nothing runs out
constexpr double kTicksPerSecond = 100;
constexpr double kRateSpanSeconds = 300; // the real rate: growth over the last five minutes

std::string signalsOf(const FamilyAssessment& a) {
    char buf[280];
    std::snprintf(
        buf, sizeof buf,
        "score %d, tau %.2f, t %.1f, steady %.2f, rise %.3f, consistency %.2f, floor %.2f%s, "
        "recent %.2f%s%s%s%s%s",
        a.score, a.tau, a.significance, a.steadiness, a.steadyRiseShare, a.consistency,
        a.floorAgreement, a.floorBased ? " (floor-based)" : "",
        a.rateKiBPerSecond > 0 ? a.recentRateKiBPerSecond / a.rateKiBPerSecond : 0.0,
        a.young ? ", young" : "", a.revisited ? ", revisited" : "", a.stairs ? ", stairs" : "",
        a.decelerating ? ", decelerating" : "",
        a.startUpBuckets > 0 ? (", start-up " + std::to_string(a.startUpBuckets)).c_str() : "");
    return buf;
}

std::string minutes(double seconds) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", seconds / 60);
    return buf;
}

// The machine's reserve as the family uses it up, and the family's real rate, from the trace.
class TraceMachine {
public:
    explicit TraceMachine(const MemoryTrace& trace) : trace_(trace) {}

    uint64_t reserveAt(std::size_t index) const {
        uint64_t start = trace_.availableKiB.value_or(kPlentyKiB);
        uint64_t first = trace_.points.front().footprintKiB;
        uint64_t now = trace_.points[index].footprintKiB;
        uint64_t used = now > first ? now - first : 0;
        return start > used ? start - used : 0;
    }

    // Seconds the reserve lasts at the family's growth over the last five minutes.
    std::optional<double> lastsSeconds(std::size_t index) const {
        const TracePoint& now = trace_.points[index];
        std::size_t back = index;
        while (back > 0 && now.seconds - trace_.points[back].seconds < kRateSpanSeconds) {
            --back;
        }
        double span = now.seconds - trace_.points[back].seconds;
        double grown = static_cast<double>(now.footprintKiB) -
                       static_cast<double>(trace_.points[back].footprintKiB);
        if (span <= 0 || grown <= 0) {
            return std::nullopt;
        }
        return static_cast<double>(reserveAt(index)) / (grown / span);
    }

private:
    const MemoryTrace& trace_;
};

struct ClassRow {
    std::string behaviour;
    std::string truth = "no leak";
    bool leak = false;
    int traces = 0;
    int flagged = 0;
    std::optional<double> worstBirthDelay;
    std::optional<double> worstMidLifeDelay;
    int falseAlarms = 0;
    int noise = 0;
    int flaps = 0;
    int runaways = 0;
    int failures = 0;
};

std::string rowText(const ClassRow& row) {
    char buf[200];
    std::string recall =
        row.leak ? std::to_string(row.flagged) + "/" + std::to_string(row.traces) : "-";
    auto delay = [](const std::optional<double>& d) { return d ? minutes(*d) + " min" : "-"; };
    std::snprintf(buf, sizeof buf, "%-18s %-7s %6d %8s %10s %10s %6d %6d %5d %5d %5s\n",
                  row.behaviour.c_str(), row.truth.c_str(), row.traces, recall.c_str(),
                  delay(row.worstBirthDelay).c_str(), delay(row.worstMidLifeDelay).c_str(),
                  row.falseAlarms, row.noise, row.flaps, row.runaways,
                  row.failures == 0 ? "ok" : "FAIL");
    return buf;
}

void add(ClassRow& row, const TraceOutcome& outcome) {
    ++row.traces;
    if (outcome.firstFlagged && row.leak) {
        ++row.flagged;
    }
    if (auto delay = outcome.delay(); delay && row.leak) {
        auto& worst =
            outcome.view == TraceView::birth ? row.worstBirthDelay : row.worstMidLifeDelay;
        worst = std::max(worst.value_or(0), *delay);
    }
    row.falseAlarms += outcome.falseAlarm() ? 1 : 0;
    row.noise += !row.leak && outcome.firstWatch ? 1 : 0;
    row.flaps += outcome.flaps;
    row.runaways += outcome.firstCritical ? 1 : 0;
    row.failures += outcome.passed() ? 0 : 1;
}

// What the sampler records of a trace at its tick: the sample at the tick itself, or for a
// family at "watch" or above, the median of what the quicker suspect reads saw since the tick
// before (a trace recorded at one sample a second under a 1 s tick keeps every sample).
class TickSampler {
public:
    explicit TickSampler(const SamplingTuning& tuning)
        : tick_(tuning.sampleIntervalSeconds),
          quick_(tuning.suspectSampleSeconds < tuning.sampleIntervalSeconds
                     ? tuning.suspectSampleSeconds
                     : tuning.sampleIntervalSeconds) {}

    // The footprint to record at this point, or nothing between ticks.
    std::optional<uint64_t> take(const TracePoint& point, FindingVerdict verdict) {
        if (point.seconds >= lastQuick_ + quick_ - 1e-6) {
            lastQuick_ = point.seconds;
            between_.push_back(point.footprintKiB);
        }
        if (point.seconds < lastTick_ + tick_ - 1e-6) {
            return std::nullopt;
        }
        lastTick_ = point.seconds;
        uint64_t recorded = point.footprintKiB;
        if (atLeast(verdict, FindingVerdict::watch) && between_.size() > 1) {
            std::nth_element(between_.begin(), between_.begin() + between_.size() / 2,
                             between_.end());
            recorded = between_[between_.size() / 2];
        }
        between_.clear();
        return recorded;
    }

private:
    double tick_;
    double quick_;
    double lastTick_ = -1e300;
    double lastQuick_ = -1e300;
    std::vector<uint64_t> between_;
};

// The members of a trace, followed as the sampler follows them: each on its own once the family
// has had more than one, recorded at every tick.
class TraceMembers {
public:
    explicit TraceMembers(const ScoringTuning& tuning) : tuning_(tuning) {}

    void record(double now, const std::vector<MemberPoint>& members) {
        if (!watch_ && members.size() > 1) {
            watch_ = std::make_unique<MemberWatch>(tuning_);
        }
        if (!watch_) {
            return;
        }
        for (const MemberPoint& member : members) {
            watch_->record(member.id, now, member.footprintKiB, member.cpuTicks);
        }
        watch_->sweep();
    }

    // The member that speaks for the family, if one does.
    std::optional<MemberJudgement> judge(const FamilyScorer& scorer, uint64_t reserveKiB,
                                         const FamilyAssessment& own) {
        return watch_ ? watch_->judge(scorer, reserveKiB, own) : std::nullopt;
    }

private:
    const ScoringTuning& tuning_;
    std::unique_ptr<MemberWatch> watch_;
};

} // namespace

std::optional<double> TraceOutcome::delay() const {
    if (!firstFlagged) {
        return std::nullopt;
    }
    return *firstFlagged - trace.onsetSeconds;
}

bool TraceOutcome::falseAlarm() const {
    if (trace.bounded) {
        return firstProbable.has_value();
    }
    return !trace.leak && firstFlagged.has_value();
}

bool TraceOutcome::missed() const {
    return trace.leak && (!firstFlagged || *firstFlagged > trace.deadlineSeconds);
}

std::string TraceOutcome::describe() const {
    std::string text = trace.name + " (" + trace.behaviour + ", from " +
                       std::string(viewName(view)) + "): peak " + std::string(toWire(peak)) +
                       ", flagged " +
                       (firstFlagged ? "at " + minutes(*firstFlagged) + " min" : "never");
    if (trace.leak) {
        text += ", deadline " + minutes(trace.deadlineSeconds) + " min";
    }
    if (firstProbable) {
        text += ", probable at " + minutes(*firstProbable) + " min";
    }
    if (stillFlaggedAt) {
        text += ", still flagged at " + minutes(*stillFlaggedAt) + " min after settling";
    }
    if (understatedAt) {
        text += ", only suspect at " + minutes(*understatedAt) +
                " min while memory runs out within two hours";
    }
    if (criticalWithoutRiskAt) {
        text += ", critical at " + minutes(*criticalWithoutRiskAt) +
                " min while memory lasts more than an hour";
    }
    if (!firstFlagSignals.empty()) {
        text += "; first flagged with " + firstFlagSignals;
    }
    if (!lastExplanation.empty()) {
        text += "; \"" + lastExplanation + "\"";
    }
    return text;
}

TraceOutcome replayTrace(const MemoryTrace& original, TraceView view, const Tuning& tuning) {
    TraceOutcome outcome;
    outcome.trace = viewOf(original, view);
    outcome.view = view;
    const MemoryTrace& trace = outcome.trace;
    const double phase = clockPhaseOf(original, view);
    const TraceMachine machine(trace);
    const ScoringTuning& scoring = tuning.scoring;
    MemorySeriesStore store(static_cast<std::size_t>(scoring.fineSampleCount),
                            static_cast<std::size_t>(scoring.bucketCount), scoring.bucketSeconds);
    FamilyScorer scorer(scoring, tuning.sampling.sampleIntervalSeconds, kTicksPerSecond);
    const std::string key = "trace";
    const char* traced = std::getenv("VELMORA_CORPUS_TRACE");
    const bool tracing = traced != nullptr && trace.name == traced;
    uint64_t assessedBuckets = 0;
    FindingVerdict previous = FindingVerdict::normal;
    FamilyAssessment own;
    std::optional<MemberJudgement> grower;
    TraceMembers members(scoring);
    TickSampler sampler(tuning.sampling);
    for (std::size_t i = 0; i < trace.points.size(); ++i) {
        const TracePoint& point = trace.points[i];
        std::optional<uint64_t> recorded = sampler.take(point, previous);
        if (!recorded) {
            continue;
        }
        store.record(key, phase + point.seconds, *recorded, point.cpuTicks);
        members.record(phase + point.seconds, point.members);
        const FamilySeries& series = *store.find(key);
        // As in the sampler: a family is judged again whenever a bucket has closed.
        if (series.closedBuckets() == assessedBuckets) {
            continue;
        }
        assessedBuckets = series.closedBuckets();
        FamilyView family;
        family.key = key;
        const uint64_t reserve = machine.reserveAt(i);
        own = scorer.assess(series, reserve, std::nullopt, grower ? own.scoredVerdict : previous);
        grower = members.judge(scorer, reserve, own);
        family.assessment = grower ? grower->assessment : own;
        std::vector<FamilyAssessment*> all{&family.assessment};
        applyRunawayRule(all, MachineOutlook{reserve, std::nullopt}, scoring);
        const FamilyAssessment& a = family.assessment;
        FindingVerdict verdict = a.verdict;
        if (atLeast(verdict, FindingVerdict::suspect) && outcome.firstFlagged &&
            !atLeast(previous, FindingVerdict::suspect)) {
            ++outcome.flaps; // flagged before, dropped, flagged again
        }
        previous = verdict;
        if (tracing) {
            std::printf("%s (%s) %5.1f min: %s%s, %s\n", traced,
                        std::string(viewName(view)).c_str(), point.seconds / 60,
                        std::string(toWire(verdict)).c_str(), grower ? " (a member)" : "",
                        signalsOf(a).c_str());
        }
        if (atLeast(verdict, outcome.peak)) {
            outcome.peak = verdict;
        }
        if (atLeast(verdict, FindingVerdict::probable) && !outcome.firstProbable) {
            outcome.firstProbable = point.seconds;
        }
        if (grower && !outcome.firstMemberFlag) {
            outcome.firstMemberFlag = point.seconds;
        }
        std::optional<double> lasts = machine.lastsSeconds(i);
        if (verdict == FindingVerdict::criticalRunaway) {
            outcome.firstCritical = outcome.firstCritical.value_or(point.seconds);
            // The rule allows an hour at the family's rate; the rate is estimated, so a little
            // more is no fault.
            if ((!lasts || *lasts > 1.15 * 3600) && !outcome.criticalWithoutRiskAt) {
                outcome.criticalWithoutRiskAt = point.seconds;
            }
        }
        if (atLeast(verdict, FindingVerdict::suspect)) {
            if (!outcome.firstFlagged) {
                outcome.firstFlagged = point.seconds;
                outcome.firstFlagSignals = signalsOf(a);
                if (verdict == FindingVerdict::suspect && lasts && *lasts < 0.9 * 2 * 3600) {
                    outcome.understatedAt = point.seconds;
                }
            }
            outcome.lastExplanation = explanationOf(family);
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
    leaks.truth = "leak";
    for (const TraceOutcome& outcome : outcomes) {
        ClassRow& row = rows[{outcome.trace.leak, outcome.trace.behaviour}];
        row.behaviour = outcome.trace.behaviour;
        row.leak = outcome.trace.leak;
        row.truth = row.leak ? "leak" : outcome.trace.bounded ? "bounded" : "no leak";
        add(row, outcome);
        add(outcome.trace.leak ? leaks : notLeaks, outcome);
    }
    std::string text = "class              truth   traces   recall worst delay from     false  "
                       "noise flaps runaways\n"
                       "                                               birth   mid-life alarms\n";
    for (const auto& [key, row] : rows) {
        text += rowText(row);
    }
    return text + rowText(notLeaks) + rowText(leaks);
}

} // namespace velmora
