// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/KeyValueStore.h"

#include <QSettings>
#include <memory>

namespace velmora {

// The user's preferences in QSettings (organisation "Velmora", application "Velmora").
class QSettingsKeyValueStore final : public KeyValueStore {
public:
    QSettingsKeyValueStore();
    // Over a given file (tests use a temporary INI file).
    explicit QSettingsKeyValueStore(const QString& iniFile);

    std::optional<StoredValue> value(const std::string& key) const override;
    void setValue(const std::string& key, StoredValue value) override;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace velmora
