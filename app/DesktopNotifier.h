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
// connection. It asks the server for its capabilities once and offers buttons only when the
// server shows actions; every call is asynchronous, so the UI thread never waits on the bus.
// Without a server (or a bus) it writes one diagnostic line per outage and drops what it was
// asked to show; the next request tries again, once.
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

    // The capabilities the server reported; empty until it answered.
    const QStringList& capabilities() const { return capabilities_; }

private slots:
    void actionInvoked(uint id, const QString& actionKey);
    void notificationClosed(uint id, uint reason);

private:
    enum class ServerState { unknown, asking, ready };
    struct Pending {
        Notification notification;
        Done done;
    };

    void askCapabilities();
    void deliver(const Notification& notification, Done done);
    void serverFailed(const QString& what);

    QDBusConnection bus_;
    Diagnose diagnose_;
    ServerState state_ = ServerState::unknown;
    QStringList capabilities_;
    std::deque<Pending> waiting_;
    bool outageReported_ = false;
    // The family each shown notification acts on, by server id.
    static constexpr std::size_t maxRemembered = 32;
    std::map<uint32_t, std::string> shown_;
    ActionHandler onAction_;
    std::function<void(uint32_t)> onClosed_;
};

} // namespace velmora
