// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeStatusNotifierWatcher.h"

#include <QDBusMessage>

namespace velmora::testing {
namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

QString nextConnectionName() {
    static int made = 0;
    return QStringLiteral("fake-status-notifier-watcher-%1").arg(++made);
}

} // namespace

FakeStatusNotifierWatcher::FakeStatusNotifierWatcher(const QString& address)
    : connectionName_(nextConnectionName()),
      bus_(QDBusConnection::connectToBus(address, connectionName_)) {
    serving_ =
        bus_.isConnected() &&
        bus_.registerObject(watcherPath, this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties) &&
        bus_.registerService(watcherService);
}

FakeStatusNotifierWatcher::~FakeStatusNotifierWatcher() {
    bus_.unregisterObject(watcherPath);
    QDBusConnection::disconnectFromBus(connectionName_);
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierItem(const QString& serviceOrPath) {
    // An item names its bus name (its path is then /StatusNotifierItem) or only its path, on
    // the caller's own connection.
    const QString item = serviceOrPath.startsWith(QLatin1Char('/'))
                             ? message().service() + serviceOrPath
                             : serviceOrPath + QStringLiteral("/StatusNotifierItem");
    if (!items_.contains(item)) {
        items_.append(item);
        emit StatusNotifierItemRegistered(item);
    }
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierHost(const QString&) {
    emit StatusNotifierHostRegistered();
}

} // namespace velmora::testing
