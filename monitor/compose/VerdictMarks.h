// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"
#include "monitor/live/LiveView.h"

#include <map>
#include <string>
#include <vector>

namespace velmora {

// The moments each family's verdict changed, as the published views showed it, kept for
// `horizonSeconds` so that a chart can mark them. A family missing from a view counts as
// normal there (the views list every family at watch or above).
class VerdictMarks {
public:
    static constexpr std::size_t maxChangesPerFamily = 32;

    explicit VerdictMarks(double horizonSeconds = 3600) : horizonSeconds_(horizonSeconds) {}

    // Notes the verdicts of `view`; the same view noted twice changes nothing.
    void note(const LiveView& view);

    // The changes of `key` within the horizon, oldest first, timed back from `now`.
    std::vector<VerdictMark> marksOf(const std::string& key, double now) const;

    std::size_t familyCount() const { return tracks_.size(); }

private:
    struct Change {
        double at = 0;
        FindingVerdict verdict = FindingVerdict::normal;
    };
    struct Track {
        FindingVerdict verdict = FindingVerdict::normal;
        std::vector<Change> changes;
    };

    void change(Track& track, double at, FindingVerdict verdict) const;

    double horizonSeconds_;
    double lastNoted_ = -1;
    std::map<std::string, Track> tracks_;
};

} // namespace velmora
