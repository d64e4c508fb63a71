// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/common/RingBuffer.h"

#include <cstdint>
#include <vector>

namespace velmora {

// A family's footprint split by kind, one figure per closed bucket (oldest first).
struct KindBuckets {
    std::vector<uint32_t> anonKiB;
    std::vector<uint32_t> swapKiB;
    std::vector<uint32_t> sharedKiB;

    bool empty() const { return anonKiB.empty(); }
};

// What a family's footprint was made of over the last buckets: the medians of its anonymous,
// swapped and shared memory in each bucket, on the same clock as its footprint series (a bucket
// is `bucketSeconds` long from time 0), so that the two line up bucket for bucket. Buckets
// without a sample repeat the last figures, as the footprint's do.
class FamilyKinds {
public:
    FamilyKinds(std::size_t bucketCapacity, double bucketSeconds);

    void append(double now, uint64_t anonKiB, uint64_t swapKiB, uint64_t sharedKiB);
    // The newest `count` closed buckets, oldest first.
    KindBuckets newest(std::size_t count) const;
    std::size_t memoryBytes() const;

private:
    void closeBucket();

    double bucketSeconds_;
    RingBuffer<uint32_t> anon_;
    RingBuffer<uint32_t> swap_;
    RingBuffer<uint32_t> shared_;
    std::vector<uint32_t> pendingAnon_;
    std::vector<uint32_t> pendingSwap_;
    std::vector<uint32_t> pendingShared_;
    int64_t bucketIndex_ = -1;
};

} // namespace velmora
