// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeNotificationServer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velmora::testing {

FakeNotificationServer::FakeNotificationServer(const QString& address, QStringList capabilities)
    : connectionName_(QStringLiteral("fake-notification-server")),
      bus_(QDBusConnection::connectToBus(address, connectionName_)),
      capabilities_(std::move(capabilities)) {
    serving_ =
        bus_.isConnected() &&
        bus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) &&
        bus_.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

FakeNotificationServer::~FakeNotificationServer() {
    bus_.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus(connectionName_);
}

uint FakeNotificationServer::Notify(const QString& app_name, uint replaces_id,
                                    const QString& app_icon, const QString& summary,
                                    const QString& body, const QStringList& actions,
                                    const QVariantMap& hints, int expire_timeout) {
    const uint id = replaces_id != 0 ? replaces_id : nextId_++;
    received_.push_back(
        {id, app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout});
    if (onReceived_) {
        onReceived_(received_.back());
    }
    return id;
}

QString FakeNotificationServer::GetServerInformation(QString& vendor, QString& version,
                                                     QString& specVersion) const {
    vendor = QStringLiteral("Velmora tests");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("fake-notification-server");
}

bool FakeNotificationServer::dump(const QString& path) const {
    QJsonArray all;
    for (const auto& n : received_) {
        QJsonObject hints;
        for (auto it = n.hints.begin(); it != n.hints.end(); ++it) {
            // The urgency is a byte, which JSON has no word for.
            hints.insert(it.key(), it.value().typeId() == QMetaType::UChar
                                       ? QJsonValue(it.value().toInt())
                                       : QJsonValue::fromVariant(it.value()));
        }
        all.append(QJsonObject{{QStringLiteral("id"), static_cast<qint64>(n.id)},
                               {QStringLiteral("app_name"), n.appName},
                               {QStringLiteral("replaces_id"), static_cast<qint64>(n.replacesId)},
                               {QStringLiteral("app_icon"), n.appIcon},
                               {QStringLiteral("summary"), n.summary},
                               {QStringLiteral("body"), n.body},
                               {QStringLiteral("actions"), QJsonArray::fromStringList(n.actions)},
                               {QStringLiteral("hints"), hints},
                               {QStringLiteral("expire_timeout"), n.expireTimeout}});
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(QJsonDocument(all).toJson()) > 0;
}

} // namespace velmora::testing
