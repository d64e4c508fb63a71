// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QSettingsKeyValueStore.h"

#include <QStringList>

namespace velmora {

QSettingsKeyValueStore::QSettingsKeyValueStore()
    : settings_(std::make_unique<QSettings>(QStringLiteral("Velmora"), QStringLiteral("Velmora"))) {
}

QSettingsKeyValueStore::QSettingsKeyValueStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

std::optional<StoredValue> QSettingsKeyValueStore::value(const std::string& key) const {
    const auto stored = settings_->value(QString::fromStdString(key));
    if (!stored.isValid()) {
        return std::nullopt;
    }
    switch (stored.typeId()) {
    case QMetaType::Bool:
        return stored.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return static_cast<std::int64_t>(stored.toLongLong());
    case QMetaType::Double:
        return stored.toDouble();
    case QMetaType::QStringList: {
        std::vector<std::string> list;
        for (const auto& item : stored.toStringList()) {
            list.push_back(item.toStdString());
        }
        return list;
    }
    case QMetaType::QVariantList: {
        // An INI file gives back a one-element or empty list like this.
        std::vector<std::string> list;
        for (const auto& item : stored.toList()) {
            if (item.typeId() != QMetaType::QString) {
                return std::nullopt;
            }
            list.push_back(item.toString().toStdString());
        }
        return list;
    }
    case QMetaType::QString:
        return stored.toString().toStdString();
    default:
        return std::nullopt;
    }
}

void QSettingsKeyValueStore::setValue(const std::string& key, StoredValue value) {
    const auto name = QString::fromStdString(key);
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::vector<std::string>>) {
                // An INI file writes a one-element QStringList as a bare string, which a
                // later launch reads back as a string; a QVariantList keeps its type.
                QVariantList list;
                for (const auto& item : v) {
                    list << QString::fromStdString(item);
                }
                settings_->setValue(name, list);
            } else if constexpr (std::is_same_v<T, std::string>) {
                settings_->setValue(name, QString::fromStdString(v));
            } else {
                settings_->setValue(name, QVariant::fromValue(v));
            }
        },
        value);
    settings_->sync();
}

} // namespace velmora
