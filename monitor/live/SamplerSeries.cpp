// SPDX-License-Identifier: GPL-3.0-or-later
// The sampler's per-family series that only the chart of an open detail reads: the footprint's
// make-up per bucket and the growing member's own medians.
#include "monitor/live/Sampler.h"

namespace velmora {

void Sampler::recordKinds(FamilyState& family, double now) const {
    if (!options_.chartSeries) {
        return;
    }
    if (!family.kinds) {
        family.kinds = std::make_unique<FamilyKinds>(
            static_cast<std::size_t>(options_.sampling.sparklineBuckets),
            options_.scoring.bucketSeconds);
    }
    family.kinds->append(now, family.anonKiB, family.swapKiB, family.sharedKiB);
}

void Sampler::describeSeries(const FamilyState& family, FamilyView& view) const {
    const auto count = static_cast<std::size_t>(options_.sampling.sparklineBuckets);
    if (family.kinds) {
        view.kindsKiB = family.kinds->newest(count);
    }
    if (family.grower && family.memberWatch) {
        if (const FamilySeries* own = family.memberWatch->seriesOf(family.grower->id)) {
            view.growerSparklineKiB = own->medians(count);
        }
    }
}

} // namespace velmora
