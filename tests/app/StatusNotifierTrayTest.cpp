// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-ui's tray over StatusNotifierItem, for real: the app runs on a display of the test's
// own (Xvfb for X11, weston's headless backend for Wayland) with a private session bus, on
// which the test is the tray (a watcher and host of its own). What the tests see is what a
// panel sees: the item's registration, tooltip, icon and menu, and Activate.
#include "FakeStatusNotifierWatcher.h"
#include "PrivateSessionBus.h"
#include "StatusNotifierItemProbe.h"
#include "TestDisplay.h"
#include "WaitUntil.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace velmora::testing;

namespace {

const QString quitLabel = QStringLiteral("Quit Velmora");

// velmora-ui in its normal mode with a throw-away home and session of its own, its standard
// error collected as it comes.
class RunningApp {
public:
    RunningApp(const TestDisplay& display, const QString& busAddress, const QString& folder) {
        auto environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP",
                                     "DESKTOP_SESSION", "QT_QPA_PLATFORMTHEME"}) {
            environment.remove(QString::fromLatin1(variable));
        }
        for (const char* variable :
             {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
            const QString path = folder + QLatin1Char('/') + QString::fromLatin1(variable);
            QDir().mkpath(path);
            environment.insert(QString::fromLatin1(variable), path);
        }
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder + QStringLiteral("/run"));
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        environment.insert(QStringLiteral("VELMORA_BACKEND_BIN"),
                           QStringLiteral(VELMORA_SESSION_BACKEND));
        display.applyTo(environment);
        process_.setProcessEnvironment(environment);
        process_.setProgram(QStringLiteral(VELMORA_UI));
        process_.setStandardOutputFile(QProcess::nullDevice());
        QObject::connect(&process_, &QProcess::readyReadStandardError, [this] {
            log_ += QString::fromLocal8Bit(process_.readAllStandardError());
        });
        process_.start();
    }
    ~RunningApp() { stopProcess(process_); }

    bool logged(const QString& line, int timeoutMs = 5000) {
        return waitUntil([&] { return log_.contains(line); }, timeoutMs);
    }
    bool ended(int timeoutMs = 5000) {
        return waitUntil([&] { return process_.state() == QProcess::NotRunning; }, timeoutMs);
    }
    int exitCode() const { return process_.exitCode(); }
    const QString& log() const { return log_; }

private:
    QProcess process_;
    QString log_;
};

