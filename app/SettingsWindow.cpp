#include "app/SettingsWindow.h"

#include "app/LaunchAtLoginManager.h"
#include "app/SettingsWidgets.h"
#include "app/TrustAccessPanel.h"
#include "app/UpdaterController.h"
#include "state/PopoverViewModel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QShowEvent>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

namespace velmora {

SettingsWindow::SettingsWindow(std::shared_ptr<PopoverViewModel> viewModel,
                               std::shared_ptr<UpdaterController> updater,
                               std::shared_ptr<LaunchAtLoginManager> loginItem, QWidget* parent)
    : QWidget(parent), viewModel_(std::move(viewModel)), updater_(std::move(updater)),
      loginItem_(std::move(loginItem)) {
    setObjectName(QStringLiteral("settingsWindow"));
    setWindowTitle(QStringLiteral("Velmora Settings"));
    setFixedWidth(500);
    setMinimumHeight(560);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(14);
    auto* header = new QLabel(QStringLiteral("Velmora"), this);
    header->setObjectName(QStringLiteral("settingsHeader"));
    header->setFont(velmoraRoundedFont(20, QFont::DemiBold));
    layout->addWidget(header);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("settingsTabs"));
    tabs->addTab(buildMonitorTab(), QStringLiteral("Monitor"));
    tabs->addTab(buildLifecycleTab(), QStringLiteral("Lifecycle"));
    layout->addWidget(tabs);

    observation_ = viewModel_->observe([this](const ViewModelChange& change) {
        if (change.has(ViewModelField::snapshot)) {
            refreshFromSnapshot();
        }
    });
    loginItem_->setOnChange([this] { refreshLoginItem(); });
    updater_->setOnChange([this] { refreshUpdates(); });
    refreshIntervalSeconds_ = 1.0;
    refreshFromSnapshot();
    refreshLoginItem();
    refreshUpdates();
}

SettingsWindow::~SettingsWindow() {
    loginItem_->setOnChange(nullptr);
    updater_->setOnChange(nullptr);
}

QWidget* SettingsWindow::buildMonitorTab() {
    auto* tab = new QWidget();
    tab->setObjectName(QStringLiteral("monitorTab"));
    auto* layout = new QVBoxLayout(tab);
    layout->setSpacing(14);
    layout->addWidget(buildTriage(tab));
    layout->addWidget(buildStorage(tab));
    layout->addWidget(buildPrivacy(tab));
    layout->addStretch();
    return tab;
}

QWidget* SettingsWindow::buildLifecycleTab() {
    auto* tab = new QWidget();
    tab->setObjectName(QStringLiteral("lifecycleTab"));
    auto* layout = new QVBoxLayout(tab);
    layout->setSpacing(14);
    layout->addWidget(buildStartup(tab));
    layout->addWidget(buildUpdates(tab));
    layout->addStretch();
    return tab;
}

void SettingsWindow::showEvent(QShowEvent* event) {
    // Opening the window starts from the backend's current cadence.
    shownRefreshIntervalMs_ = 0;
    refreshFromSnapshot();
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
    cadenceValue_->setText(QString::asprintf("%.1f s", refreshIntervalSeconds_));
    if (!isAdjustingRefreshInterval_) {
        cadenceSlider_->setValue(static_cast<int>(std::lround(refreshIntervalSeconds_ * 2.0)));
    }
    cadenceStepper_->setValue(refreshIntervalSeconds_);
    updatingControls_ = false;
}

} // namespace velmora
