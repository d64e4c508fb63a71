#pragma once

#include "state/KeyValueStore.h"
#include "state/NotificationLevel.h"

#include <memory>
#include <string_view>

namespace velmora {

// The notification level kept with the other preferences, under `key` as its stored name.
// Every read goes to the store; a missing or unreadable value is the default level.
class NotificationPreferences {
public:
    static constexpr std::string_view key = "Velmora.notificationLevel";

    explicit NotificationPreferences(std::shared_ptr<KeyValueStore> defaults);

    NotificationLevel level() const;
    void setLevel(NotificationLevel level);

private:
    std::shared_ptr<KeyValueStore> defaults_;
};

} // namespace velmora
