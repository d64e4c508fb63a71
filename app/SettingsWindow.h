// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;
class QTabWidget;

namespace velmora {

class DisclosureGroup;
class LaunchAtLogin;
class Observation;
class PopoverViewModel;
class SettingsLine;
class AppSettings;
class TrustAccessClaimsView;

// What the "Notifications" section works on: the stored level and a way to send the test
// notification (which reports whether it was shown). Without settings the level is kept
// for the window's life; without a sender the test button is disabled.
struct SettingsNotifications {
    std::shared_ptr<AppSettings> settings;
    std::function<void(std::function<void(bool shown)> done)> sendTest;
};

// The Settings window: tabs "Monitor" (triage, notifications, storage and evidence, privacy
// and trust) and "Lifecycle" (startup, updates), each a page that scrolls vertically so that
// every section stays reachable in a short window. Sampling, storage and privacy come from the
// snapshot and change through the view model; launch at login is local; the updates section
// names the installed version, which the package manager updates.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    SettingsWindow(std::shared_ptr<PopoverViewModel> viewModel,
                   std::shared_ptr<LaunchAtLogin> launchAtLogin, std::string installedVersion,
                   SettingsNotifications notifications = {}, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    static constexpr int windowWidth = 500;
    static constexpr int minimumWindowHeight = 560;
    // The height the window opens at, within the screen's free height (a title bar kept aside)
    // and never below the minimum.
    static constexpr int preferredWindowHeight = 640;

    double refreshIntervalSeconds() const { return refreshIntervalSeconds_; }
    bool isAdjustingRefreshInterval() const { return isAdjustingRefreshInterval_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildMonitorTab();
    QWidget* buildLifecycleTab();
    QWidget* buildTriage(QWidget* parent);
    QWidget* buildNotifications(QWidget* parent);
    QWidget* buildStorage(QWidget* parent);
    QWidget* buildPrivacy(QWidget* parent);
    QWidget* buildStartup(QWidget* parent);
    QWidget* buildUpdates(QWidget* parent);
    // The tab symbols, tinted for the current appearance.
    void refreshTabIcons();

    void refreshFromSnapshot();
    void refreshNotificationLevel();
    void refreshLaunchAtLogin();
    // A user's change of the cadence (slider or stepper).
    void setRefreshIntervalSeconds(double seconds);
    void showRefreshInterval();

    std::shared_ptr<PopoverViewModel> viewModel_;
    std::shared_ptr<LaunchAtLogin> launchAtLogin_;
    std::string installedVersion_;
    SettingsNotifications notifications_;
    std::unique_ptr<Observation> observation_;
    QTabWidget* tabs_ = nullptr;

    double refreshIntervalSeconds_ = 1.0;
    bool isAdjustingRefreshInterval_ = false;
    bool updatingControls_ = false;
    uint64_t shownRefreshIntervalMs_ = 0;

    SettingsLine* samplingLine_ = nullptr;
    QLabel* cadenceValue_ = nullptr;
    QSlider* cadenceSlider_ = nullptr;
    QDoubleSpinBox* cadenceStepper_ = nullptr;
    QButtonGroup* notificationLevels_ = nullptr;
    QPushButton* testNotificationButton_ = nullptr;
    QLabel* testNotificationResult_ = nullptr;
    QButtonGroup* storageModes_ = nullptr;
    QCheckBox* evidenceToggle_ = nullptr;
    QLabel* evidenceCaption_ = nullptr;
    SettingsLine* budgetLine_ = nullptr;
    SettingsLine* safetyLine_ = nullptr;
    QLabel* retentionList_ = nullptr;
    SettingsLine* workspaceLine_ = nullptr;
    TrustAccessClaimsView* trustClaims_ = nullptr;

    QCheckBox* loginToggle_ = nullptr;
    QLabel* loginStatus_ = nullptr;
    QPushButton* loginApproval_ = nullptr;
    QLabel* loginError_ = nullptr;
};

} // namespace velmora
