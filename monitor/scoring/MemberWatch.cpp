// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/MemberWatch.h"

#include <algorithm>

namespace velmora {

uint64_t memberIdOf(int32_t pid, uint64_t startTime) {
    // PIDs stay under 2^22 (the kernel's limit); start times in clock ticks under 2^42.
    return (startTime << 22) ^ static_cast<uint32_t>(pid);
}

// A member's series holds what its judgement reads: the rate window, the hour behind it for the
// long window and the revisit check, and the fine samples of the rate window.
MemberWatch::Member::Member(const ScoringTuning& tuning)
    : series(static_cast<std::size_t>(tuning.fineSampleCount),
             static_cast<std::size_t>(tuning.hourWindowBuckets + tuning.rateWindowBuckets),
             tuning.bucketSeconds) {}

MemberWatch::MemberWatch(const ScoringTuning& tuning) : tuning_(tuning) {}

void MemberWatch::record(uint64_t id, double now, uint64_t footprintKiB, uint64_t cpuTicks) {
    auto& slot = members_[id];
    if (!slot) {
        slot = std::make_unique<Member>(tuning_);
        slot->judgement.id = id;
    }
    slot->series.append(now, footprintKiB, cpuTicks);
    slot->seen = true;
}

void MemberWatch::sweep() {
    std::erase_if(members_, [](auto& entry) { return !entry.second->seen; });
    for (auto& [id, member] : members_) {
        member->seen = false;
    }
}

std::optional<MemberJudgement> MemberWatch::judge(const FamilyScorer& scorer,
                                                  std::optional<uint64_t> reserveKiB,
                                                  const FamilyAssessment& family) {
    const MemberJudgement* speaking = nullptr;
    for (auto& [id, member] : members_) {
        const FamilySeries& series = member->series;
        // Too young for a rate: nothing to judge yet.
        if (series.closedBuckets() < static_cast<uint64_t>(tuning_.minRateBuckets)) {
            continue;
        }
        if (series.closedBuckets() != member->assessedBuckets) {
            FamilyAssessment& a = member->judgement.assessment;
            a = scorer.assess(series, reserveKiB, std::nullopt, a.scoredVerdict);
            member->assessedBuckets = series.closedBuckets();
        }
        const FamilyAssessment& a = member->judgement.assessment;
        if (atLeast(a.scoredVerdict, FindingVerdict::suspect) &&
            (speaking == nullptr || a.score > speaking->assessment.score)) {
            speaking = &member->judgement;
        }
    }
    // A member speaks only when it flags more than the family's total does.
    if (speaking == nullptr || static_cast<int>(speaking->assessment.scoredVerdict) <=
                                   static_cast<int>(family.scoredVerdict)) {
        return std::nullopt;
    }
    return *speaking;
}

const FamilySeries* MemberWatch::seriesOf(uint64_t id) const {
    auto found = members_.find(id);
    return found == members_.end() ? nullptr : &found->second->series;
}

std::size_t MemberWatch::memoryBytes() const {
    std::size_t total = sizeof(*this);
    for (const auto& [id, member] : members_) {
        total += sizeof(id) + member->series.memoryBytes() + sizeof(Member);
    }
    return total;
}

} // namespace velmora
