// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/FamilySeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {
namespace {

uint32_t toStored(uint64_t kib) {
    return static_cast<uint32_t>(std::min<uint64_t>(kib, std::numeric_limits<uint32_t>::max()));
}

constexpr std::size_t kMinimaBuckets = 60;

uint32_t bucketMedianOf(std::vector<uint32_t> values) {
    if (values.empty()) {
        return 0;
    }
    auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

std::vector<uint32_t> oldestOf(const RingBuffer<uint32_t>& ring, std::size_t count) {
    std::vector<uint32_t> out;
    out.reserve(std::min(count, ring.size()));
    for (std::size_t i = 0; i < ring.size() && i < count; ++i) {
        out.push_back(ring.at(i));
    }
    return out;
}

} // namespace

FamilySeries::FamilySeries(std::size_t fineCapacity, std::size_t bucketCapacity,
                           double bucketSeconds)
    : bucketSeconds_(bucketSeconds > 0 ? bucketSeconds : 60.0), fine_(fineCapacity),
      medians_(bucketCapacity), minima_(std::min(bucketCapacity, kMinimaBuckets)),
      cpu_(bucketCapacity) {}

void FamilySeries::append(double now, uint64_t footprintKiB, uint64_t cpuTicks) {
    auto index = static_cast<int64_t>(std::floor(now / bucketSeconds_));
    if (bucketIndex_ < 0) {
        bucketIndex_ = index;
        firstSeen_ = now;
        pendingCpuStart_ = cpuTicks;
    } else if (index > bucketIndex_) {
        int64_t gap =
            std::min<int64_t>(index - bucketIndex_, static_cast<int64_t>(medians_.capacity()));
        closeBucket();
        // Buckets without a sample (the machine slept, a pass was late) repeat the last median.
        for (int64_t k = 1; k < gap; ++k) {
            medians_.push(medians_.back());
            minima_.push(minima_.back());
            cpu_.push(0);
            ++closedBuckets_;
        }
        bucketIndex_ = index;
        pendingCpuStart_ = lastCpu_;
    }
    uint32_t stored = toStored(footprintKiB);
    fine_.push(stored);
    pending_.push_back(stored);
    lastCpu_ = cpuTicks;
}

void FamilySeries::closeBucket() {
    if (pending_.empty()) {
        return;
    }
    minima_.push(*std::min_element(pending_.begin(), pending_.end()));
    medians_.push(bucketMedianOf(pending_));
    uint64_t used = lastCpu_ > pendingCpuStart_ ? lastCpu_ - pendingCpuStart_ : 0;
    cpu_.push(toStored(used));
    pending_.clear();
    ++closedBuckets_;
}

uint64_t FamilySeries::cpuTicks(std::size_t count) const {
    uint64_t total = 0;
    for (uint32_t ticks : cpu_.newest(count)) {
        total += ticks;
    }
    return total;
}

std::vector<uint32_t> FamilySeries::oldestMedians(std::size_t count) const {
    return oldestOf(medians_, count);
}

std::vector<uint32_t> FamilySeries::oldestMinima(std::size_t count) const {
    return oldestOf(minima_, count);
}

uint32_t FamilySeries::baselineKiB() const {
    return bucketMedianOf(medians_.newest(medians_.size()));
}

std::size_t FamilySeries::memoryBytes() const {
    return sizeof(*this) + fine_.memoryBytes() + medians_.memoryBytes() + minima_.memoryBytes() +
           cpu_.memoryBytes() + pending_.capacity() * sizeof(uint32_t);
}

} // namespace velmora
