// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/RecentFindings.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/compose/StatusWording.h"

#include <algorithm>
#include <set>

namespace velmora {
namespace {

struct Dated {
    double at = 0; // monotonic seconds
    RecentFindingSnapshot finding;
};

// The code of "Ended by the out-of-memory killer at 14:02 with 3.2 GB.": its time and size.
RecentExplanationCodes killCodes(const OutOfMemoryKill& kill) {
    RecentExplanationCodes code;
    code.code = RecentExplanationCode::outOfMemoryKill;
    code.wallSeconds = kill.wallAt;
    code.footprintKiB = static_cast<double>(kill.familyKiB);
    return code;
}

void explainKill(RecentFindingSnapshot& finding, const OutOfMemoryKill& kill) {
    finding.explanation = outOfMemoryKillMessage(kill);
    finding.explanationCode = killCodes(kill);
}

// "Probable leak earlier; no longer in the live rows.", with its verdict.
void explainDeparture(RecentFindingSnapshot& finding, FindingVerdict peak) {
    finding.explanation = verdictLabel(peak) + " earlier; no longer in the live rows.";
    RecentExplanationCodes& code = finding.explanationCode.emplace();
    code.code = RecentExplanationCode::departed;
    code.verdict = peak;
}

} // namespace

std::vector<RecentFindingSnapshot> recentFindingsOf(const LiveView& view) {
    std::vector<Dated> dated;
    std::set<std::string> killed;
    for (auto kill = view.outOfMemoryKills.rbegin(); kill != view.outOfMemoryKills.rend(); ++kill) {
        if (!killed.insert(kill->key).second) {
            continue; // an older kill of a family already listed
        }
        // The texts with their codes below.
        RecentFindingSnapshot finding;
        finding.key = kill->key;
        finding.title = kill->title;
        finding.severity = FindingSeverity::critical;
        explainKill(finding, *kill);
        setRecentStatus(finding, RecentStatusCode::outOfMemory, view.monotonicTime - kill->at);
        dated.push_back({kill->at, std::move(finding)});
    }
    for (const DepartedFinding& departed : view.departed) {
        if (killed.count(departed.key) != 0) {
            continue;
        }
        RecentFindingSnapshot finding;
        finding.key = departed.key;
        finding.title = departed.title;
        finding.severity = severityOf(departed.peakVerdict);
        explainDeparture(finding, departed.peakVerdict);
        setRecentStatus(finding,
                        departed.processEnded ? RecentStatusCode::processEnded
                                              : RecentStatusCode::growthStopped,
                        view.monotonicTime - departed.leftAt);
        dated.push_back({departed.leftAt, std::move(finding)});
    }
    // Newest first; departures of the same moment keep their reverse recording order.
    std::reverse(dated.begin() + static_cast<std::ptrdiff_t>(killed.size()), dated.end());
    std::stable_sort(dated.begin(), dated.end(),
                     [](const Dated& a, const Dated& b) { return a.at > b.at; });
    std::vector<RecentFindingSnapshot> findings;
    findings.reserve(dated.size());
    for (Dated& entry : dated) {
        findings.push_back(std::move(entry.finding));
    }
    return findings;
}

std::vector<OutOfMemoryKillSnapshot> outOfMemoryKillsOf(const LiveView& view) {
    std::vector<OutOfMemoryKillSnapshot> kills;
    kills.reserve(view.outOfMemoryKills.size());
    for (auto kill = view.outOfMemoryKills.rbegin(); kill != view.outOfMemoryKills.rend(); ++kill) {
        kills.push_back({kill->id, kill->key, kill->title, formatKiB(kill->familyKiB),
                         outOfMemoryKillMessage(*kill), killCodes(*kill)});
    }
    return kills;
}

} // namespace velmora
