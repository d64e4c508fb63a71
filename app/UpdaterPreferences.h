#pragma once

#include "state/KeyValueStore.h"

#include <memory>

namespace velmora {

enum class UpdaterChannel { stable };

struct UpdaterSettings {
    UpdaterChannel channel = UpdaterChannel::stable;
    bool automaticChecksEnabled = true;
    bool automaticDownloadsEnabled = false;

    // The "Check automatically" toggle: downloads stay on only if they were on and checks stay
    // on.
    UpdaterSettings withAutomaticChecks(bool enabled) const;
    // The "Download updates automatically" toggle: downloads need checks.
    UpdaterSettings withAutomaticDownloads(bool enabled) const;

    bool operator==(const UpdaterSettings&) const = default;
};

// The update preferences in the user's defaults. Downloads never load or save as on while
// automatic checks are off.
class UpdaterPreferences {
public:
    static constexpr const char* channelKey = "VelmoraUpdaterChannel";
    static constexpr const char* checksKey = "VelmoraAutomaticallyChecksForUpdates";
    static constexpr const char* downloadsKey = "VelmoraAutomaticallyDownloadsUpdates";

    explicit UpdaterPreferences(std::shared_ptr<KeyValueStore> defaults);

    UpdaterSettings load() const;
    void save(const UpdaterSettings& settings);

private:
    std::shared_ptr<KeyValueStore> defaults_;
};

} // namespace velmora
