// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QVariant>
#include <optional>

namespace velmora {

// Follows the desktop's colour scheme from the XDG desktop portal
// (org.freedesktop.appearance color-scheme: 1 prefers dark, 2 prefers light) and feeds it to
// VelmoraPalette. Without a portal, or with no preference (0), the palette follows the
// application palette, which a dark desktop theme may already have made dark.
class DarkModeWatcher : public QObject {
    Q_OBJECT
public:
    explicit DarkModeWatcher(QObject* parent = nullptr);

    // The portal's answer as a dark flag; none for "no preference" or a value that is not a
    // colour scheme.
    static std::optional<bool> darkFromColorScheme(const QVariant& value);

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void apply(const QVariant& value);
};

} // namespace velmora
