// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"
#include "monitor/live/LiveView.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <prometheus/metric_family.h>
#include <set>
#include <string>
#include <vector>

namespace velmora {

struct FamilyExportOptions {
    std::size_t maxFamilies = 200; // label sets of velmora_family_* at most
    double keepSeconds = 600;      // a family that left is exported this long
    bool userLabel = false;        // every user's processes: families carry their user
    std::string version;
    std::function<std::string(uid_t)> userName; // the user label's value
    // With userLabel: the home folder that a family label of user `uid` must not show ("" for
    // none); a path inside it reads "~/..." instead.
    std::function<std::string(uid_t)> hiddenHome;
};

// The family label: the family key without its process id and start time ("proc:firefox"),
// and without the user prefix the sampler gives keys when watching every user.
std::string familyLabelOf(const std::string& key);

// `label` with the folder `home` (and any path inside it) written "~".
std::string withoutHome(const std::string& label, const std::string& home);

// Turns each published view into the metric families "velmora serve" exports (the monitor's
// own process_* metrics excepted). The sampler thread calls update(), which only follows the
// families; any thread reads metrics(), which composes the export when a pass changed it since
// it was last asked for (a scrape less often than the passes composes once) and never waits
// for a pass.
//
// Label sets stay bounded: families with the same label (two trees of one program) are
// summed, and at most maxFamilies are exported (those the sampler ranks first: every flagged
// family, then the largest). What is exported is always true now: a family that leaves the
// ranking while it runs (it calmed down and is not among the largest) leaves the export at
// once, its last verdict with it. Only a family whose processes all ended stays, for
// keepSeconds, marked gone (velmora_family_gone 1, no memory, a normal verdict) with its
// out-of-memory kills, so that the server sees how it ended. A family of the ranking's outside
// the out-of-memory killer struck keeps its kill count alone for keepSeconds after the kill.
class FamilyExport {
public:
    explicit FamilyExport(FamilyExportOptions options);

    void update(const LiveView& view);
    std::shared_ptr<const std::vector<prometheus::MetricFamily>> metrics() const;

private:
    // Why a family is exported: ranked in the last pass, its processes all ended, or only to
    // show an out-of-memory kill.
    enum class Presence { ranked, gone, killsOnly };
    struct Exported {
        Presence presence = Presence::ranked;
        std::string title;
        uint64_t anonKiB = 0;
        uint64_t swapKiB = 0;
        uint64_t sharedKiB = 0;
        uint64_t footprintKiB = 0;
        std::optional<double> rateKiBPerSecond;
        int score = 0;
        FindingVerdict verdict = FindingVerdict::normal;
        uint64_t outOfMemoryKills = 0;
        double seen = 0; // when it was last ranked, ended or had a kill
    };
    using Label = std::pair<std::string, std::string>; // (user, family)
    // What the export shows of the machine and of the pass, beside the families.
    struct PassFigures {
        std::optional<uint64_t> availableKiB;
        std::optional<double> exhaustionSeconds;
        std::optional<double> pressureSomeAvg60;
        std::size_t watchedProcesses = 0;
        double wallTime = 0;
    };

    Label labelOf(const std::string& key) const;
    std::map<Label, Exported> currentOf(const LiveView& view) const;
    // What becomes of the families exported before that are not ranked now.
    void retire(const LiveView& view, const std::map<Label, Exported>& current);
    void countKills(const LiveView& view, double now);
    void keepWithinBounds(const std::map<Label, Exported>& current, double now);
    static PassFigures figuresOf(const LiveView& view);
    std::vector<prometheus::MetricFamily> build() const;

    FamilyExportOptions options_;
    // Written by update(), read by metrics(): under mutex_.
    std::map<Label, Exported> exported_;
    PassFigures figures_;
    std::set<std::string> countedKills_;
    mutable std::mutex mutex_;
    // The export as last composed; null once a pass changed what it shows.
    mutable std::shared_ptr<const std::vector<prometheus::MetricFamily>> latest_;
};

} // namespace velmora
