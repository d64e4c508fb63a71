#include "app/DesktopNotifier.h"

#include "backend/DiagnosticLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace velmora {
namespace {

// The action keys on the wire and their captions; "default" is the notification itself.
struct ActionKey {
    NotificationAction action;
    const char* key;
    const char* caption;
};
constexpr ActionKey actionKeys[] = {
    {NotificationAction::show, "show", "Show"},
    {NotificationAction::captureEvidence, "capture", "Capture evidence"},
    {NotificationAction::ignore, "ignore", "Ignore for 24 h"},
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
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
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
        state_ = ServerState::ready;
        capabilities_ = reply.value();
        auto queued = std::move(waiting_);
        waiting_.clear();
        for (auto& pending : queued) {
            deliver(pending.notification, std::move(pending.done));
        }
    });
}

void DesktopNotifier::deliver(const Notification& notification, Done done) {
    QStringList actions;
    if (capabilities_.contains(QStringLiteral("actions"))) {
        actions << QStringLiteral("default") << QStringLiteral("Show");
        for (const auto action : notification.actions) {
            for (const auto& entry : actionKeys) {
                if (entry.action == action) {
                    actions << QLatin1String(entry.key) << QLatin1String(entry.caption);
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
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this,
        [this, key = notification.familyKey, done = std::move(done)](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const QDBusPendingReply<uint> reply = *w;
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
            shown_[id] = key;
            // A server that never reports closing would make this grow for weeks: keep the
            // latest ones, whose buttons a person may still press.
            if (shown_.size() > maxRemembered) {
                shown_.erase(shown_.begin());
            }
            if (done) {
                done(id);
            }
        });
}

void DesktopNotifier::serverFailed(const QString& what) {
    if (outageReported_) {
        return;
    }
    outageReported_ = true;
    diagnose_("VelmoraUIApp: desktop notifications are unavailable (" + what.toStdString() + ")");
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
    if (shown_.erase(id) > 0 && onClosed_) {
        onClosed_(id);
    }
}

} // namespace velmora
