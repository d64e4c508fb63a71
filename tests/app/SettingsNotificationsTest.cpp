// SPDX-License-Identifier: GPL-3.0-or-later
// The "Notifications" section of the Settings window's Monitor tab.
#include "WindowTestSupport.h"
#include "app/LaunchAtLogin.h"
#include "app/SettingsWindow.h"
#include "demo/MockVelmoraBackend.h"
#include "state/AppSettings.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "views/kit/VelmoraPalette.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;
using namespace std::chrono_literals;

namespace {

struct Fixture {
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<MemoryKeyValueStore> store = std::make_shared<MemoryKeyValueStore>();
    std::shared_ptr<AppSettings> settings = std::make_shared<AppSettings>(store);
    std::shared_ptr<PopoverViewModel> viewModel;
    std::unique_ptr<SettingsWindow> window;
    // The test notifications asked for, each waiting for the server's answer.
    std::vector<std::function<void(bool)>> tests;

    explicit Fixture(bool canSend) {
        viewModel = PopoverViewModel::create(
            std::make_shared<MockVelmoraBackend>(longTextSnapshot()), scheduler, {},
            std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
        scheduler->runPending();
        SettingsNotifications notifications{settings, {}};
        if (canSend) {
            notifications.sendTest = [this](std::function<void(bool)> done) {
                tests.push_back(std::move(done));
            };
        }
        window = std::make_unique<SettingsWindow>(
            viewModel, std::make_shared<LaunchAtLogin>(std::nullopt, false), "0.1.0",
            notifications);
        window->show();
        for (int pass = 0; pass < 10; ++pass) {
            QApplication::processEvents();
        }
    }
    template <class T> T* find(const QString& name) {
        auto* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QRadioButton* level(const char* name) {
        return find<QRadioButton>(QStringLiteral("notificationLevel_") + QLatin1String(name));
    }
};

} // namespace

// The four levels in order, the stored one checked (the default when nothing is stored); a
// choice is stored at once and a window opened later shows it.
TEST(SettingsNotifications, TheLevelIsShownAndStored) {
    Fixture f(true);
    auto* group = f.find<QWidget>(QStringLiteral("notificationsGroup"));
    QStringList titles;
    for (const auto* choice : group->findChildren<QRadioButton*>()) {
        titles << choice->text();
    }
    EXPECT_EQ(titles, (QStringList{"Off", "Critical only", "Probable and up", "Suspect and up"}));
    EXPECT_TRUE(f.level("probable")->isChecked());

    f.level("off")->click();
    EXPECT_EQ(f.settings->get(settingsKeys::notificationLevel), NotificationLevel::off);
    EXPECT_EQ(f.store->value(std::string(settingsKeys::notificationLevel.key)),
              std::optional<StoredValue>(std::string("off")));
    EXPECT_FALSE(f.level("probable")->isChecked());
    f.level("suspect")->click();
    EXPECT_EQ(f.settings->get(settingsKeys::notificationLevel), NotificationLevel::suspectAndUp);

    f.settings->set(settingsKeys::notificationLevel,
                    NotificationLevel::criticalOnly); // stored by an earlier window
    f.window->hide();
    f.window->show();
    EXPECT_TRUE(f.level("critical")->isChecked());
}

// "Send a test notification" asks once per press and says what came of it; without a way to
// send (a self-check) the button is disabled.
TEST(SettingsNotifications, TheTestButtonSendsAndReportsTheOutcome) {
    Fixture f(true);
    auto* button = f.find<QPushButton>(QStringLiteral("testNotificationButton"));
    auto* result = f.find<QLabel>(QStringLiteral("testNotificationResult"));
    ASSERT_TRUE(button->isEnabled());
    EXPECT_TRUE(result->isHidden());
    button->click();
    ASSERT_EQ(f.tests.size(), 1u);
    f.tests[0](false);
    EXPECT_FALSE(result->isHidden());
    EXPECT_EQ(result->text(), "No notification service answered on this desktop.");
    button->click();
    ASSERT_EQ(f.tests.size(), 2u);
    f.tests[1](true);
    EXPECT_EQ(result->text(), "Sent.");

    Fixture silent(false);
    EXPECT_FALSE(silent.find<QPushButton>(QStringLiteral("testNotificationButton"))->isEnabled());
}

// At the window's size, light and dark, the section's texts fit, stand out and stay inside
// the page, with the outcome line shown; the picture is kept for a look.
TEST(SettingsNotifications, TheSectionFitsInLightAndDark) {
    Fixture f(true);
    f.window->resize(SettingsWindow::windowWidth, SettingsWindow::preferredWindowHeight);
    f.find<QPushButton>(QStringLiteral("testNotificationButton"))->click();
    f.tests.at(0)(false);
    auto* group = f.find<QWidget>(QStringLiteral("notificationsGroup"));
    auto* page = f.find<QScrollArea>(QStringLiteral("monitorPage"));
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        for (int pass = 0; pass < 10; ++pass) {
            QApplication::processEvents();
        }
        page->ensureWidgetVisible(group, 0, 0);
        QApplication::processEvents();
        const char* where = dark ? "dark" : "light";
        EXPECT_EQ(report(clippedTexts(f.window.get())), "") << where;
        EXPECT_EQ(report(misplacedChildren(f.window.get())), "") << where;
        EXPECT_EQ(report(illegibleTexts(f.window.get())), "") << where;
        EXPECT_GT(group->height(), 0);
        QImage image(f.window->size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        f.window->render(&image);
        image.save(QStringLiteral(VELMORA_TEST_OUTPUT_DIR "/settings-notifications-%1.png")
                       .arg(QLatin1String(where)));
    }
    VelmoraPalette::setDark(false);
}
