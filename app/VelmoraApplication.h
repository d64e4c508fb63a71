// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PopoverWindow.h"
#include "app/RuntimeOptions.h"
#include "app/TrayPresence.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <chrono>
#include <memory>

class QMenu;
class QTimer;

namespace velmora {

class ApplicationMenu;
class InstanceHandover;
class LaunchAtLogin;
class AppSettings;
class NotificationRelay;
class Observation;
class PopoverViewModel;
class QtScheduler;
class RepaintTicker;
class Scheduler;
class SettingsWindow;
class TrayIconAnimation;
class TrayOwner;
class VelmoraBackend;

// The running application: the long-lived objects of start-up and the windows they show.
// Built after the synchronous self-check and the single-instance guard; the other self-checks
// drive it from outside (see main.cpp).
class VelmoraApplication : public QObject {
    Q_OBJECT
public:
    VelmoraApplication(RuntimeOptions options, InstanceHandover* handover);
    ~VelmoraApplication() override;

    // Starts following the tray host (the tray icon while there is one, else the window) and
    // the desktop notifications.
    void start();

    const std::shared_ptr<PopoverViewModel>& viewModel() const { return viewModel_; }
    std::shared_ptr<Scheduler> scheduler() const;

    void openSettings();
    void openTrustAccess();
    void openVerdictHelp();
    void showAbout();
    void showPopover();

private:
    void connectMenu(ApplicationMenu* menu);
    // The tray icon and tooltip from the view model: the snapshot's look while the monitor is
    // watching, the not-watching look (and a countdown in the tooltip) while it is not.
    void refreshTrayIcon();
    void trayFrameChanged();
    void applyPlacement(TrayPresence::Placement placement);
    void togglePopover(QRect iconGeometry, QPoint pointer);
    // Opens the popover at the tray icon (or where the compositor places it); an open one is
    // raised where it is.
    void openPopover(QRect iconGeometry, QPoint pointer);
    // The hint of what would give this desktop a tray, above the window's content, until the
    // person dismisses it for good.
    void offerNoTrayHint();
    // The popover in the given style, made anew when the one there has the other style.
    PopoverWindow* popoverWindow(PopoverWindow::Style style);
    bool inTray() const;

    RuntimeOptions options_;
    std::shared_ptr<QtScheduler> scheduler_;
    std::shared_ptr<LaunchAtLogin> launchAtLogin_;
    std::string version_; // the installed version, from the information dictionary
    std::shared_ptr<VelmoraBackend> backend_;
    std::shared_ptr<PopoverViewModel> viewModel_;
    std::unique_ptr<Observation> trayObservation_;
    std::shared_ptr<AppSettings> appSettings_;
    std::unique_ptr<NotificationRelay> notifications_; // never in a self-check
    TrayOwner* tray_ = nullptr;
    TrayIconAnimation* trayLook_ = nullptr;
    QTimer* trayFrameTimer_ = nullptr;
    bool trayFramePending_ = false;
    std::unique_ptr<RepaintTicker> trayTicker_; // runs only while the monitor is not watching
    // What the tray last showed of the monitor link, so that each change is logged once.
    enum class TrayLink { watching, starting, notWatching };
    TrayLink trayLink_ = TrayLink::watching;
    std::unique_ptr<TrayPresence> presence_;
    ApplicationMenu* fallbackMenu_ = nullptr;
    QPointer<PopoverWindow> popover_;
    PopoverWindow::Style popoverStyle_ = PopoverWindow::Style::window;
    std::chrono::nanoseconds popoverOpenedAt_{0}; // on the scheduler's clock
    QPointer<SettingsWindow> settings_;
    QPointer<QWidget> trustAccess_;
    QPointer<QWidget> verdictHelp_;
};

} // namespace velmora
