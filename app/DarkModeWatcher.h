#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QVariant>
#include <optional>

namespace velmora {

// Follows the desktop's colour scheme from the XDG desktop portal
// (org.freedesktop.appearance color-scheme: 1 dark, 0 and 2 light) and feeds it to
// VelmoraPalette. Without a portal the palette follows the application palette.
class DarkModeWatcher : public QObject {
    Q_OBJECT
public:
    explicit DarkModeWatcher(QObject* parent = nullptr);

    // The portal's answer as a dark flag; none when the value is not a colour scheme.
    static std::optional<bool> darkFromColorScheme(const QVariant& value);

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void apply(const QVariant& value);
};

} // namespace velmora
