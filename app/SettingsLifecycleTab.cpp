// SPDX-License-Identifier: GPL-3.0-or-later
// The sections of the Settings window's "Lifecycle" tab.
#include "app/LaunchAtLogin.h"
#include "app/SettingsWidgets.h"
#include "app/SettingsWindow.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

QWidget* SettingsWindow::buildStartup(QWidget* parent) {
    auto* group = new SettingsGroup(tr("Startup"), parent);
    group->setObjectName(QStringLiteral("startupGroup"));
    loginToggle_ = new QCheckBox(tr("Open Velmora at login"), group);
    loginToggle_->setObjectName(QStringLiteral("launchAtLoginToggle"));
    group->body()->addWidget(loginToggle_);
    loginStatus_ = settingsCaption({}, group);
    loginStatus_->setObjectName(QStringLiteral("launchAtLoginStatus"));
    group->body()->addWidget(loginStatus_);
    loginApproval_ = new QPushButton(
        //: Opens the desktop's own list of programs started at login.
        tr("Open Startup Applications"), group);
    loginApproval_->setObjectName(QStringLiteral("launchAtLoginApproval"));
    loginApproval_->setFont(velmoraFont(TypeRole::caption));
    group->body()->addWidget(loginApproval_, 0, Qt::AlignLeft);
    loginError_ = settingsCaption({}, group);
    loginError_->setObjectName(QStringLiteral("launchAtLoginError"));
    followPaletteColor(loginError_, QPalette::WindowText, PaletteColor::criticalText);
    group->body()->addWidget(loginError_);
    connect(loginToggle_, &QCheckBox::toggled, this, [this](bool on) {
        if (!updatingControls_) {
            launchAtLogin_->setEnabled(on);
        }
    });
    connect(loginApproval_, &QPushButton::clicked, this,
            [this] { launchAtLogin_->openStartupApplications(); });
    return group;
}

QWidget* SettingsWindow::buildUpdates(QWidget* parent) {
    auto* group = new SettingsGroup(tr("Updates"), parent);
    group->setObjectName(QStringLiteral("updatesGroup"));
    auto* note = settingsCaption(
        tr("Version %1. Packaged installs update through the system package manager; local "
           "development builds do not check for updates.")
            .arg(QString::fromStdString(installedVersion_)),
        group);
    note->setObjectName(QStringLiteral("updatesNote"));
    group->body()->addWidget(note);
    return group;
}

void SettingsWindow::refreshLaunchAtLogin() {
    updatingControls_ = true;
    loginToggle_->setChecked(launchAtLogin_->isEnabled());
    loginToggle_->setEnabled(launchAtLogin_->canConfigure());
    loginStatus_->setText(QString::fromStdString(launchAtLogin_->statusText()));
    loginApproval_->setVisible(launchAtLogin_->requiresApproval());
    const auto& error = launchAtLogin_->errorText();
    loginError_->setText(error ? QString::fromStdString(*error) : QString());
    loginError_->setVisible(error.has_value());
    updatingControls_ = false;
}

} // namespace velmora
