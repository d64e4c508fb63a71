#include "app/TrayOwner.h"

#include "app/ApplicationMenu.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace velmora {

TrayOwner::TrayOwner(QObject* parent)
    : QObject(parent), tray_(new QSystemTrayIcon(this)), menu_(new ApplicationMenu()) {
    tray_->setContextMenu(menu_);
    tray_->setToolTip(QStringLiteral("Velmora"));
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                    emit popoverToggleRequested(tray_->geometry(), QCursor::pos());
                }
            });
}

TrayOwner::~TrayOwner() {
    delete menu_;
}

void TrayOwner::setIcon(const QPixmap& icon) {
    tray_->setIcon(QIcon(icon));
}

void TrayOwner::setToolTip(const QString& text) {
    tray_->setToolTip(text);
}

void TrayOwner::show() {
    tray_->show();
}

bool TrayOwner::isVisible() const {
    return tray_->isVisible();
}

} // namespace velmora
