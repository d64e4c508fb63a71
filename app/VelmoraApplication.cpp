// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/VelmoraApplication.h"

#include "app/ApplicationMenu.h"
#include "app/AuxiliaryWindows.h"
#include "app/BackendChoice.h"
#include "app/InstallLocation.h"
#include "app/InstalledVersion.h"
#include "app/InstanceHandover.h"
#include "app/LaunchAtLogin.h"
#include "app/NoTrayHint.h"
#include "app/NotificationMemoryFile.h"
#include "app/NotificationRelay.h"
#include "app/PopoverPlacement.h"
#include "app/PopoverWindow.h"
#include "app/QSettingsKeyValueStore.h"
#include "app/SettingsWindow.h"
#include "app/TrayOwner.h"
#include "app/XdgAutostartEntry.h"
#include "base/Environment.h"
#include "base/ResourcesDirectory.h"
#include "state/AppSettings.h"
#include "state/PopoverViewModel.h"
#include "state/VerdictTooltipCatalog.h"
#include "views/kit/QtScheduler.h"
#include "views/kit/RepaintTicker.h"
#include "views/popover/NotWatchingNotice.h"
#include "views/tray/TrayGlyphIconEngine.h"
#include "views/tray/TrayIconAnimation.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <iostream>

namespace velmora {
namespace {

using namespace std::chrono_literals;

// Opens the desktop's startup-applications tool, or the autostart folder when none is known.
void openStartupApplications(const std::filesystem::path& folder) {
    for (const auto* tool : {"gnome-session-properties", "xfce4-session-settings"}) {
        if (!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty() &&
            QProcess::startDetached(QString::fromLatin1(tool), {})) {
            return;
        }
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
}

std::shared_ptr<LaunchAtLogin> makeLaunchAtLogin(const RuntimeOptions& options) {
    const auto executable = currentExecutable();
    const bool installed = isInstalledPrefix(executable);
    // A self-check never touches the person's autostart; a build tree cannot launch at login.
    if (options.isSmokeTest || !installed) {
        return std::make_shared<LaunchAtLogin>(std::nullopt, installed);
    }
    XdgAutostartEntry entry(XdgAutostartEntry::defaultPath(processEnvironment()), executable);
    const auto folder = entry.path().parent_path();
    return std::make_shared<LaunchAtLogin>(std::move(entry), installed,
                                           [folder] { openStartupApplications(folder); });
}

} // namespace

VelmoraApplication::VelmoraApplication(RuntimeOptions options, InstanceHandover* handover)
    : options_(std::move(options)), scheduler_(std::make_shared<QtScheduler>()) {
    launchAtLogin_ = makeLaunchAtLogin(options_);
    appSettings_ = std::make_shared<AppSettings>(std::make_shared<QSettingsKeyValueStore>());
    version_ = installedVersion(resourcesDirectory());
    backend_ = chooseBackend(options_);
    viewModel_ = PopoverViewModel::create(
        backend_, scheduler_, VerdictTooltipCatalog::bundled(),
        std::make_shared<StoredVerdictTooltipDismissals>(appSettings_), 10s, 4s);
    // Every window (Settings, the auxiliary windows, the popover, message boxes) carries the
    // application's icon, so docks and task switchers show it.
    QApplication::setWindowIcon(applicationIcon());
    if (handover) {
        connect(handover, &InstanceHandover::showRequested, this, [this] {
            std::cerr << "velmora-ui: another launch in this session asked to show Velmora\n";
            showPopover();
        });
    }
}

VelmoraApplication::~VelmoraApplication() {
    notifications_.reset();
    presence_.reset();
    trayObservation_.reset();
    trayTicker_.reset();
    delete popover_;
    delete settings_;
    delete trustAccess_;
    delete verdictHelp_;
    delete fallbackMenu_;
}

void VelmoraApplication::start() {
    if (!options_.isSmokeTest) {
        tray_ = new TrayOwner(this);
        connectMenu(tray_->menu());
        connect(tray_, &TrayOwner::popoverToggleRequested, this,
                &VelmoraApplication::togglePopover);
        connect(tray_, &TrayOwner::popoverShowRequested, this, &VelmoraApplication::openPopover);
        // The icon animates its fill and badge and is redrawn when the appearance flips; the tray
        // takes its frames at most every 40 ms.
        trayLook_ = new TrayIconAnimation(this);
        trayFrameTimer_ = new QTimer(this);
        trayFrameTimer_->setSingleShot(true);
        trayFrameTimer_->setInterval(40);
        connect(trayFrameTimer_, &QTimer::timeout, this, [this] {
            if (trayFramePending_) {
                trayFramePending_ = false;
                trayFrameChanged();
            }
        });
        connect(trayLook_, &TrayIconAnimation::frameChanged, this,
                &VelmoraApplication::trayFrameChanged);
        trayTicker_ = std::make_unique<RepaintTicker>(scheduler_, [this] { refreshTrayIcon(); });
        trayObservation_ = viewModel_->observe([this](const ViewModelChange& change) {
            if (change.has(ViewModelField::snapshot) || change.has(ViewModelField::monitorLink)) {
                refreshTrayIcon();
            }
        });
        refreshTrayIcon();
        presence_ = std::make_unique<TrayPresence>(
            scheduler_, &TrayOwner::trayAvailable,
            [this](TrayPresence::Placement placement) { applyPlacement(placement); });
        presence_->start();
    }
    if (allowsDesktopNotifications(options_)) {
        notifications_ = std::make_unique<NotificationRelay>(
            viewModel_, scheduler_, appSettings_,
            std::make_unique<DesktopNotifier>(QDBusConnection::sessionBus()),
            [this] { showPopover(); },
            std::make_shared<NotificationMemoryFile>(
                NotificationMemoryFile::defaultPath(processEnvironment()),
                NotificationMemoryFile::WallClock{}, scheduler_));
    }
}

std::shared_ptr<Scheduler> VelmoraApplication::scheduler() const {
    return scheduler_;
}

void VelmoraApplication::connectMenu(ApplicationMenu* menu) {
    menu->setVersion(QString::fromStdString(version_));
    connect(menu, &ApplicationMenu::aboutRequested, this, &VelmoraApplication::showAbout);
    connect(menu, &ApplicationMenu::trustAccessRequested, this,
            &VelmoraApplication::openTrustAccess);
    connect(menu, &ApplicationMenu::verdictHelpRequested, this,
            &VelmoraApplication::openVerdictHelp);
    connect(menu, &ApplicationMenu::settingsRequested, this, &VelmoraApplication::openSettings);
    connect(menu, &ApplicationMenu::quitRequested, qApp, &QApplication::quit);
}

void VelmoraApplication::refreshTrayIcon() {
    const MonitorLinkState& link = viewModel_->monitorLink();
    const auto notice = notWatchingNotice(link, viewModel_->nextMonitorAttemptIn(),
                                          viewModel_->lastGoodSnapshotAge());
    trayLook_->setLook(notice && notice->starting ? startingTrayIconLook()
                                                  : trayIconLook(viewModel_->snapshot(), !notice));
    tray_->setToolTip(
        notice
            ? QString::fromStdString(notWatchingToolTip(*notice))
            //: The tray icon's tooltip: the name, then the monitor's summary.
            : tr("Velmora \u2014 %1").arg(QString::fromStdString(viewModel_->activeSummaryText())));
    const TrayLink shown = !notice            ? TrayLink::watching
                           : notice->starting ? TrayLink::starting
                                              : TrayLink::notWatching;
    if (shown != trayLink_) {
        switch (shown) {
        case TrayLink::starting:
            std::cerr << "velmora-ui: the tray shows that Velmora is starting its monitor\n";
            break;
        case TrayLink::notWatching:
            std::cerr << "velmora-ui: the tray shows that Velmora is not watching (monitor "
                      << notWatchingReason(link) << ")\n";
            break;
        case TrayLink::watching:
            std::cerr << "velmora-ui: the tray shows that Velmora is watching"
                      << (trayLink_ == TrayLink::notWatching ? " again\n" : "\n");
            break;
        }
        trayLink_ = shown;
    }
    // The countdown in the tooltip moves once a second; nothing is timed while watching.
    trayTicker_->setRunning(notice.has_value());
}

void VelmoraApplication::trayFrameChanged() {
    if (trayFrameTimer_->isActive()) {
        trayFramePending_ = true;
        return;
    }
    tray_->setIcon(trayGlyphIcon(trayLook_->look()));
    trayFrameTimer_->start();
}

bool VelmoraApplication::inTray() const {
    return presence_ && presence_->placement() == TrayPresence::Placement::tray;
}

void VelmoraApplication::applyPlacement(TrayPresence::Placement placement) {
    if (placement == TrayPresence::Placement::tray) {
        tray_->attach();
        if (popover_ && popoverStyle_ == PopoverWindow::Style::window) {
            // The tray is back: the window that stood in for it goes.
            popover_->hide();
            popover_->deleteLater();
            popover_.clear();
        }
    } else if (placement == TrayPresence::Placement::window) {
        std::cerr << "velmora-ui: no system tray is available; showing Velmora in a window\n";
        tray_->detach();
        showPopover();
        offerNoTrayHint();
    }
}

void VelmoraApplication::offerNoTrayHint() {
    const auto dismissed = appSettings_->get(settingsKeys::dismissedHints);
    if (!popover_ ||
        std::find(dismissed.begin(), dismissed.end(), noTrayHintId) != dismissed.end()) {
        return;
    }
    const Environment environment = processEnvironment();
    const auto desktop = environment.find("XDG_CURRENT_DESKTOP");
    const std::string hint = noTrayHint(desktop != environment.end() ? desktop->second : "");
    popover_->showHint(QString::fromStdString(hint), [settings = appSettings_] {
        settings->add(settingsKeys::dismissedHints, std::string(noTrayHintId));
    });
}

PopoverWindow* VelmoraApplication::popoverWindow(PopoverWindow::Style style) {
    if (popover_ && popoverStyle_ != style) {
        popover_->hide();
        popover_->deleteLater();
        popover_.clear();
    }
    if (!popover_) {
        if (style == PopoverWindow::Style::window && fallbackMenu_ == nullptr) {
            fallbackMenu_ = new ApplicationMenu();
            connectMenu(fallbackMenu_);
        }
        PopoverContentActions actions{[this] { openSettings(); }};
        popover_ =
            new PopoverWindow(viewModel_, style, actions,
                              style == PopoverWindow::Style::window ? fallbackMenu_ : nullptr);
        popoverStyle_ = style;
    }
    return popover_;
}

void VelmoraApplication::togglePopover(QRect iconGeometry, QPoint pointer) {
    PopoverWindow* popover = popoverWindow(PopoverWindow::Style::popover);
    if (!popover->isVisible()) {
        openPopover(iconGeometry, pointer);
        return;
    }
    // The second press of a double click is a click too: it must not close what the first
    // opened (the double click that follows keeps the popover open).
    const auto doubleClick = std::chrono::milliseconds(QApplication::doubleClickInterval());
    if (scheduler_->now() - popoverOpenedAt_ >= doubleClick) {
        popover->hide();
    }
}

void VelmoraApplication::openPopover(QRect iconGeometry, QPoint pointer) {
    PopoverWindow* popover = popoverWindow(PopoverWindow::Style::popover);
    if (popover->isVisible()) {
        popover->present();
        return;
    }
    popover->showAnchored(iconGeometry, pointer);
    popoverOpenedAt_ = scheduler_->now();
    const char* where = iconGeometry.isEmpty() ? "at the pointer" : "under the tray icon";
    if (popoverPositioningOn(QGuiApplication::platformName().toStdString()) ==
        PopoverPositioning::byCompositor) {
        where = "where the compositor places it";
    }
    std::cerr << "velmora-ui: the popover opens " << where << '\n';
}

void VelmoraApplication::showPopover() {
    if (options_.isSmokeTest) {
        return;
    }
    if (inTray()) {
        openPopover(tray_->iconGeometry(), QCursor::pos());
    } else {
        popoverWindow(PopoverWindow::Style::window)->present();
    }
}

void VelmoraApplication::openSettings() {
    if (!settings_) {
        SettingsNotifications notifications{appSettings_, {}};
        if (notifications_) {
            notifications.sendTest = [this](std::function<void(bool)> done) {
                if (notifications_) {
                    notifications_->sendTest(std::move(done));
                }
            };
        }
        settings_ = new SettingsWindow(viewModel_, launchAtLogin_, version_, notifications);
    }
    presentWindow(settings_);
}

void VelmoraApplication::openTrustAccess() {
    if (!trustAccess_) {
        trustAccess_ = new TrustAccessWindow(viewModel_);
    }
    presentWindow(trustAccess_);
}

void VelmoraApplication::openVerdictHelp() {
    if (!verdictHelp_) {
        verdictHelp_ = new VerdictHelpWindow();
    }
    presentWindow(verdictHelp_);
}

void VelmoraApplication::showAbout() {
    QMessageBox::about(nullptr, tr("About Velmora"),
                       //: Rich text: keep the tags; %1 is the version.
                       tr("<b>Velmora</b><br>Version %1<br><br>A local memory-leak monitor for "
                          "the Linux desktop.")
                           .arg(QString::fromStdString(version_).toHtmlEscaped()));
}

} // namespace velmora
