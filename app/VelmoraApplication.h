#pragma once

#include "app/RuntimeOptions.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <memory>

class QMenu;

namespace velmora {

class ApplicationMenu;
class InstanceHandover;
class InteractiveMenuSmokeHarness;
class LaunchAtLoginManager;
class Observation;
class PopoverViewModel;
class PopoverWindow;
class QtScheduler;
class SettingsWindow;
class TrayOwner;
class UpdaterController;
class VelmoraBackend;

// The running application: the long-lived objects of start-up and the windows they show.
// Built after the synchronous self-check and the single-instance guard (see main.cpp).
class VelmoraApplication : public QObject {
    Q_OBJECT
public:
    VelmoraApplication(RuntimeOptions options, InstanceHandover* handover);
    ~VelmoraApplication() override;

    // Places the tray icon (or the fallback window) and starts the self-check harness.
    void start();

    const std::shared_ptr<PopoverViewModel>& viewModel() const { return viewModel_; }

    void openSettings();
    void openTrustAccess();
    void openVerdictHelp();
    void showAbout();
    void showPopover();

private:
    void connectMenu(ApplicationMenu* menu);
    void refreshTrayIcon();
    void togglePopover(QRect iconGeometry, QPoint pointer);
    PopoverWindow* popoverWindow();

    RuntimeOptions options_;
    std::shared_ptr<QtScheduler> scheduler_;
    std::shared_ptr<LaunchAtLoginManager> loginItem_;
    std::shared_ptr<UpdaterController> updater_;
    std::shared_ptr<VelmoraBackend> backend_;
    std::shared_ptr<PopoverViewModel> viewModel_;
    std::unique_ptr<Observation> trayObservation_;
    InteractiveMenuSmokeHarness* harness_ = nullptr;
    TrayOwner* tray_ = nullptr;
    ApplicationMenu* fallbackMenu_ = nullptr;
    bool useTray_ = false;
    QPointer<PopoverWindow> popover_;
    QPointer<SettingsWindow> settings_;
    QPointer<QWidget> trustAccess_;
    QPointer<QWidget> verdictHelp_;
};

} // namespace velmora
