// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TrayOwner.h"

#include "app/ApplicationMenu.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <dlfcn.h>
#include <iostream>
#include <optional>
#include <xcb/xcb.h>

namespace velmora {
namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// Qt settles on StatusNotifierItem or XEmbed once, at its first tray question, by whether a
// StatusNotifierItem host is registered then (and its platform theme can speak it). It is asked
// only once a tray of either kind is there, and what it settled on is remembered here.
std::optional<bool> qtSpeaksStatusNotifier;

// Whether a StatusNotifierItem host has registered with the watcher on the session bus.
bool statusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(watcherService).value()) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, 1000);
    return reply.isValid() && reply.value().variant().toBool();
}

// libxcb's calls, looked up in the copy that Qt's xcb plugin has loaded, so that the app links
// no X library of its own.
struct Xcb {
    decltype(&xcb_intern_atom) internAtom = nullptr;
    decltype(&xcb_intern_atom_reply) internAtomReply = nullptr;
    decltype(&xcb_get_selection_owner) getSelectionOwner = nullptr;
    decltype(&xcb_get_selection_owner_reply) getSelectionOwnerReply = nullptr;

    static const Xcb& loaded() {
        static const Xcb xcb = [] {
            Xcb found;
            void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
            if (library == nullptr) {
                return found;
            }
            const auto symbol = [library](const char* name) { return ::dlsym(library, name); };
            found.internAtom = reinterpret_cast<decltype(internAtom)>(symbol("xcb_intern_atom"));
            found.internAtomReply =
                reinterpret_cast<decltype(internAtomReply)>(symbol("xcb_intern_atom_reply"));
            found.getSelectionOwner =
                reinterpret_cast<decltype(getSelectionOwner)>(symbol("xcb_get_selection_owner"));
            found.getSelectionOwnerReply = reinterpret_cast<decltype(getSelectionOwnerReply)>(
                symbol("xcb_get_selection_owner_reply"));
            return found;
        }();
        return xcb;
    }
    bool usable() const {
        return internAtom && internAtomReply && getSelectionOwner && getSelectionOwnerReply;
    }
};

// Whether an XEmbed tray owns the _NET_SYSTEM_TRAY_Sn selection of the display's screen: one
// round trip on Qt's own X connection, without going through Qt's tray code.
bool xembedTrayPresent() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const Xcb& xcb = Xcb::loaded();
    if (x11 == nullptr || x11->connection() == nullptr || !xcb.usable()) {
        return false;
    }
    xcb_connection_t* connection = x11->connection();
    static xcb_atom_t selection = XCB_ATOM_NONE;
    if (selection == XCB_ATOM_NONE) {
        const QByteArray display = qgetenv("DISPLAY");
        const qsizetype dot = display.lastIndexOf('.');
        const int screen = dot > display.lastIndexOf(':') ? display.mid(dot + 1).toInt() : 0;
        const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
        const auto cookie =
            xcb.internAtom(connection, 0, static_cast<uint16_t>(name.size()), name.constData());
        if (auto* reply = xcb.internAtomReply(connection, cookie, nullptr)) {
            selection = reply->atom;
            std::free(reply);
        }
        if (selection == XCB_ATOM_NONE) {
            return false;
        }
    }
    auto* reply = xcb.getSelectionOwnerReply(connection,
                                             xcb.getSelectionOwner(connection, selection), nullptr);
    const bool owned = reply != nullptr && reply->owner != XCB_WINDOW_NONE;
    std::free(reply);
    return owned;
}

} // namespace

TrayOwner::TrayOwner(QObject* parent) : QObject(parent), menu_(new ApplicationMenu()) {}

TrayOwner::~TrayOwner() {
    delete tray_;
    delete menu_;
}

bool TrayOwner::trayAvailable() {
    const bool statusNotifierHost = statusNotifierHostRegistered();
    const bool xembedTray = xembedTrayPresent();
    if (!qtSpeaksStatusNotifier) {
        if (!statusNotifierHost && !xembedTray) {
            return false;
        }
        const bool available = QSystemTrayIcon::isSystemTrayAvailable();
        qtSpeaksStatusNotifier = statusNotifierHost && available;
        return available;
    }
    // (Asking Qt again would open a bus connection of its own each time.)
    return *qtSpeaksStatusNotifier ? statusNotifierHost : xembedTray;
}

void TrayOwner::attach() {
    if (tray_ == nullptr) {
        tray_ = new QSystemTrayIcon(this);
        tray_->setContextMenu(menu_);
        tray_->setIcon(icon_);
        tray_->setToolTip(toolTip_);
        connect(tray_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger) {
                        emit popoverToggleRequested(tray_->geometry(), QCursor::pos());
                    } else if (reason == QSystemTrayIcon::DoubleClick) {
                        emit popoverShowRequested(tray_->geometry(), QCursor::pos());
                    }
                });
    }
    if (!tray_->isVisible()) {
        std::cerr << "velmora-ui: showing Velmora in the tray ("
                  << (qtSpeaksStatusNotifier.value_or(false) ? "StatusNotifierItem" : "XEmbed")
                  << ")\n";
    }
    tray_->show();
}

void TrayOwner::detach() {
    if (tray_ != nullptr) {
        tray_->hide();
    }
}

void TrayOwner::setIcon(const QIcon& icon) {
    icon_ = icon;
    if (tray_ != nullptr) {
        tray_->setIcon(icon_);
    }
}

void TrayOwner::setToolTip(const QString& text) {
    if (text == toolTip_) {
        return;
    }
    toolTip_ = text;
    if (tray_ != nullptr) {
        tray_->setToolTip(toolTip_);
    }
}

QRect TrayOwner::iconGeometry() const {
    return tray_ != nullptr ? tray_->geometry() : QRect();
}

} // namespace velmora
