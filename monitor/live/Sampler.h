// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/families/DesktopEntries.h"
#include "monitor/families/FamilyResolver.h"
#include "monitor/families/ProtectedProcesses.h"
#include "monitor/families/SmokeTargets.h"
#include "monitor/live/AncestorChain.h"
#include "monitor/live/LiveView.h"
#include "monitor/live/MachineForecast.h"
#include "monitor/live/OutOfMemoryKillDetector.h"
#include "monitor/live/SamplingTuning.h"
#include "monitor/proc/ProcessTable.h"
#include "monitor/scoring/FamilyScorer.h"
#include "monitor/scoring/MemberWatch.h"
#include "monitor/scoring/ScoringTuning.h"
#include "monitor/scoring/SeriesStore.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace velmora {

struct SamplerOptions {
    std::string procPath = "/proc";
    std::string cgroupPath = "/sys/fs/cgroup";
    // The file system root under which out-of-memory daemons keep their configuration (/etc,
    // /run, /usr/lib...); tests point it at a fake tree.
    std::string configRoot = "/";
    uid_t uid = 0;
    pid_t self = 0;
    std::string smokeTargetsPath; // empty: no self-check targets
    SamplingTuning sampling;
    ScoringTuning scoring; // handed to the series store and the scorers
    // Every user's processes rather than uid's; each family then belongs to one user and its
    // key says which.
    bool allUsers = false;
    // How many families LiveView::ranked carries (none under the app).
    std::size_t rankedFamilies = 0;
    // Whether each family's parts are kept per minute for the chart of an open detail (the
    // exporter, which has no detail, saves the memory).
    bool chartSeries = true;
    // Whether the forecast names who the kernel would end first and the out-of-memory daemon
    // (the app shows both; the metrics export neither, and at thousands of processes their
    // oom_score and name reads were a third of a pass).
    bool forecastVictims = true;
};

// One sampling pass after another: refreshes the process table, groups processes into
// families, appends each family's footprint to its series, scores the families whose series
// closed a bucket and publishes a LiveView. Not thread-safe: one thread drives it.
class Sampler {
public:
    explicit Sampler(SamplerOptions options, std::unique_ptr<SeriesStore> store = nullptr);

    bool ok() const { return root_.ok(); }
    std::shared_ptr<const LiveView> pass(double monotonicNow, double wallNow);
    // Seconds between the suspects' reads within a tick; 0 when the tick is quick enough.
    double quickSeconds() const;
    // Between ticks: reads the memory of the families at watch or above again; the next pass
    // records the median of these reads and its own for each.
    void quickPass();
    const SeriesStore& store() const { return *store_; }
    // Where a family's longer-term baseline comes from (the history); none by default.
    using BaselineSource = std::function<std::optional<uint64_t>(const std::string& key)>;
    void setBaselineSource(BaselineSource source) { baselineSource_ = std::move(source); }
    const ProcessTable& table() const { return table_; }

private:
    struct FamilyState {
        FamilyIdentity identity;
        uid_t uid = 0;
        uint64_t footprintKiB = 0;
        uint64_t anonKiB = 0;
        uint64_t swapKiB = 0;
        uint64_t sharedKiB = 0;
        uint64_t cpuTicks = 0;
        std::size_t members = 0;
        bool wasAlive = false; // it had members in the pass before this one
        // Its series in the store, set each pass it has members (the store keeps it in place).
        const FamilySeries* series = nullptr;
        double lastSeen = 0;
        uint64_t assessedBuckets = UINT64_MAX;
        // What the family is shown and ranked by: its own judgement, or its growing member's.
        FamilyAssessment assessment;
        FamilyAssessment own;
        std::optional<MemberJudgement> grower;
        // Each member on its own, once the family has had more than one.
        std::unique_ptr<MemberWatch> memberWatch;
        // The footprint's make-up per bucket, for the chart of an open detail.
        std::unique_ptr<FamilyKinds> kinds;
        FindingVerdict peakVerdict = FindingVerdict::normal;
    };

    // Also tells where each discovered process's memory cgroup counts its kills.
    OutOfMemoryKillDetector::KillCountFiles
    assignFamilies(const std::vector<ProcessRecord*>& discovered, PassStatistics& stats);
    void applySmokeTargets();
    void aggregate(double now);
    void recordMembers(double now);
    void judge(FamilyState& family, const FamilySeries& series, std::optional<uint64_t> reserveKiB,
               std::optional<uint64_t> baseline);
    uint64_t recordedFootprint(const std::string& key, uint64_t footprintKiB);
    void recordKinds(FamilyState& family, double now) const;
    void describeSeries(const FamilyState& family, FamilyView& view) const;
    void score(std::optional<uint64_t> reserveKiB); // none: the machine's figures are unknown
    void retire(double now);
    std::vector<RankedFamily> rank() const;
    std::shared_ptr<LiveView> publish(double now, double wall, const MachineState& machine,
                                      const PassStatistics& stats);
    FamilyView viewOf(const std::string& key, const FamilyState& family,
                      const std::vector<const ProcessRecord*>& members,
                      const std::set<pid_t>& ancestors) const;

    SamplerOptions options_;
    ProcRoot root_;
    ProcRoot cgroupRoot_;
    ProcessTable table_;
    DesktopEntries desktopEntries_;
    FamilyResolver resolver_;
    FamilyScorer scorer_;
    ProtectedProcesses protected_;
    AncestorChain ancestors_;
    std::unique_ptr<SeriesStore> store_;
    BaselineSource baselineSource_;
    std::unique_ptr<SmokeTargets> smoke_;
    SmokeTargetPids smokePids_;
    std::unordered_map<std::string, FamilyState> families_;
    // Each record's family as this pass found it, kept between passes for its capacity.
    std::vector<std::pair<const ProcessRecord*, FamilyState*>> memberships_;
    std::vector<std::string> ended_; // families whose last process ended in this pass
    std::unordered_map<std::string, std::vector<uint64_t>> between_; // quick reads since the tick
    std::unordered_set<std::string> suspects_;
    std::vector<DepartedFinding> departed_;
    OutOfMemoryKillDetector kills_;
    uint64_t passCount_ = 0;
    double startedAt_ = 0;
    double lastSmokeCheck_ = -1e300;
    MachineForecaster forecaster_{options_.configRoot};
};

} // namespace velmora
