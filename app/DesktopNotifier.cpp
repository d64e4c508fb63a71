// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DesktopNotifier.h"

#include "base/DiagnosticLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QVariantMap>

namespace velmora {
namespace {

// The action keys on the wire and their captions; "default" is the notification itself.
struct ActionKey {
    NotificationAction action;
    const char* key;
    const char* caption;
};
// The buttons of a notification (the desktop shows them under its text).
constexpr ActionKey actionKeys[] = {
    {NotificationAction::show, "show", QT_TRANSLATE_NOOP("velmora::DesktopNotifier", "Show")},
    {NotificationAction::captureEvidence, "capture",
     QT_TRANSLATE_NOOP("velmora::DesktopNotifier", "Capture evidence")},
    {NotificationAction::ignore, "ignore",
     QT_TRANSLATE_NOOP("velmora::DesktopNotifier", "Ignore for 24 h")},
};

std::optional<NotificationAction> actionNamed(const QString& key) {
    if (key == QLatin1String("default")) {
        return NotificationAction::show;
    }
    for (const auto& entry : actionKeys) {
        if (key == QLatin1String(entry.key)) {
            return entry.action;
        }
    }
    return std::nullopt;
}

QDBusMessage call(const char* method) {
    return QDBusMessage::createMethodCall(
        QLatin1String(DesktopNotifier::serviceName), QLatin1String(DesktopNotifier::objectPath),
        QLatin1String(DesktopNotifier::interfaceName), QLatin1String(method));
}

} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, Diagnose diagnose, QObject* parent)
    : QObject(parent), bus_(std::move(bus)),
      diagnose_(diagnose ? std::move(diagnose) : Diagnose(writeDiagnosticLine)) {
    if (bus_.isConnected()) {
        const auto service = QLatin1String(serviceName);
        const auto path = QLatin1String(objectPath);
        const auto interface = QLatin1String(interfaceName);
        bus_.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                     SLOT(actionInvoked(uint, QString)));
        bus_.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                     SLOT(notificationClosed(uint, uint)));
        auto* watcher =
            new QDBusServiceWatcher(service, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                &DesktopNotifier::serviceOwnerChanged);
    }
}

void DesktopNotifier::send(const Notification& notification, Done done) {
    if (!bus_.isConnected()) {
        serverFailed(QStringLiteral("there is no session bus"));
        if (done) {
            done(std::nullopt);
        }
        return;
    }
    if (state_ == ServerState::ready) {
        deliver(notification, std::move(done));
        return;
    }
    waiting_.push_back({notification, std::move(done)});
    if (state_ == ServerState::unknown) {
        askCapabilities();
    }
}

void DesktopNotifier::askCapabilities() {
    state_ = ServerState::asking;
    auto* watcher =
        new QDBusPendingCallWatcher(bus_.asyncCall(call("GetCapabilities"), callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation = generation_](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (generation != generation_) {
                    return; // asked of a server that has gone; its successor is being asked
                }
                const QDBusPendingReply<QStringList> reply = *w;
                if (reply.isError()) {
                    state_ = ServerState::unknown;
                    serverFailed(reply.error().message());
                    auto dropped = std::move(waiting_);
                    waiting_.clear();
                    for (auto& pending : dropped) {
                        if (pending.done) {
                            pending.done(std::nullopt);
                        }
                    }
                    return;
                }
                // The answer comes from the server's own bus name.
                if (const auto owner = reply.reply().service().toStdString(); owner != owner_) {
                    serverReplaced(owner);
                }
                state_ = ServerState::ready;
                capabilities_ = reply.value();
                auto queued = std::move(waiting_);
                waiting_.clear();
                for (auto& pending : queued) {
                    deliver(pending.notification, std::move(pending.done));
                }
            });
}

