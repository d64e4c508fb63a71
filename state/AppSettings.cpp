// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/AppSettings.h"

#include <algorithm>

namespace velmora {

AppSettings::AppSettings(std::shared_ptr<KeyValueStore> store) : store_(std::move(store)) {}

std::optional<std::string> AppSettings::text(std::string_view key) const {
    const auto stored = store_->value(std::string(key));
    if (const auto* value = stored ? std::get_if<std::string>(&*stored) : nullptr) {
        return *value;
    }
    return std::nullopt;
}

std::vector<std::string> AppSettings::get(const IdSetSetting& setting) const {
    const auto stored = store_->value(std::string(setting.key));
    const auto* ids = stored ? std::get_if<std::vector<std::string>>(&*stored) : nullptr;
    if (ids == nullptr) {
        return {};
    }
    return {ids->begin(), ids->begin() + std::min(ids->size(), setting.maxCount)};
}

void AppSettings::add(const IdSetSetting& setting, const std::string& id) {
    auto ids = get(setting);
    // std::string compares bytes as unsigned, and UTF-8 byte order is code-point order.
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    if (!std::binary_search(ids.begin(), ids.end(), id)) {
        const auto room = setting.maxCount > 0 ? setting.maxCount - 1 : 0;
        ids.erase(ids.begin(), ids.end() - static_cast<std::ptrdiff_t>(std::min(ids.size(), room)));
        ids.insert(std::upper_bound(ids.begin(), ids.end(), id), id);
    }
    store_->setValue(std::string(setting.key), std::move(ids));
}

} // namespace velmora