// A display, a private session bus, a home and the tray's probe: everything but the watcher,
// which each test brings when it wants one.
class StatusNotifierTrayTest : public ::testing::TestWithParam<TestDisplay::Kind> {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::daemonInstalled()) {
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus-daemon)";
        }
        ASSERT_TRUE(folder_.isValid());
        runtime_ = folder_.path() + QStringLiteral("/run");
        ASSERT_TRUE(QDir().mkpath(runtime_));
        QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        display_ = std::make_unique<TestDisplay>(GetParam(), runtime_);
        if (!display_->unavailable().isEmpty()) {
            GTEST_SKIP() << display_->unavailable().toStdString();
        }
        ASSERT_FALSE(bus_.address().isEmpty()) << "dbus-daemon did not start";
        probeBus_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(bus_.address(), QStringLiteral("tray-probe")));
        probe_ = std::make_unique<StatusNotifierItemProbe>(*probeBus_);
    }
    void TearDown() override {
        app_.reset();
        watcher_.reset();
        probe_.reset();
        probeBus_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("tray-probe"));
    }

    void startWatcher() {
        watcher_ = std::make_unique<FakeStatusNotifierWatcher>(bus_.address());
        ASSERT_TRUE(watcher_->isServing());
    }
    void startApp() {
        app_ = std::make_unique<RunningApp>(*display_, bus_.address(), folder_.path());
    }
    // Waits for velmora-ui's item with the watcher there now and reads it from then on.
    bool itemRegistered(int timeoutMs = 5000) {
        if (!waitUntil([&] { return !watcher_->registeredItems().isEmpty(); }, timeoutMs)) {
            return false;
        }
        probe_->setItem(watcher_->registeredItems().constLast());
        return true;
    }
    // A StatusNotifierItem host tells no icon geometry: under X11 the popover opens at the
    // pointer (which has just clicked the icon).
    QString openedPopoverLine() const {
        return GetParam() == TestDisplay::Kind::wayland
                   ? QStringLiteral("the popover opens where the compositor places it")
                   : QStringLiteral("the popover opens at the pointer");
    }

    // With VELMORA_E2E_SCREENSHOTS=DIR, the Wayland screen is saved as DIR/NAME.png once the
    // window has had a moment to draw (pictures for the README; no check depends on them).
    void picture(const QString& name) {
        const QString folder = qEnvironmentVariable("VELMORA_E2E_SCREENSHOTS");
        if (folder.isEmpty() || GetParam() != TestDisplay::Kind::wayland) {
            return;
        }
        waitUntil([] { return false; }, 1500);
        QDir().mkpath(folder);
        EXPECT_TRUE(
            display_->screenshot(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
    }

    QTemporaryDir folder_;
    QString runtime_;
    std::unique_ptr<TestDisplay> display_;
    PrivateSessionBus bus_;
    std::unique_ptr<QDBusConnection> probeBus_;
    std::unique_ptr<StatusNotifierItemProbe> probe_;
    std::unique_ptr<FakeStatusNotifierWatcher> watcher_;
    std::unique_ptr<RunningApp> app_;
};

TEST_P(StatusNotifierTrayTest, TheItemFollowsTheMonitorOpensThePopoverAndQuitsFromItsMenu) {
    startWatcher();
    startApp();
    ASSERT_TRUE(itemRegistered()) << app_->log().toStdString();
    EXPECT_TRUE(app_->logged(QStringLiteral("showing Velmora in the tray (StatusNotifierItem)")));

    // The monitor's first answer (three suspects) reaches the tooltip and redraws the icon.
    EXPECT_TRUE(waitUntil([&] { return probe_->toolTip().contains(QStringLiteral("SUSPECTS")); }))
        << probe_->toolTip().toStdString();
    EXPECT_TRUE(
        waitUntil([&] { return probe_->toolTipChanges() > 0 && probe_->iconChanges() > 0; }));
    EXPECT_FALSE(probe_->iconPixels().isEmpty());

    ASSERT_TRUE(probe_->activate());
    EXPECT_TRUE(app_->logged(openedPopoverLine())) << app_->log().toStdString();

    QStringList labels;
    for (const auto& entry : probe_->menu()) {
        labels << entry.label;
    }
    EXPECT_TRUE(labels.contains(QStringLiteral("Settings\u2026")))
        << labels.join(u'|').toStdString();
    const auto quit = probe_->menuEntryId(quitLabel);
    ASSERT_TRUE(quit.has_value()) << labels.join(u'|').toStdString();
    EXPECT_TRUE(probe_->clickMenuEntry(*quit));
    ASSERT_TRUE(app_->ended());
    EXPECT_EQ(app_->exitCode(), 0);
}

TEST_P(StatusNotifierTrayTest, WithoutATrayTheWindowShowsAndALateWatcherTakesTheIcon) {
    startApp();
    EXPECT_TRUE(app_->logged(QStringLiteral("showing Velmora in a window")))
        << app_->log().toStdString();
    picture(QStringLiteral("app-wayland-no-tray"));
    startWatcher();
    ASSERT_TRUE(itemRegistered()) << app_->log().toStdString();
    ASSERT_TRUE(probe_->activate());
    EXPECT_TRUE(app_->logged(openedPopoverLine())) << app_->log().toStdString();
    picture(QStringLiteral("app-wayland-tray"));
}

TEST_P(StatusNotifierTrayTest, AWatcherThatRestartsGetsTheItemAgain) {
    startWatcher();
    startApp();
    ASSERT_TRUE(itemRegistered()) << app_->log().toStdString();
    const QString first = watcher_->registeredItems().constLast();

    // The panel restarts: its watcher drops the name and a new one, under another owner,
    // takes it.
    watcher_.reset();
    startWatcher();
    ASSERT_TRUE(itemRegistered()) << app_->log().toStdString();
    EXPECT_TRUE(probe_->toolTip().startsWith(QStringLiteral("Velmora")));
    ASSERT_TRUE(probe_->activate());
    EXPECT_TRUE(app_->logged(openedPopoverLine())) << app_->log().toStdString();
    EXPECT_FALSE(app_->log().contains(QStringLiteral("showing Velmora in a window")));
}

INSTANTIATE_TEST_SUITE_P(Displays, StatusNotifierTrayTest,
                         ::testing::Values(TestDisplay::Kind::x11, TestDisplay::Kind::wayland),
                         [](const auto& info) {
                             return info.param == TestDisplay::Kind::x11 ? "X11" : "Wayland";
                         });

} // namespace
