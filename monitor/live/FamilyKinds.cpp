// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/FamilyKinds.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {
namespace {

uint32_t stored(uint64_t kib) {
    return static_cast<uint32_t>(std::min<uint64_t>(kib, std::numeric_limits<uint32_t>::max()));
}

uint32_t takeMedian(std::vector<uint32_t>& values) {
    auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    const uint32_t median = *middle;
    values.clear();
    return median;
}

} // namespace

FamilyKinds::FamilyKinds(std::size_t bucketCapacity, double bucketSeconds)
    : bucketSeconds_(bucketSeconds > 0 ? bucketSeconds : 60.0), anon_(bucketCapacity),
      swap_(bucketCapacity), shared_(bucketCapacity) {}

void FamilyKinds::append(double now, uint64_t anonKiB, uint64_t swapKiB, uint64_t sharedKiB) {
    const auto index = static_cast<int64_t>(std::floor(now / bucketSeconds_));
    if (bucketIndex_ >= 0 && index > bucketIndex_) {
        const int64_t gap =
            std::min<int64_t>(index - bucketIndex_, static_cast<int64_t>(anon_.capacity()));
        closeBucket();
        for (int64_t k = 1; k < gap && !anon_.empty(); ++k) {
            anon_.push(anon_.back());
            swap_.push(swap_.back());
            shared_.push(shared_.back());
        }
    }
    if (bucketIndex_ < 0 || index > bucketIndex_) {
        bucketIndex_ = index;
    }
    pendingAnon_.push_back(stored(anonKiB));
    pendingSwap_.push_back(stored(swapKiB));
    pendingShared_.push_back(stored(sharedKiB));
}

void FamilyKinds::closeBucket() {
    if (pendingAnon_.empty()) {
        return;
    }
    anon_.push(takeMedian(pendingAnon_));
    swap_.push(takeMedian(pendingSwap_));
    shared_.push(takeMedian(pendingShared_));
}

KindBuckets FamilyKinds::newest(std::size_t count) const {
    return {anon_.newest(count), swap_.newest(count), shared_.newest(count)};
}

std::size_t FamilyKinds::memoryBytes() const {
    return sizeof(*this) + anon_.memoryBytes() + swap_.memoryBytes() + shared_.memoryBytes() +
           (pendingAnon_.capacity() + pendingSwap_.capacity() + pendingShared_.capacity()) *
               sizeof(uint32_t);
}

} // namespace velmora
