// SPDX-License-Identifier: GPL-3.0-or-later
// The sections of the Settings window's "Monitor" tab.
#include "app/SettingsWidgets.h"
#include "app/SettingsWindow.h"
#include "app/TrustAccessPanel.h"
#include "model/RefreshInterval.h"
#include "state/AppSettings.h"
#include "state/PopoverViewModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <tuple>

namespace velmora {

QWidget* SettingsWindow::buildTriage(QWidget* parent) {
    auto* group = new SettingsGroup(
        //: Settings section: how often Velmora samples memory.
        tr("Triage"), parent);
    group->setObjectName(QStringLiteral("triageGroup"));
    samplingLine_ = new SettingsLine(tr("Sampling"), group);
    group->body()->addWidget(samplingLine_);

    auto* cadence = new QHBoxLayout();
    cadence->addWidget(settingsCaption(tr("Refresh cadence"), group));
    cadence->addStretch();
    cadenceValue_ = new QLabel(group);
    cadenceValue_->setObjectName(QStringLiteral("refreshCadenceValue"));
    QFont valueFont = velmoraFont(TypeRole::metric, QFont::DemiBold);
    cadenceValue_->setFont(valueFont);
    cadence->addWidget(cadenceValue_);
    group->body()->addLayout(cadence);

    auto* controls = new QHBoxLayout();
    cadenceSlider_ = new QSlider(Qt::Horizontal, group);
    cadenceSlider_->setObjectName(QStringLiteral("refreshCadenceSlider"));
    // In half seconds.
    cadenceSlider_->setRange(static_cast<int>(minimumRefreshSeconds * 2),
                             static_cast<int>(maximumRefreshSeconds * 2));
    cadenceSlider_->setSingleStep(1);
    cadenceSlider_->setPageStep(1);
    controls->addWidget(cadenceSlider_, 1);
    cadenceStepper_ = new QDoubleSpinBox(group);
    cadenceStepper_->setObjectName(QStringLiteral("refreshCadenceStepper"));
    cadenceStepper_->setRange(minimumRefreshSeconds, maximumRefreshSeconds);
    cadenceStepper_->setSingleStep(0.5);
    cadenceStepper_->setDecimals(1);
    //: The unit after the refresh interval's number box, seconds (with its leading space).
    cadenceStepper_->setSuffix(tr(" s"));
    controls->addWidget(cadenceStepper_);
    group->body()->addLayout(controls);
    group->body()->addWidget(settingsCaption(tr("Faster sampling raises overhead."), group));

    connect(cadenceSlider_, &QSlider::sliderPressed, this,
            [this] { isAdjustingRefreshInterval_ = true; });
    connect(cadenceSlider_, &QSlider::sliderReleased, this, [this] {
        isAdjustingRefreshInterval_ = false;
        refreshFromSnapshot();
    });
    connect(cadenceSlider_, &QSlider::valueChanged, this, [this](int halves) {
        if (!updatingControls_) {
            setRefreshIntervalSeconds(halves / 2.0);
        }
    });
    connect(cadenceStepper_, &QDoubleSpinBox::valueChanged, this, [this](double seconds) {
        if (!updatingControls_) {
            setRefreshIntervalSeconds(seconds);
        }
    });
    return group;
}

QWidget* SettingsWindow::buildNotifications(QWidget* parent) {
    auto* group = new SettingsGroup(tr("Notifications"), parent);
    group->setObjectName(QStringLiteral("notificationsGroup"));
    notificationLevels_ = new QButtonGroup(group);
    notificationLevels_->setExclusive(true);
    // Which verdicts notify; "Probable" and "Suspect" are the verdicts of the same names.
    const std::pair<NotificationLevel, QString> levels[] = {
        {NotificationLevel::off, tr("Off")},
        {NotificationLevel::criticalOnly, tr("Critical only")},
        {NotificationLevel::probableAndUp, tr("Probable and up")},
        {NotificationLevel::suspectAndUp, tr("Suspect and up")}};
    for (const auto& [level, title] : levels) {
        auto* choice = new QRadioButton(title, group);
        choice->setObjectName(QStringLiteral("notificationLevel_") +
                              QString::fromLatin1(storedName(level)));
        notificationLevels_->addButton(choice, static_cast<int>(level));
        group->body()->addWidget(choice);
    }
    group->body()->addWidget(settingsCaption(
        //: "Off" is the first of the notification levels above.
        tr("Each incident notifies once, at most 3 in any 10 minutes. Memory about to run out and "
           "processes ended by the out-of-memory killer notify at every level except Off."),
        group));
    connect(notificationLevels_, &QButtonGroup::idClicked, this, [this](int id) {
        notifications_.settings->set(settingsKeys::notificationLevel,
                                     static_cast<NotificationLevel>(id));
        refreshNotificationLevel();
    });

    auto* test = new QHBoxLayout();
    testNotificationButton_ = new QPushButton(tr("Send a test notification"), group);
    testNotificationButton_->setObjectName(QStringLiteral("testNotificationButton"));
    testNotificationButton_->setEnabled(static_cast<bool>(notifications_.sendTest));
    test->addWidget(testNotificationButton_);
    test->addStretch();
    group->body()->addLayout(test);
    testNotificationResult_ = settingsCaption({}, group);
    testNotificationResult_->setObjectName(QStringLiteral("testNotificationResult"));
    testNotificationResult_->hide();
    group->body()->addWidget(testNotificationResult_);
    connect(testNotificationButton_, &QPushButton::clicked, this, [this] {
        if (!notifications_.sendTest) {
            return;
        }
        QPointer<QLabel> result = testNotificationResult_;
        notifications_.sendTest([result](bool shown) {
            if (result) {
                result->setText(shown ? tr("Sent.")
                                      : tr("No notification service answered on this desktop."));
                result->show();
            }
        });
    });
    return group;
}

void SettingsWindow::refreshNotificationLevel() {
    const int level =
        static_cast<int>(notifications_.settings->get(settingsKeys::notificationLevel));
    if (auto* choice = notificationLevels_->button(level); choice && !choice->isChecked()) {
        choice->setChecked(true);
    }
}

QWidget* SettingsWindow::buildStorage(QWidget* parent) {
    auto* group = new SettingsGroup(tr("Storage & Evidence"), parent);
    group->setObjectName(QStringLiteral("storageGroup"));
    group->body()->addWidget(settingsCaption(tr("Storage preset"), group));
    auto* segments = new QHBoxLayout();
    segments->setSpacing(0);
    storageModes_ = new QButtonGroup(group);
    storageModes_->setExclusive(true);
    // How much history and evidence the monitor keeps: three segments of one control.
    const std::tuple<SettingsStorageMode, const char*, QString> modes[] = {
        {SettingsStorageMode::low, "Low", tr("Low")},
        {SettingsStorageMode::balanced, "Balanced", tr("Balanced")},
        //: Storage preset that keeps the most for a deep investigation.
        {SettingsStorageMode::deepInvestigation, "Deep", tr("Deep")}};
    for (const auto& [mode, name, title] : modes) {
        auto* button = new QPushButton(title, group);
        button->setObjectName(QStringLiteral("storageMode") + QString::fromLatin1(name));
        button->setCheckable(true);
        storageModes_->addButton(button, static_cast<int>(mode));
        segments->addWidget(button);
    }
    group->body()->addLayout(segments);
    connect(storageModes_, &QButtonGroup::idClicked, this, [this](int id) {
        viewModel_->updateStorageMode(static_cast<SettingsStorageMode>(id));
        refreshFromSnapshot();
    });

    evidenceToggle_ = new QCheckBox(
        //: Whether the monitor saves evidence (bounded in size) by itself when a leak is found.
        tr("Auto-capture wrapped evidence"), group);
    evidenceToggle_->setObjectName(QStringLiteral("evidenceCaptureToggle"));
    group->body()->addWidget(evidenceToggle_);
    evidenceCaption_ = settingsCaption({}, group);
    evidenceCaption_->setObjectName(QStringLiteral("evidenceCaptureCaption"));
    group->body()->addWidget(evidenceCaption_);
    connect(evidenceToggle_, &QCheckBox::toggled, this, [this](bool on) {
        if (!updatingControls_) {
            viewModel_->updateEvidenceCaptureEnabled(on);
            refreshFromSnapshot();
        }
    });

    auto* details = new DisclosureGroup(tr("Advanced storage details"), group);
    details->setObjectName(QStringLiteral("advancedStorageDetails"));
    budgetLine_ = new SettingsLine(
        //: The disk space the monitor may use.
        tr("Budget"), details);
    safetyLine_ = new SettingsLine(tr("Safety"), details);
    details->body()->addWidget(budgetLine_);
    details->body()->addWidget(safetyLine_);
    details->body()->addWidget(settingsCaption(
        //: How long each kind of record is kept.
        tr("Retention"), details));
    retentionList_ = new QLabel(details);
    retentionList_->setObjectName(QStringLiteral("retentionLines"));
    retentionList_->setTextFormat(Qt::PlainText);
    retentionList_->setWordWrap(true);
    retentionList_->setFont(velmoraFont(TypeRole::body));
    retentionList_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details->body()->addWidget(retentionList_);
    group->body()->addWidget(details);
    return group;
}

QWidget* SettingsWindow::buildPrivacy(QWidget* parent) {
    auto* group = new SettingsGroup(tr("Privacy & Trust"), parent);
    group->setObjectName(QStringLiteral("privacyGroup"));
    workspaceLine_ = new SettingsLine(
        //: Which project folders the monitor may look at.
        tr("Workspace scope"), group);
    group->body()->addWidget(workspaceLine_);
    auto* details = new DisclosureGroup(tr("Access details"), group);
    details->setObjectName(QStringLiteral("accessDetails"));
    trustClaims_ = new TrustAccessClaimsView(
        [this] { viewModel_->sendCommand(ShellCommand::openDataFolder); }, details);
    details->body()->addWidget(trustClaims_);
    group->body()->addWidget(details);
    return group;
}

} // namespace velmora
