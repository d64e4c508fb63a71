// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A desktop notification server for tests: it owns org.freedesktop.Notifications on its own
// connection to a private bus, records every Notify call, reports the capabilities it is
// given, and emits ActionInvoked and NotificationClosed when told to.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <vector>

namespace velmora::testing {

struct ReceivedNotification {
    uint id = 0;
    QString appName;
    uint replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int expireTimeout = 0;
};

class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    // Connects to the bus at `address` and takes the name; check isServing().
    FakeNotificationServer(const QString& address, QStringList capabilities);
    ~FakeNotificationServer() override;

    bool isServing() const { return serving_; }
    const std::vector<ReceivedNotification>& received() const { return received_; }

    // Every received notification as a JSON array of objects (the D-Bus argument names).
    bool dump(const QString& path) const;

    // Called after each Notify has been recorded.
    void setOnReceived(std::function<void(const ReceivedNotification&)> handler) {
        onReceived_ = std::move(handler);
    }

    // The id the next new notification gets (the ones after it count up from there): servers
    // choose their ids, and a new server starts again from 1.
    void setNextId(uint id) { nextId_ = id; }
    // This server's unique name on the bus.
    QString uniqueName() const { return bus_.baseService(); }

    void invokeAction(uint id, const QString& key) { emit ActionInvoked(id, key); }
    void close(uint id) { emit NotificationClosed(id, 2); }

public slots:
    QStringList GetCapabilities() const { return capabilities_; }
    uint Notify(const QString& app_name, uint replaces_id, const QString& app_icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expire_timeout);
    void CloseNotification(uint id) { emit NotificationClosed(id, 3); }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion) const;

signals:
    void ActionInvoked(uint id, const QString& action_key);
    void NotificationClosed(uint id, uint reason);

private:
    QString connectionName_;
    QDBusConnection bus_;
    QStringList capabilities_;
    std::vector<ReceivedNotification> received_;
    std::function<void(const ReceivedNotification&)> onReceived_;
    uint nextId_ = 1;
    bool serving_ = false;
};

} // namespace velmora::testing
