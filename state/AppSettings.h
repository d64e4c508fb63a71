// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/KeyValueStore.h"
#include "state/SettingsKeys.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora {

// The app's preferences through the typed keys of SettingsKeys.h, over a key-value store
// (QSettings in the app, memory or a temporary INI file in tests). Every read goes to the
// store; nothing is cached. Main thread only.
class AppSettings {
public:
    explicit AppSettings(std::shared_ptr<KeyValueStore> store);

    template <class Choice> Choice get(const ChoiceSetting<Choice>& setting) const {
        if (const auto name = text(setting.key)) {
            if (const auto choice = setting.choiceNamed(*name)) {
                return *choice;
            }
        }
        return setting.fallback;
    }
    template <class Choice> void set(const ChoiceSetting<Choice>& setting, Choice value) {
        store_->setValue(std::string(setting.key), std::string(setting.nameOf(value)));
    }

    std::vector<std::string> get(const IdSetSetting& setting) const;
    // Adds `id` to the set (nothing when it is there); a full set gives up its first ids to make
    // room, so the newest always stays.
    void add(const IdSetSetting& setting, const std::string& id);

private:
    std::optional<std::string> text(std::string_view key) const;

    std::shared_ptr<KeyValueStore> store_;
};

} // namespace velmora
