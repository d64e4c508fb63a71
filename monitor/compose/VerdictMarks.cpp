// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/VerdictMarks.h"

#include <set>

namespace velmora {

void VerdictMarks::change(Track& track, double at, FindingVerdict verdict) const {
    if (track.verdict == verdict) {
        return;
    }
    track.verdict = verdict;
    track.changes.push_back({at, verdict});
    std::erase_if(track.changes,
                  [&](const Change& change) { return at - change.at > horizonSeconds_; });
    if (track.changes.size() > maxChangesPerFamily) {
        track.changes.erase(track.changes.begin(),
                            track.changes.end() - static_cast<std::ptrdiff_t>(maxChangesPerFamily));
    }
}

void VerdictMarks::note(const LiveView& view) {
    const double now = view.monotonicTime;
    if (now == lastNoted_) {
        return;
    }
    lastNoted_ = now;
    std::set<std::string> seen;
    for (const FamilyView& family : view.families) {
        if (family.smokeRole != SmokeRole::none) {
            continue;
        }
        const FindingVerdict verdict = family.assessment.verdict;
        auto it = tracks_.find(family.key);
        if (it == tracks_.end() && verdict == FindingVerdict::normal) {
            continue; // nothing to mark until it first leaves normal
        }
        change(tracks_[family.key], now, verdict);
        seen.insert(family.key);
    }
    for (auto it = tracks_.begin(); it != tracks_.end();) {
        if (!seen.contains(it->first)) {
            change(it->second, now, FindingVerdict::normal);
        }
        const bool stale = it->second.verdict == FindingVerdict::normal &&
                           now - it->second.changes.back().at > horizonSeconds_;
        it = stale ? tracks_.erase(it) : std::next(it);
    }
}

std::vector<VerdictMark> VerdictMarks::marksOf(const std::string& key, double now) const {
    std::vector<VerdictMark> marks;
    auto it = tracks_.find(key);
    if (it == tracks_.end()) {
        return marks;
    }
    for (const Change& change : it->second.changes) {
        const double ago = now - change.at;
        if (ago >= 0 && ago <= horizonSeconds_) {
            marks.push_back({ago, change.verdict});
        }
    }
    return marks;
}

} // namespace velmora
