#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QSystemTrayIcon;
class QPixmap;

namespace velmora {

class ApplicationMenu;

// Holds the tray icon and its context menu. It decides nothing: a left click becomes
// popoverToggleRequested with the icon's geometry (empty under StatusNotifierItem) and the
// pointer position taken at the click; the menu's items are forwarded by `menu()`.
class TrayOwner : public QObject {
    Q_OBJECT
public:
    explicit TrayOwner(QObject* parent = nullptr);
    ~TrayOwner() override;

    void setIcon(const QPixmap& icon);
    void setToolTip(const QString& text);
    void show();
    bool isVisible() const;
    ApplicationMenu* menu() const { return menu_; }
    QSystemTrayIcon* trayIcon() const { return tray_; }

signals:
    void popoverToggleRequested(QRect iconGeometry, QPoint pointer);

private:
    QSystemTrayIcon* tray_;
    ApplicationMenu* menu_;
};

} // namespace velmora
