// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsWindow.h"

#include "app/LaunchAtLogin.h"
#include "app/SettingsWidgets.h"
#include "app/TrustAccessPanel.h"
#include "state/AppSettings.h"
#include "state/PopoverViewModel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

constexpr int tabIconSize = 16;
// Room the window manager's title bar and frame take above the window.
constexpr int windowFrameAllowance = 40;

int openingHeight(const QScreen* screen) {
    const int room = screen != nullptr ? screen->availableGeometry().height() - windowFrameAllowance
                                       : SettingsWindow::preferredWindowHeight;
    return std::clamp(room, SettingsWindow::minimumWindowHeight,
                      SettingsWindow::preferredWindowHeight);
}

} // namespace

SettingsWindow::SettingsWindow(std::shared_ptr<PopoverViewModel> viewModel,
                               std::shared_ptr<LaunchAtLogin> launchAtLogin,
                               std::string installedVersion, SettingsNotifications notifications,
                               QWidget* parent)
    : QWidget(parent), viewModel_(std::move(viewModel)), launchAtLogin_(std::move(launchAtLogin)),
      installedVersion_(std::move(installedVersion)), notifications_(std::move(notifications)) {
    if (!notifications_.settings) {
        notifications_.settings =
            std::make_shared<AppSettings>(std::make_shared<MemoryKeyValueStore>());
    }
    setObjectName(QStringLiteral("settingsWindow"));
    setWindowTitle(tr("Velmora Settings"));
    setFixedWidth(windowWidth);
    setMinimumHeight(minimumWindowHeight);
    resize(windowWidth, openingHeight(screen()));
    followAppearance(this);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(14);
    auto* header = new QLabel(QStringLiteral("Velmora"), this);
    header->setObjectName(QStringLiteral("settingsHeader"));
    header->setFont(velmoraRoundedFont(20, QFont::DemiBold));
    layout->addWidget(header);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("settingsTabs"));
    tabs_->setIconSize(QSize(tabIconSize, tabIconSize));
    //: Settings tab: how Velmora samples, notifies, stores and what it may read.
    tabs_->addTab(buildMonitorTab(), tr("Monitor"));
    //: Settings tab: starting at login and updates.
    tabs_->addTab(buildLifecycleTab(), tr("Lifecycle"));
    layout->addWidget(tabs_, 1);
    refreshTabIcons();
    connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, this,
            [this] { refreshTabIcons(); });

    observation_ = viewModel_->observe([this](const ViewModelChange& change) {
        if (change.has(ViewModelField::snapshot)) {
            refreshFromSnapshot();
        }
    });
    launchAtLogin_->setOnChange([this] { refreshLaunchAtLogin(); });
    refreshIntervalSeconds_ = 1.0;
    refreshFromSnapshot();
    refreshNotificationLevel();
    refreshLaunchAtLogin();
}

SettingsWindow::~SettingsWindow() {
    launchAtLogin_->setOnChange(nullptr);
}

QWidget* SettingsWindow::buildMonitorTab() {
    auto* tab = new QWidget();
    tab->setObjectName(QStringLiteral("monitorTab"));
    auto* layout = new QVBoxLayout(tab);
    layout->setSpacing(14);
    layout->addWidget(buildTriage(tab));
    layout->addWidget(buildNotifications(tab));
    layout->addWidget(buildStorage(tab));
    layout->addWidget(buildPrivacy(tab));
    layout->addStretch();
    auto* page = verticalScrollPage(tab);
    page->setObjectName(QStringLiteral("monitorPage"));
    return page;
}

QWidget* SettingsWindow::buildLifecycleTab() {
    auto* tab = new QWidget();
    tab->setObjectName(QStringLiteral("lifecycleTab"));
    auto* layout = new QVBoxLayout(tab);
    layout->setSpacing(14);
    layout->addWidget(buildStartup(tab));
    layout->addWidget(buildUpdates(tab));
    layout->addStretch();
    auto* page = verticalScrollPage(tab);
    page->setObjectName(QStringLiteral("lifecyclePage"));
    return page;
}

void SettingsWindow::refreshTabIcons() {
    // In tab order: "Monitor", "Lifecycle".
    const char* symbols[] = {"utilities-system-monitor", "view-refresh"};
    for (int index = 0; index < tabs_->count(); ++index) {
        tabs_->setTabIcon(index,
                          symbolIcon(symbols[index], tabIconSize, VelmoraPalette::current()));
    }
}

void SettingsWindow::showEvent(QShowEvent* event) {
    // Opening the window starts from the backend's current cadence.
    shownRefreshIntervalMs_ = 0;
    refreshFromSnapshot();
    refreshNotificationLevel();
    QWidget::showEvent(event);
}

void SettingsWindow::refreshFromSnapshot() {
    const auto& snapshot = viewModel_->snapshot();
    if (snapshot.refreshIntervalMs != shownRefreshIntervalMs_ && !isAdjustingRefreshInterval_) {
        shownRefreshIntervalMs_ = snapshot.refreshIntervalMs;
        refreshIntervalSeconds_ = static_cast<double>(snapshot.refreshIntervalMs) / 1000.0;
        showRefreshInterval();
    }
    const auto& settings = snapshot.settings;
    updatingControls_ = true;
    samplingLine_->setValue(QString::fromStdString(settings.samplingLine));
    if (auto* mode = storageModes_->button(static_cast<int>(settings.storageMode))) {
        mode->setChecked(true);
    }
    evidenceToggle_->setChecked(settings.evidenceCaptureEnabled);
    evidenceCaption_->setText(QString::fromStdString(settings.evidenceCaptureLine));
    budgetLine_->setValue(QString::fromStdString(settings.storageBudgetLine));
    safetyLine_->setValue(QString::fromStdString(settings.safetyLine));
    QStringList retention;
    for (const auto& line : settings.retentionLines) {
        retention << QStringLiteral("\u2022 ") + QString::fromStdString(line);
    }
    retentionList_->setText(retention.join(QLatin1Char('\n')));
    workspaceLine_->setValue(QString::fromStdString(settings.workspaceScopeLine));
    trustClaims_->setTrust(snapshot.trustAccess);
    updatingControls_ = false;
}

void SettingsWindow::setRefreshIntervalSeconds(double seconds) {
    const double previous = refreshIntervalSeconds_;
    refreshIntervalSeconds_ = seconds;
    showRefreshInterval();
    if (std::abs(seconds - previous) >= 0.01) {
        viewModel_->updateRefreshInterval(seconds);
    }
}

void SettingsWindow::showRefreshInterval() {
    updatingControls_ = true;
    //: A refresh interval in seconds, as in "1.5 s".
    cadenceValue_->setText(tr("%1 s").arg(QLocale().toString(refreshIntervalSeconds_, 'f', 1)));
    if (!isAdjustingRefreshInterval_) {
        cadenceSlider_->setValue(static_cast<int>(std::lround(refreshIntervalSeconds_ * 2.0)));
    }
    cadenceStepper_->setValue(refreshIntervalSeconds_);
    updatingControls_ = false;
}

} // namespace velmora
