#include "state/NotificationPreferences.h"

#include <string>

namespace velmora {

NotificationPreferences::NotificationPreferences(std::shared_ptr<KeyValueStore> defaults)
    : defaults_(std::move(defaults)) {}

NotificationLevel NotificationPreferences::level() const {
    const auto stored = defaults_->value(std::string(key));
    if (const auto* name = stored ? std::get_if<std::string>(&*stored) : nullptr) {
        if (const auto level = notificationLevelNamed(*name)) {
            return *level;
        }
    }
    return defaultNotificationLevel;
}

void NotificationPreferences::setLevel(NotificationLevel level) {
    defaults_->setValue(std::string(key), std::string(storedName(level)));
}

} // namespace velmora
