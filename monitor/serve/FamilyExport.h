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
};

// The family label: the family key without its process id and start time ("proc:firefox"),
// and without the user prefix the sampler gives keys when watching every user.
std::string familyLabelOf(const std::string& key);

// Turns each published view into the metric families "velmora serve" exports (the monitor's
// own process_* metrics excepted). The sampler thread calls update(); any thread reads
// metrics(), which never waits for a pass.
//
// Label sets stay bounded: families with the same label (two trees of one program) are
// summed, at most maxFamilies are exported (those the sampler ranks first: every flagged
// family, then the largest), and a family that leaves stays keepSeconds with its last figures
// (a family whose processes all ended, with no memory and a normal verdict), so that its
// out-of-memory kills and a verdict's end are seen by the server, then goes.
class FamilyExport {
public:
    explicit FamilyExport(FamilyExportOptions options);

    void update(const LiveView& view);
    std::shared_ptr<const std::vector<prometheus::MetricFamily>> metrics() const;

private:
    struct Exported {
        std::string title;
        uint64_t anonKiB = 0;
        uint64_t swapKiB = 0;
        uint64_t sharedKiB = 0;
        uint64_t footprintKiB = 0;
        std::optional<double> rateKiBPerSecond;
        int score = 0;
        FindingVerdict verdict = FindingVerdict::normal;
        uint64_t outOfMemoryKills = 0;
        double seen = 0;
    };
    using Label = std::pair<std::string, std::string>; // (user, family)

    Label labelOf(const std::string& key) const;
    std::map<Label, Exported> currentOf(const LiveView& view) const;
    void countKills(const LiveView& view, double now);
    void keepWithinBounds(const std::map<Label, Exported>& current, double now);
    std::vector<prometheus::MetricFamily> build(const LiveView& view) const;

    FamilyExportOptions options_;
    std::map<Label, Exported> exported_;
    std::set<std::string> countedKills_;
    mutable std::mutex mutex_;
    std::shared_ptr<const std::vector<prometheus::MetricFamily>> latest_;
};

} // namespace velmora
