// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A StatusNotifierItem watcher and host for tests: it owns org.kde.StatusNotifierWatcher on a
// connection of its own to a private bus, says a host is registered, and records the items
// that register with it. Ending it (destroying the object) drops its name, as a panel that
// quits does; a new one takes the name under another owner, as a panel that restarts does.

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>

namespace velmora::testing {

class FakeStatusNotifierWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    // Connects to the bus at `address` and takes the name; check isServing().
    explicit FakeStatusNotifierWatcher(const QString& address);
    ~FakeStatusNotifierWatcher() override;

    bool isServing() const { return serving_; }
    // Each item as "bus-name/object-path", in the order they registered.
    QStringList registeredItems() const { return items_; }
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    // The connection the watcher speaks on, for reading the items as a host does.
    QDBusConnection connection() const { return bus_; }

public slots:
    void RegisterStatusNotifierItem(const QString& serviceOrPath);
    void RegisterStatusNotifierHost(const QString& service);

signals:
    void StatusNotifierItemRegistered(const QString& item);
    void StatusNotifierItemUnregistered(const QString& item);
    void StatusNotifierHostRegistered();

private:
    QString connectionName_;
    QDBusConnection bus_;
    bool serving_ = false;
    QStringList items_;
};

} // namespace velmora::testing
