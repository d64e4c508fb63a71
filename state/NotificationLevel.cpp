// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/NotificationLevel.h"

#include <array>
#include <utility>

namespace velmora {
namespace {

constexpr std::array levelNames{
    std::pair{NotificationLevel::off, std::string_view{"off"}},
    std::pair{NotificationLevel::criticalOnly, std::string_view{"critical"}},
    std::pair{NotificationLevel::probableAndUp, std::string_view{"probable"}},
    std::pair{NotificationLevel::suspectAndUp, std::string_view{"suspect"}},
};

} // namespace

bool reachesLevel(FindingVerdict verdict, NotificationLevel level) {
    switch (level) {
    case NotificationLevel::off:
        return false;
    case NotificationLevel::criticalOnly:
        return verdict == FindingVerdict::criticalRunaway;
    case NotificationLevel::probableAndUp:
        return verdict == FindingVerdict::probable || verdict == FindingVerdict::criticalRunaway;
    case NotificationLevel::suspectAndUp:
        return verdict == FindingVerdict::suspect || verdict == FindingVerdict::probable ||
               verdict == FindingVerdict::criticalRunaway;
    }
    return false;
}

std::string_view storedName(NotificationLevel level) {
    for (const auto& [value, name] : levelNames) {
        if (value == level) {
            return name;
        }
    }
    return {};
}

std::optional<NotificationLevel> notificationLevelNamed(std::string_view name) {
    for (const auto& [value, text] : levelNames) {
        if (text == name) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace velmora
