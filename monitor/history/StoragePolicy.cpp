#include "monitor/history/StoragePolicy.h"

#include "monitor/history/ByteText.h"
#include "monitor/history/Clock.h"

#include <algorithm>

namespace velmora {

StoragePolicy StoragePolicy::forMode(SettingsStorageMode mode) {
    switch (mode) {
    case SettingsStorageMode::low:
        return {7 * kDayMs, 3 * kDayMs, 3 * kDayMs, 30 * kMinuteMs,
                128 * kMiB, 64 * kMiB,  24 * kMiB};
    case SettingsStorageMode::balanced:
        break;
    case SettingsStorageMode::deepInvestigation:
        return {90 * kDayMs, 30 * kDayMs, 14 * kDayMs, 2 * kHourMs,
                2 * kGiB,    1536 * kMiB, 192 * kMiB};
    }
    return {30 * kDayMs, 14 * kDayMs, 7 * kDayMs, kHourMs, 512 * kMiB, 384 * kMiB, 48 * kMiB};
}

uint64_t StoragePolicy::recordingCapBytes() const {
    return std::min(kGiB, artifactBudgetBytes);
}

} // namespace velmora
