// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DarkModeWatcher.h"

#include "views/kit/VelmoraPalette.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace velmora {
namespace {
const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString interface = QStringLiteral("org.freedesktop.portal.Settings");
const QString group = QStringLiteral("org.freedesktop.appearance");
const QString key = QStringLiteral("color-scheme");

// The portal wraps the value in one or two variants depending on its version.
QVariant unwrapped(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value;
}
} // namespace

DarkModeWatcher::DarkModeWatcher(QObject* parent) : QObject(parent) {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    auto call = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Read"));
    call << group << key;
    const QDBusReply<QVariant> reply = bus.call(call, QDBus::Block, 500);
    if (reply.isValid()) {
        apply(reply.value());
    }
    bus.connect(service, path, interface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
}

std::optional<bool> DarkModeWatcher::darkFromColorScheme(const QVariant& value) {
    const auto scheme = unwrapped(value);
    bool ok = false;
    const auto code = scheme.toUInt(&ok);
    if (!ok || (code != 1 && code != 2)) {
        return std::nullopt;
    }
    return code == 1;
}

void DarkModeWatcher::settingChanged(const QString& changedGroup, const QString& changedKey,
                                     const QDBusVariant& value) {
    if (changedGroup == group && changedKey == key) {
        apply(value.variant());
    }
}

void DarkModeWatcher::apply(const QVariant& value) {
    if (const auto dark = darkFromColorScheme(value)) {
        VelmoraPalette::setDark(*dark);
    } else {
        VelmoraPalette::followApplicationPalette();
    }
}

} // namespace velmora
