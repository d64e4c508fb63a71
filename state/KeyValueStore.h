// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velmora {

// A value kept in the user's preferences. A list of strings is the only kind the core writes;
// the other kinds exist so that a value of the wrong type written by someone else can be told
// apart from a missing one.
using StoredValue = std::variant<std::vector<std::string>, std::string, bool, std::int64_t, double>;

// The user's preferences, a small seam the app backs with QSettings. Main thread only.
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;
    virtual std::optional<StoredValue> value(const std::string& key) const = 0;
    virtual void setValue(const std::string& key, StoredValue value) = 0;
};

// Preferences kept in memory, for tests and demos.
class MemoryKeyValueStore final : public KeyValueStore {
public:
    std::optional<StoredValue> value(const std::string& key) const override {
        const auto found = values_.find(key);
        return found == values_.end() ? std::nullopt : std::optional<StoredValue>(found->second);
    }
    void setValue(const std::string& key, StoredValue value) override {
        values_.insert_or_assign(key, std::move(value));
    }

private:
    std::map<std::string, StoredValue> values_;
};

} // namespace velmora
