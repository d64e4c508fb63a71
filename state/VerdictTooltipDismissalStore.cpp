#include "state/VerdictTooltipDismissalStore.h"

#include <algorithm>

namespace velmora {

KeyValueVerdictTooltipDismissalStore::KeyValueVerdictTooltipDismissalStore(
    std::shared_ptr<KeyValueStore> defaults, std::string key)
    : defaults_(std::move(defaults)), key_(std::move(key)) {}

std::vector<std::string> KeyValueVerdictTooltipDismissalStore::storedIDs() const {
    const std::optional<StoredValue> stored = defaults_->value(key_);
    if (!stored) {
        return {};
    }
    if (const auto* ids = std::get_if<std::vector<std::string>>(&*stored)) {
        return *ids;
    }
    return {};
}

bool KeyValueVerdictTooltipDismissalStore::isDismissed(const std::string& id) const {
    const std::vector<std::string> ids = storedIDs();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void KeyValueVerdictTooltipDismissalStore::dismiss(const std::string& id) {
    std::vector<std::string> ids = storedIDs();
    ids.push_back(id);
    // std::string compares bytes as unsigned, and UTF-8 byte order is code-point order.
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    defaults_->setValue(key_, std::move(ids));
}

} // namespace velmora
