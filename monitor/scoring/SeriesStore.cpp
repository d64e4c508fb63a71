// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/SeriesStore.h"

namespace velmora {

MemorySeriesStore::MemorySeriesStore(std::size_t fineCapacity, std::size_t bucketCapacity,
                                     double bucketSeconds)
    : fineCapacity_(fineCapacity), bucketCapacity_(bucketCapacity), bucketSeconds_(bucketSeconds) {}

const FamilySeries& MemorySeriesStore::record(const std::string& familyKey, double now,
                                              uint64_t footprintKiB, uint64_t cpuTicks) {
    auto& slot = series_[familyKey];
    if (!slot) {
        slot = std::make_unique<FamilySeries>(fineCapacity_, bucketCapacity_, bucketSeconds_);
    }
    slot->append(now, footprintKiB, cpuTicks);
    return *slot;
}

const FamilySeries* MemorySeriesStore::find(const std::string& familyKey) const {
    auto it = series_.find(familyKey);
    return it == series_.end() ? nullptr : it->second.get();
}

std::size_t MemorySeriesStore::memoryBytes() const {
    std::size_t total = 0;
    for (const auto& [key, series] : series_) {
        total += key.capacity() + series->memoryBytes();
    }
    return total;
}

} // namespace velmora
