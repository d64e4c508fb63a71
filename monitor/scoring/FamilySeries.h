// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/common/RingBuffer.h"

#include <cstdint>
#include <vector>

namespace velmora {

// The footprint history of one family: the latest fine samples (one per tick) and the medians
// of closed buckets ("one-minute medians"), stored as KiB in 32 bits, with the CPU ticks the
// family used during each bucket. The lowest sample of each bucket is kept for the last hour:
// under a garbage collector's sawtooth, those low points are what tells growth from churn.
class FamilySeries {
public:
    FamilySeries(std::size_t fineCapacity, std::size_t bucketCapacity, double bucketSeconds);

    void append(double now, uint64_t footprintKiB, uint64_t cpuTicks);

    // Closed bucket medians, the newest `count`, oldest first.
    std::vector<uint32_t> medians(std::size_t count) const { return medians_.newest(count); }
    // The oldest `count` closed bucket medians and minima held, oldest first.
    std::vector<uint32_t> oldestMedians(std::size_t count) const;
    std::vector<uint32_t> oldestMinima(std::size_t count) const;
    // Lowest sample of each closed bucket, the newest `count` (at most the last hour's).
    std::vector<uint32_t> minima(std::size_t count) const { return minima_.newest(count); }
    std::size_t medianCount() const { return medians_.size(); }
    // Buckets closed since the family was first seen (not capped by the capacity).
    uint64_t closedBuckets() const { return closedBuckets_; }
    // CPU ticks used over the newest `count` closed buckets.
    uint64_t cpuTicks(std::size_t count) const;
    std::vector<uint32_t> fineSamples(std::size_t count) const { return fine_.newest(count); }
    uint32_t latestKiB() const { return fine_.empty() ? 0 : fine_.back(); }
    double firstSeen() const { return firstSeen_; }
    double bucketSeconds() const { return bucketSeconds_; }
    // Median of every closed bucket held: the family's typical footprint.
    uint32_t baselineKiB() const;
    std::size_t memoryBytes() const;

private:
    void closeBucket();

    double bucketSeconds_;
    RingBuffer<uint32_t> fine_;
    RingBuffer<uint32_t> medians_;
    RingBuffer<uint32_t> minima_;
    RingBuffer<uint32_t> cpu_;
    std::vector<uint32_t> pending_;
    int64_t bucketIndex_ = -1;
    uint64_t pendingCpuStart_ = 0;
    uint64_t lastCpu_ = 0;
    uint64_t closedBuckets_ = 0;
    double firstSeen_ = 0;
};

} // namespace velmora
