// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/scoring/FamilySeries.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

namespace velmora {

// Where the per-family footprint series live. The live monitor keeps them in memory; a history
// store can take this over and persist the closed buckets.
class SeriesStore {
public:
    virtual ~SeriesStore() = default;
    // Returns the family's series, which stays where it is until the family is forgotten: a
    // caller may keep it rather than look the key up again.
    virtual const FamilySeries& record(const std::string& familyKey, double now,
                                       uint64_t footprintKiB, uint64_t cpuTicks) = 0;
    virtual const FamilySeries* find(const std::string& familyKey) const = 0;
    virtual void forget(const std::string& familyKey) = 0;
    virtual std::size_t familyCount() const = 0;
    virtual std::size_t memoryBytes() const = 0;
};

class MemorySeriesStore final : public SeriesStore {
public:
    MemorySeriesStore(std::size_t fineCapacity, std::size_t bucketCapacity, double bucketSeconds);

    const FamilySeries& record(const std::string& familyKey, double now, uint64_t footprintKiB,
                               uint64_t cpuTicks) override;
    const FamilySeries* find(const std::string& familyKey) const override;
    void forget(const std::string& familyKey) override { series_.erase(familyKey); }
    std::size_t familyCount() const override { return series_.size(); }
    std::size_t memoryBytes() const override;

private:
    std::size_t fineCapacity_;
    std::size_t bucketCapacity_;
    double bucketSeconds_;
    std::unordered_map<std::string, std::unique_ptr<FamilySeries>> series_;
};

} // namespace velmora