void DesktopNotifier::serviceOwnerChanged(const QString&, const QString&, const QString& newOwner) {
    if (newOwner.toStdString() == owner_) {
        return;
    }
    serverReplaced(newOwner.toStdString());
    capabilities_.clear();
    state_ = ServerState::unknown;
    // A new server may show other things (buttons, markup); without one, what waits is
    // delivered by whatever the bus starts, or dropped.
    if (!newOwner.isEmpty() || !waiting_.empty()) {
        askCapabilities();
    }
}

void DesktopNotifier::serverReplaced(const std::string& owner) {
    ++generation_;
    owner_ = owner;
    shown_.clear();
    shownOrder_.clear();
    // What waits to be shown was made for the old server: it replaces nothing on the new one.
    for (auto& pending : waiting_) {
        pending.notification.replacesId = 0;
    }
    if (onServerChanged_) {
        onServerChanged_(owner);
    }
}

void DesktopNotifier::deliver(const Notification& notification, Done done) {
    QStringList actions;
    if (capabilities_.contains(QStringLiteral("actions"))) {
        // The notification itself is the "Show" action: no second button says the same.
        actions << QStringLiteral("default") << tr("Show");
        for (const auto action : notification.actions) {
            for (const auto& entry : actionKeys) {
                if (entry.action == action && action != NotificationAction::show) {
                    actions << QLatin1String(entry.key) << tr(entry.caption);
                }
            }
        }
    }
    QString body = QString::fromStdString(notification.body);
    if (capabilities_.contains(QStringLiteral("body-markup"))) {
        body = body.toHtmlEscaped();
    }
    const uchar urgency = notification.urgency == NotificationUrgency::critical ? 2 : 1;
    QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(urgency)},
                      {QStringLiteral("desktop-entry"), QLatin1String(desktopEntry)}};
    QDBusMessage message = call("Notify");
    message << QStringLiteral("Velmora") << static_cast<uint>(notification.replacesId)
            << QLatin1String(desktopEntry) << QString::fromStdString(notification.summary) << body
            << actions << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key = notification.familyKey, done = std::move(done),
             generation = generation_](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<uint> reply = *w;
                if (generation != generation_) {
                    // Shown by a server that has gone since: its id means nothing now.
                    if (done) {
                        done(std::nullopt);
                    }
                    return;
                }
                if (reply.isError()) {
                    // The server went away: ask it again before the next one.
                    state_ = ServerState::unknown;
                    serverFailed(reply.error().message());
                    if (done) {
                        done(std::nullopt);
                    }
                    return;
                }
                outageReported_ = false;
                const uint32_t id = reply.value();
                remember(id, key);
                if (done) {
                    done(id);
                }
            });
}

void DesktopNotifier::remember(uint32_t id, const std::string& key) {
    // A replacement keeps its id: it moves to the end as the latest shown.
    if (shown_.erase(id) > 0) {
        std::erase(shownOrder_, id);
    }
    shown_[id] = key;
    shownOrder_.push_back(id);
    // A server that never reports closing would make this grow for weeks: keep the latest
    // ones, whose buttons a person may still press. Ids are the server's to choose (a new
    // server starts again from 1), so the oldest is the first shown, not the smallest.
    while (shownOrder_.size() > maxRemembered) {
        shown_.erase(shownOrder_.front());
        shownOrder_.pop_front();
    }
}

void DesktopNotifier::serverFailed(const QString& what) {
    if (outageReported_) {
        return;
    }
    outageReported_ = true;
    diagnose_("velmora-ui: desktop notifications are unavailable (" + what.toStdString() + ")");
}

void DesktopNotifier::actionInvoked(uint id, const QString& actionKey) {
    const auto found = shown_.find(id);
    const auto action = actionNamed(actionKey);
    if (found == shown_.end() || !action || !onAction_) {
        return;
    }
    onAction_(*action, found->second);
}

void DesktopNotifier::notificationClosed(uint id, uint) {
    if (shown_.erase(id) == 0) {
        return;
    }
    std::erase(shownOrder_, id);
    if (onClosed_) {
        onClosed_(id);
    }
}

} // namespace velmora
