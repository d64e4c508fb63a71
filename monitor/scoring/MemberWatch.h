// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/scoring/FamilyAssessment.h"
#include "monitor/scoring/FamilyScorer.h"
#include "monitor/scoring/FamilySeries.h"
#include "monitor/scoring/ScoringTuning.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

namespace velmora {

// One member of a family as judged on its own.
struct MemberJudgement {
    uint64_t id = 0; // the process, as memberIdOf folds it
    FamilyAssessment assessment;
};

// One number for a process: its PID and its start time, so that a reused PID is another member.
uint64_t memberIdOf(int32_t pid, uint64_t startTime);

// The members of one family, each with a series of its own from the moment it was first seen
// (its birth, for a process started after the monitor) and judged by the family rules with the
// deadlines counted from then. Members that come and go move the family's total by their whole
// size and can hide a long-lived member's growth; judged alone, that member shows it. A member
// is judged once its series holds a rate window's minimum of buckets after its start-up, so
// processes living a minute or two never are.
class MemberWatch {
public:
    explicit MemberWatch(const ScoringTuning& tuning);

    void record(uint64_t id, double now, uint64_t footprintKiB, uint64_t cpuTicks);
    // Forgets the members not recorded since the last sweep: call once per pass, after recording.
    void sweep();
    // Drops a member's series, so that it starts again from the next record (a process that
    // became another program).
    void forget(uint64_t id) { members_.erase(id); }
    // Judges again every member whose series closed a bucket since it was last judged, and
    // returns the member that speaks for the family judged `family` on its own total: the one
    // at "suspect" or above that scores highest, when it flags more than the family.
    std::optional<MemberJudgement> judge(const FamilyScorer& scorer,
                                         std::optional<uint64_t> reserveKiB,
                                         const FamilyAssessment& family);
    bool contains(uint64_t id) const { return members_.count(id) != 0; }
    // A member's own series, or null when it is not watched.
    const FamilySeries* seriesOf(uint64_t id) const;
    std::size_t size() const { return members_.size(); }
    std::size_t memoryBytes() const;

private:
    struct Member {
        explicit Member(const ScoringTuning& tuning);
        FamilySeries series;
        MemberJudgement judgement;
        uint64_t assessedBuckets = 0;
        bool seen = true;
    };

    ScoringTuning tuning_;
    std::unordered_map<uint64_t, std::unique_ptr<Member>> members_;
};

} // namespace velmora
