// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Notification.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// A client of the desktop's notification server (org.freedesktop.Notifications) on a D-Bus
// connection. It asks the server for its capabilities and offers buttons only when the server
// shows actions; every call is asynchronous, so the UI thread never waits on the bus. Without a
// server (or a bus) it writes one diagnostic line per outage and drops what it was asked to
// show; the next request tries again, once.
//
// It follows the server: when another process takes the name (NameOwnerChanged: the desktop
// restarted its notification daemon, or another one took over) it asks for the capabilities
// again and forgets the ids the old one gave, and says so through setOnServerChanged(). The
// server's bus name is learnt from its answers too, so a server that changed while nobody
// listened is noticed at the first answer.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    using Diagnose = std::function<void(std::string_view line)>;
    // The server's id of the shown notification, or none when it could not be shown.
    using Done = std::function<void(std::optional<uint32_t> serverId)>;
    using ActionHandler = std::function<void(NotificationAction action, const std::string& key)>;

    static constexpr const char* serviceName = "org.freedesktop.Notifications";
    static constexpr const char* objectPath = "/org/freedesktop/Notifications";
    static constexpr const char* interfaceName = "org.freedesktop.Notifications";
    // The name the desktop entry and the icon theme know Velmora by.
    static constexpr const char* desktopEntry = "velmora";
    static constexpr int callTimeoutMs = 5000;

    explicit DesktopNotifier(QDBusConnection bus, Diagnose diagnose = {},
                             QObject* parent = nullptr);

    void send(const Notification& notification, Done done = {});

    // A button (or the notification itself, as `show`) pressed on one of ours.
    void setOnAction(ActionHandler handler) { onAction_ = std::move(handler); }
    // One of ours was closed, by the person, by expiry or by a replacement.
    void setOnClosed(std::function<void(uint32_t serverId)> handler) {
        onClosed_ = std::move(handler);
    }
    // The server now has another bus name (empty: there is none): ids of the old one are void.
    void setOnServerChanged(std::function<void(const std::string& owner)> handler) {
        onServerChanged_ = std::move(handler);
    }
    // The bus name of the server the caller's ids came from (kept from an earlier run): until a
    // server with another name answers, those ids are taken to be its.
    void expectServer(const std::string& owner) { owner_ = owner; }

    // The capabilities the server reported; empty until it answered.
    const QStringList& capabilities() const { return capabilities_; }

private slots:
    void actionInvoked(uint id, const QString& actionKey);
    void notificationClosed(uint id, uint reason);
    void serviceOwnerChanged(const QString& service, const QString& oldOwner,
                             const QString& newOwner);

private:
    enum class ServerState { unknown, asking, ready };
    struct Pending {
        Notification notification;
        Done done;
    };

    void askCapabilities();
    void deliver(const Notification& notification, Done done);
    void serverFailed(const QString& what);
    // Another process owns the name now: what the old one gave means nothing to it.
    void serverReplaced(const std::string& owner);
    void remember(uint32_t id, const std::string& key);

    QDBusConnection bus_;
    Diagnose diagnose_;
    ServerState state_ = ServerState::unknown;
    // Moves on with every change of server: answers to calls made before are stale.
    uint64_t generation_ = 0;
    std::string owner_;
    QStringList capabilities_;
    std::deque<Pending> waiting_;
    bool outageReported_ = false;
    // The family each shown notification acts on, by server id, and the ids in the order they
    // were shown (the oldest is forgotten first).
    static constexpr std::size_t maxRemembered = 32;
    std::map<uint32_t, std::string> shown_;
    std::deque<uint32_t> shownOrder_;
    ActionHandler onAction_;
    std::function<void(uint32_t)> onClosed_;
    std::function<void(const std::string&)> onServerChanged_;
};

} // namespace velmora
