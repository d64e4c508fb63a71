// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSystemTrayIcon>

namespace velmora {

class ApplicationMenu;

// Holds the tray icon and its context menu. It decides nothing: a left click becomes
// popoverToggleRequested and a double click popoverShowRequested (its first click has opened
// the popover already, which the second must not close), each with the icon's geometry (empty
// under StatusNotifierItem) and the pointer position taken at the click; the menu's items are
// forwarded by `menu()`.
//
// The tray icon itself is made only by attach(), once a tray host is known to be there: Qt
// settles for good, when its first tray icon is made, whether the desktop speaks
// StatusNotifierItem, so an icon made before the panel is up would never reach it.
class TrayOwner : public QObject {
    Q_OBJECT
public:
    explicit TrayOwner(QObject* parent = nullptr);
    ~TrayOwner() override;

    // Whether a tray can show an icon now: a StatusNotifierItem host registered on the session
    // bus, or on X11 an XEmbed tray owning the tray selection, whichever Qt speaks. Qt is asked
    // only once one of them is there, so that it never settles on "no StatusNotifierItem"
    // while the panel is still starting. Cheap enough to poll: a round trip or two on the
    // session bus and one to the X server.
    static bool trayAvailable();

    // Makes the tray icon (first time) and shows it. Qt keeps a shown icon in the tray when the
    // tray host restarts.
    void attach();
    // Hides the tray icon while Velmora shows itself in its window.
    void detach();
    bool isAttached() const { return tray_ != nullptr && tray_->isVisible(); }

    void setIcon(const QIcon& icon);
    void setToolTip(const QString& text);
    // The icon's geometry on screen; empty when unknown (StatusNotifierItem) or not attached.
    QRect iconGeometry() const;
    ApplicationMenu* menu() const { return menu_; }
    QSystemTrayIcon* trayIcon() const { return tray_; }

signals:
    void popoverToggleRequested(QRect iconGeometry, QPoint pointer);
    void popoverShowRequested(QRect iconGeometry, QPoint pointer);

private:
    QSystemTrayIcon* tray_ = nullptr;
    ApplicationMenu* menu_;
    QIcon icon_;
    QString toolTip_ = QStringLiteral("Velmora");
};

} // namespace velmora
