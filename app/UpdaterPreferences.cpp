#include "app/UpdaterPreferences.h"

namespace velmora {
namespace {

// A flag stored as a boolean; a value of another type (QSettings hands back the text "true"
// from an INI file) is read the way the preferences system reads it.
std::optional<bool> storedFlag(const KeyValueStore& defaults, const char* key) {
    const auto value = defaults.value(key);
    if (!value) {
        return std::nullopt;
    }
    if (const auto* flag = std::get_if<bool>(&*value)) {
        return *flag;
    }
    if (const auto* number = std::get_if<std::int64_t>(&*value)) {
        return *number != 0;
    }
    if (const auto* text = std::get_if<std::string>(&*value)) {
        if (*text == "true" || *text == "1" || *text == "YES" || *text == "yes") {
            return true;
        }
        if (*text == "false" || *text == "0" || *text == "NO" || *text == "no") {
            return false;
        }
    }
    return std::nullopt;
}

} // namespace

UpdaterSettings UpdaterSettings::withAutomaticChecks(bool enabled) const {
    UpdaterSettings next = *this;
    next.automaticChecksEnabled = enabled;
    next.automaticDownloadsEnabled = automaticDownloadsEnabled && enabled;
    return next;
}

UpdaterSettings UpdaterSettings::withAutomaticDownloads(bool enabled) const {
    UpdaterSettings next = *this;
    next.automaticDownloadsEnabled = automaticChecksEnabled && enabled;
    return next;
}

UpdaterPreferences::UpdaterPreferences(std::shared_ptr<KeyValueStore> defaults)
    : defaults_(std::move(defaults)) {}

UpdaterSettings UpdaterPreferences::load() const {
    UpdaterSettings settings;
    // "stable" is the only channel: whatever is stored reads as stable.
    settings.channel = UpdaterChannel::stable;
    settings.automaticChecksEnabled = storedFlag(*defaults_, checksKey).value_or(true);
    settings.automaticDownloadsEnabled =
        settings.automaticChecksEnabled && storedFlag(*defaults_, downloadsKey).value_or(false);
    return settings;
}

void UpdaterPreferences::save(const UpdaterSettings& settings) {
    defaults_->setValue(channelKey, std::string("stable"));
    defaults_->setValue(checksKey, settings.automaticChecksEnabled);
    defaults_->setValue(downloadsKey,
                        settings.automaticChecksEnabled && settings.automaticDownloadsEnabled);
}

} // namespace velmora
