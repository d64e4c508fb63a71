// The sections of the Settings window's "Lifecycle" tab.
#include "app/LaunchAtLoginManager.h"
#include "app/SettingsWidgets.h"
#include "app/SettingsWindow.h"
#include "app/UpdaterController.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

std::string shortDateTime(UpdateCheckDate date) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(date.time_since_epoch()).count();
    return QLocale()
        .toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat)
        .toStdString();
}

} // namespace

QWidget* SettingsWindow::buildStartup(QWidget* parent) {
    auto* group = new SettingsGroup(QStringLiteral("Startup"), parent);
    group->setObjectName(QStringLiteral("startupGroup"));
    loginToggle_ = new QCheckBox(QStringLiteral("Open Velmora at login"), group);
    loginToggle_->setObjectName(QStringLiteral("launchAtLoginToggle"));
    group->body()->addWidget(loginToggle_);
    loginStatus_ = settingsCaption({}, group);
    loginStatus_->setObjectName(QStringLiteral("launchAtLoginStatus"));
    group->body()->addWidget(loginStatus_);
    loginApproval_ = new QPushButton(QStringLiteral("Open Startup Applications"), group);
    loginApproval_->setObjectName(QStringLiteral("launchAtLoginApproval"));
    loginApproval_->setFont(velmoraFont(TypeRole::caption));
    group->body()->addWidget(loginApproval_, 0, Qt::AlignLeft);
    loginError_ = settingsCaption({}, group);
    loginError_->setObjectName(QStringLiteral("launchAtLoginError"));
    followPaletteColor(loginError_, QPalette::WindowText, PaletteColor::criticalText);
    group->body()->addWidget(loginError_);
    connect(loginToggle_, &QCheckBox::toggled, this, [this](bool on) {
        if (!updatingControls_) {
            loginItem_->setEnabled(on);
        }
    });
    connect(loginApproval_, &QPushButton::clicked, this,
            [this] { loginItem_->openSystemSettings(); });
    return group;
}

QWidget* SettingsWindow::buildUpdates(QWidget* parent) {
    auto* group = new SettingsGroup(QStringLiteral("Updates"), parent);
    group->setObjectName(QStringLiteral("updatesGroup"));
    auto* channel = new SettingsLine(QStringLiteral("Channel"), group);
    channel->setValue(QStringLiteral("Stable releases published by the Velmora project"));
    group->body()->addWidget(channel);
    checksToggle_ = new QCheckBox(QStringLiteral("Check automatically"), group);
    checksToggle_->setObjectName(QStringLiteral("automaticChecksToggle"));
    group->body()->addWidget(checksToggle_);
    downloadsToggle_ = new QCheckBox(QStringLiteral("Download updates automatically"), group);
    downloadsToggle_->setObjectName(QStringLiteral("automaticDownloadsToggle"));
    group->body()->addWidget(downloadsToggle_);
    integrityLine_ = new SettingsLine(QStringLiteral("Update integrity"), group);
    integrityLine_->setObjectName(QStringLiteral("updateIntegrityLine"));
    group->body()->addWidget(integrityLine_);
    keyLine_ = new SettingsLine(QStringLiteral("Trusted update key"), group);
    keyLine_->setObjectName(QStringLiteral("trustedUpdateKeyLine"));
    keyLine_->setToolTip(QStringLiteral(
        "Ed25519 public key that this build will use to verify every future in-app update. This "
        "is the root of trust for the update channel."));
    group->body()->addWidget(keyLine_);
    checkButton_ = new QPushButton(QStringLiteral("Check for Updates\u2026"), group);
    checkButton_->setObjectName(QStringLiteral("checkForUpdatesButton"));
    group->body()->addWidget(checkButton_, 0, Qt::AlignLeft);
    unavailableNote_ = settingsCaption(
        QStringLiteral("Packaged installs update through the system package manager; local "
                       "development builds do not check for updates."),
        group);
    unavailableNote_->setObjectName(QStringLiteral("updatesUnavailableNote"));
    group->body()->addWidget(unavailableNote_);

    connect(checksToggle_, &QCheckBox::toggled, this, [this](bool on) {
        if (!updatingControls_) {
            updater_->save(updater_->settings().withAutomaticChecks(on));
        }
    });
    connect(downloadsToggle_, &QCheckBox::toggled, this, [this](bool on) {
        if (!updatingControls_) {
            updater_->save(updater_->settings().withAutomaticDownloads(on));
        }
    });
    connect(checkButton_, &QPushButton::clicked, this, [this] { updater_->checkForUpdates(); });
    return group;
}

void SettingsWindow::refreshLoginItem() {
    updatingControls_ = true;
    loginToggle_->setChecked(loginItem_->isEnabled());
    loginToggle_->setEnabled(loginItem_->canConfigure() && !loginItem_->isBusy());
    loginStatus_->setText(QString::fromStdString(loginItem_->statusText()));
    loginApproval_->setVisible(loginItem_->requiresApproval());
    const auto& error = loginItem_->errorText();
    loginError_->setText(error ? QString::fromStdString(*error) : QString());
    loginError_->setVisible(error.has_value());
    updatingControls_ = false;
}

void SettingsWindow::refreshUpdates() {
    updatingControls_ = true;
    const auto& settings = updater_->settings();
    const bool available = updater_->isEnabled();
    checksToggle_->setChecked(settings.automaticChecksEnabled);
    checksToggle_->setEnabled(available);
    downloadsToggle_->setChecked(settings.automaticDownloadsEnabled);
    downloadsToggle_->setEnabled(available && settings.automaticChecksEnabled);
    integrityLine_->setValue(
        QString::fromStdString(updateIntegrityText(updater_->updateIntegrity(), shortDateTime)));
    const auto& fingerprint = updater_->trustedUpdateKeyFingerprint();
    keyLine_->setValue(fingerprint ? QString::fromStdString(*fingerprint)
                                   : QStringLiteral("Not configured"));
    checkButton_->setVisible(available);
    unavailableNote_->setVisible(!available);
    updatingControls_ = false;
}

} // namespace velmora
